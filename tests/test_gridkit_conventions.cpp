// What a Qt user expects of a view, met through the top-level window as a pointer and keys meet it:
// a focus frame that shows, a double click on a header divider fitting its column, and tooltips
// that tell what a header click does or what a cell shows cut off.
#include "gridkit_fixture.h"

#include <QPixmapCache>
#include <QToolTip>

using report::Grid;

namespace {

QWindow* window(const gridtest::Shown& shown) {
    return shown.grid->windowHandle();
}

int distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// The part of each image the two have in common differs somewhere.
bool differs(const QImage& a, const QImage& b, const QRect& area) {
    return a.copy(area) != b.copy(area);
}

enum Fit { CellCaption, HeaderCaption, CheckBoxCaption, ButtonCaption, MarkupCaption };

// Writes a caption far too long for a 100-pixel column, and says where it shows, inside what a
// column of the given width paints of it (its insets and grid line left out).
QRect writeLongCaption(gridtest::Shown& shown, Fit what) {
    const QString text = QStringLiteral("A caption far too long for its column");
    report::Grid& grid = *shown.grid;
    switch (what) {
    case CellCaption:
        grid.rows().row(4).record().item(3).setCaption(text);
        return QRect(0, shown.bounds(4, 3).top(), 0, grid.rowHeight());
    case HeaderCaption:
        grid.columns().column(3).setCaption(text);
        return QRect(0, grid.headerSection(3).top() + 2, 0, grid.headerHeight() - 4);
    case CheckBoxCaption:
        grid.rows().row(2).record().item(2).setCaption(text);
        return QRect(0, shown.bounds(2, 2).top(), 0, grid.rowHeight());
    case MarkupCaption:
        grid.setMarkupEnabled(true);
        grid.rows().row(4).record().item(3).setCaption(
            "<TextBlock TextTrimming='CharacterEllipsis'>" + text + "</TextBlock>");
        return QRect(0, shown.bounds(4, 3).top(), 0, grid.rowHeight());
    case ButtonCaption: {
        report::ItemControl button = grid.rows().row(1).record().item(2).itemControls().at(0);
        button.setCaption(text);
        button.setAlignment(qint16(Qt::AlignLeft)); // where it starts does not hang on the width
        return QRect(0, shown.bounds(1, 2).top() + 4, 0, grid.rowHeight() - 8);
    }
    }
    return {};
}

// What the column shows of the caption at a width: from its left edge to 4 pixels short of its
// right one, which neither its padding nor its grid line nor a button's bevel reaches.
QImage shownAt(gridtest::Shown& shown, qint32 column, qint32 width, QRect band) {
    shown.grid->columns().column(column).setWidth(width);
    band.setLeft(shown.grid->headerSection(column).left() + 4);
    band.setRight(shown.grid->headerSection(column).left() + width - 5);
    return gridtest::shot(*shown.grid).copy(band);
}

} // namespace

class TestGridConventions : public QObject {
    Q_OBJECT

private slots:
    void focusFrameMovesWithTheArrowKeys_data();
    void focusFrameMovesWithTheArrowKeys();
    void focusFrameStandsOutOnAHighlightedRow();
    void focusFrameGoesRoundTheCellAtEachWidth_data();
    void focusFrameGoesRoundTheCellAtEachWidth();
    void doubleClickOnADividerFitsTheColumn_data();
    void doubleClickOnADividerFitsTheColumn();
    void toolTipsTellWhatIsCutOrWhatAClickDoes_data();
    void toolTipsTellWhatIsCutOrWhatAClickDoes();
};

void TestGridConventions::focusFrameMovesWithTheArrowKeys_data() {
    QTest::addColumn<bool>("highlightRow");
    QTest::addColumn<int>("row");
    QTest::newRow("a plain row") << false << 4;
    QTest::newRow("a highlighted row") << true << 4;
    QTest::newRow("onto a button") << true << 1; // Left from item 1 lands on the "Add" button
}

// A click focuses a cell without a frame; once keys act, the frame shows wherever they move it.
void TestGridConventions::focusFrameMovesWithTheArrowKeys() {
    QFETCH(bool, highlightRow);
    QFETCH(int, row);
    gridtest::Shown shown;
    shown.grid->setCellFocus(true);
    shown.grid->setHighlightFocusedRow(highlightRow);
    QTest::mouseClick(window(shown), Qt::LeftButton, {}, shown.centre(row, 1));
    QVERIFY(shown.grid->hasFocus());
    gridtest::settle();
    const QImage clicked = gridtest::shot(*shown.grid);
    QTest::keyClick(window(shown), Qt::Key_Left);
    QTest::keyClick(window(shown), Qt::Key_Right);
    gridtest::settle();
    const QImage before = gridtest::shot(*shown.grid);
    QVERIFY2(differs(clicked, before, shown.bounds(row, 1)), "keys showed no frame");
    QTest::keyClick(window(shown), Qt::Key_Left);
    QCOMPARE(shown.grid->focusedCell(), (report::CellAddress{row, 0}));
    gridtest::settle();
    const QImage after = gridtest::shot(*shown.grid);
    QVERIFY2(differs(before, after, shown.bounds(row, 0)), "no focus came to the cell");
    QVERIFY2(differs(before, after, shown.bounds(row, 1)), "the focus stayed on the cell left");
}

void TestGridConventions::focusFrameStandsOutOnAHighlightedRow() {
    gridtest::Shown shown;
    shown.grid->setCellFocus(true);
    const QRect cell = shown.bounds(5, 1); // empty: only the highlight and the frame show there
    QTest::mouseClick(window(shown), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(window(shown), Qt::Key_Right);
    QTest::keyClick(window(shown), Qt::Key_Left);
    gridtest::settle();
    const QImage image = gridtest::shot(*shown.grid);
    const QColor highlight = image.pixelColor(shown.bounds(5, 3).center()); // the row elsewhere
    QCOMPARE(highlight.rgb(),
             shown.grid->palette().color(QPalette::Active, QPalette::Highlight).rgb());
    // The frame runs along the cell's left edge, half way down.
    QVERIFY2(distance(image.pixelColor(cell.left(), cell.center().y()), highlight) > 60,
             "the focus frame hardly shows on the highlight");
}

void TestGridConventions::focusFrameGoesRoundTheCellAtEachWidth_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("narrower") << 60;
    QTest::newRow("as it was") << 100;
    QTest::newRow("wider") << 130;
}

// The frame drawn for the cell at one width is not the one it shows at another: after the
// column's width changes, the cell looks as it does in a grid that had that width from the start
// and drew nothing before.
void TestGridConventions::focusFrameGoesRoundTheCellAtEachWidth() {
    QFETCH(int, width);
    const auto focusedCell = [&](bool widenFirst) {
        gridtest::Shown shown;
        shown.grid->setCellFocus(true);
        if (widenFirst)
            shown.grid->columns().column(1).setWidth(width);
        QTest::mouseClick(window(shown), Qt::LeftButton, {}, shown.centre(5, 1));
        QTest::keyClick(window(shown), Qt::Key_Right);
        QTest::keyClick(window(shown), Qt::Key_Left);
        gridtest::settle();
        shown.grid->columns().column(1).setWidth(width);
        gridtest::settle();
        return gridtest::shot(*shown.grid).copy(shown.bounds(5, 1));
    };
    const QImage after = focusedCell(false);
    QPixmapCache::clear();
    const QImage fresh = focusedCell(true);
    QCOMPARE(after.width(), width);
    QCOMPARE(after, fresh);
}

void TestGridConventions::doubleClickOnADividerFitsTheColumn_data() {
    QTest::addColumn<int>("what");
    QTest::addColumn<int>("column");
    QTest::newRow("a cell's caption") << int(CellCaption) << 3;
    QTest::newRow("the header's caption") << int(HeaderCaption) << 3;
    QTest::newRow("a check box's caption") << int(CheckBoxCaption) << 2;
    QTest::newRow("a button's caption") << int(ButtonCaption) << 2;
    QTest::newRow("a markup caption's desired width") << int(MarkupCaption) << 3;
}

// Fitted, the column shows the caption as a much wider one does, and a pixel less cuts it.
void TestGridConventions::doubleClickOnADividerFitsTheColumn() {
    QFETCH(int, what);
    QFETCH(int, column);
    gridtest::Shown shown(QSize(800, 300));
    const QRect band = writeLongCaption(shown, Fit(what));
    gridtest::Recorder recorder(*shown.grid);
    const QPoint divider(shown.grid->headerSection(column).right(), shown.grid->headerHeight() / 2);
    QTest::mouseDClick(window(shown), Qt::LeftButton, {}, divider);
    const qint32 fitted = shown.grid->columns().column(column).width();
    QVERIFY(fitted > 100);
    QCOMPARE(recorder.withoutMoves().filter("width"),
             QStringList{QStringLiteral("width %1 100 %2").arg(column).arg(fitted)});
    const QImage whole = shownAt(shown, column, fitted, band);
    QCOMPARE(whole, shownAt(shown, column, fitted + 100, band).copy(whole.rect()));
    const QImage cut = shownAt(shown, column, fitted - 1, band);
    QVERIFY2(cut != shownAt(shown, column, fitted + 100, band).copy(cut.rect()),
             "a pixel narrower still shows it whole: the fit is too wide");
}

namespace {

enum Tip { CutCell, WholeCell, CutButton, HeaderSortingOff, HeaderSorting, CutHeader };

// Sets the grid up for a case and says where the pointer rests.
QPoint setUpTip(gridtest::Shown& shown, Tip tip) {
    report::Grid& grid = *shown.grid;
    grid.columns().column(2).setTooltip(QStringLiteral("Sort by two"));
    const QPoint header(grid.headerSection(2).center());
    switch (tip) {
    case CutCell:
        grid.rows().row(4).record().item(3).setCaption(QStringLiteral("Thanks to everyone here"));
        return shown.centre(4, 3);
    case WholeCell:
        grid.rows().row(4).record().item(3).setCaption(QStringLiteral("Thanks"));
        return shown.centre(4, 3);
    case CutButton:
        grid.rows().row(1).record().item(2).itemControls().at(0).setCaption(
            QStringLiteral("Remove every row there is"));
        return shown.centre(1, 2);
    case HeaderSortingOff:
        return header;
    case HeaderSorting:
        grid.setSortOnHeaderClick(true);
        return header;
    case CutHeader:
        grid.columns().column(2).setCaption(QStringLiteral("A header caption cut short"));
        return header;
    }
    return {};
}

} // namespace

void TestGridConventions::toolTipsTellWhatIsCutOrWhatAClickDoes_data() {
    QTest::addColumn<int>("tip");
    QTest::addColumn<QString>("text"); // empty: no tooltip
    QTest::newRow("a cell cut off") << int(CutCell) << "Thanks to everyone here";
    QTest::newRow("a cell shown whole") << int(WholeCell) << "";
    QTest::newRow("a button's caption cut off") << int(CutButton) << "Remove every row there is";
    QTest::newRow("a header while a click sorts nothing") << int(HeaderSortingOff) << "";
    QTest::newRow("a header while a click sorts") << int(HeaderSorting) << "Sort by two";
    QTest::newRow("a header cut off") << int(CutHeader) << "A header caption cut short";
}

// The pointer comes to rest, and Qt asks for the tooltip as it does for a person's.
void TestGridConventions::toolTipsTellWhatIsCutOrWhatAClickDoes() {
    QFETCH(int, tip);
    QFETCH(QString, text);
    QTRY_VERIFY(!QToolTip::isVisible()); // the last case's has gone
    gridtest::Shown shown;
    shown.grid->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.grid.get()));
    const QPoint at = setUpTip(shown, Tip(tip));
    QTest::mouseMove(window(shown), at - QPoint(1, 0));
    QTest::mouseMove(window(shown), at);
    if (text.isEmpty()) {
        QTest::qWait(1500); // beyond the delay before a tooltip shows
        QVERIFY2(!QToolTip::isVisible(), qPrintable(QToolTip::text()));
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), text, 3000);
        QVERIFY(QToolTip::isVisible());
    }
}

QTEST_MAIN(TestGridConventions)
#include "test_gridkit_conventions.moc"
