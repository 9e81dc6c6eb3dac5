// The grid on screen: hit test, item bounds, the two notifications, pixels, and idleness.
#include "gridkit_fixture.h"

#include "grid/grid_control.h"
#include "gridgauge/host/system_colors.h"
#include "gridgauge/markup/markup.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QWheelEvent>

using report::Grid;

namespace {

struct Metrics {
    int header;
    int row;
};

Metrics metrics() {
    report::Grid probe;
    return {probe.headerHeight(), probe.rowHeight()};
}

QColor gridLineColor(const report::Grid& grid) {
    QStyleOption option;
    option.initFrom(&grid);
    return QColor::fromRgba(
        QRgb(grid.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &grid)));
}

// Pixels in rect whose colour is far from background: text, lines, bevels.
int ink(const QImage& image, const QRect& rect, const QColor& background) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                    std::abs(c.blue() - background.blue()) >
                120)
                ++count;
        }
    }
    return count;
}

void wheelDown(QWidget* viewport) {
    const QPointF at(50, 50);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

} // namespace

class TestGridView : public QObject {
    Q_OBJECT

private slots:
    void hitTestNamesWhatLiesUnderAPoint_data();
    void hitTestNamesWhatLiesUnderAPoint();
    void itemBoundsFollowScrollingAndWidths_data();
    void itemBoundsFollowScrollingAndWidths();
    void everyScrollRaisesViewScrolled_data();
    void everyScrollRaisesViewScrolled();
    void nothingIsRaisedWhenNoCellMoves_data();
    void nothingIsRaisedWhenNoCellMoves();
    void widthChangesByCodeRaiseColumnWidthChanged();
    void gridShowsHeadersButtonsCheckBoxLinesAndBelowRowsColour();
    void narrowColumnElidesPlainCaption_data();
    void narrowColumnElidesPlainCaption();
    void linesStayCrispAtTwiceThePixelRatio();
    void markupCaptionsRenderOnlyWhenEnabled();
    void settledGridDoesNotRepaintByItself();
};

void TestGridView::hitTestNamesWhatLiesUnderAPoint_data() {
    QTest::addColumn<bool>("groupBox");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("column"); // position, -1 for none
    QTest::addColumn<int>("row");    // -1 for none
    QTest::addColumn<bool>("item");
    const auto [H, R] = metrics();
    // The fixture's grid is 460 x 300: columns end at 400, twelve rows end at H + 12 R < 300.
    QTest::newRow("header") << false << QPoint(250, H / 2) << true << 2 << -1 << false;
    QTest::newRow("cell") << false << QPoint(150, H + 3 * R + R / 2) << true << 1 << 3 << true;
    QTest::newRow("first pixel of a row") << false << QPoint(0, H) << true << 0 << 0 << true;
    QTest::newRow("last pixel of a row")
        << false << QPoint(99, H + R - 1) << true << 0 << 0 << true;
    QTest::newRow("first pixel of a column") << false << QPoint(100, H) << true << 1 << 0 << true;
    QTest::newRow("below the rows")
        << false << QPoint(50, H + 12 * R + 2) << true << 0 << -1 << false;
    QTest::newRow("right of the columns")
        << false << QPoint(420, H + 1) << true << -1 << 0 << false;
    QTest::newRow("left of the grid") << false << QPoint(-1, 50) << false << -1 << -1 << false;
    QTest::newRow("under the grid") << false << QPoint(50, 300) << false << -1 << -1 << false;
    QTest::newRow("right of the grid") << false << QPoint(460, 50) << false << -1 << -1 << false;
    QTest::newRow("group box") << true << QPoint(50, 2) << true << -1 << -1 << false;
}

void TestGridView::hitTestNamesWhatLiesUnderAPoint() {
    QFETCH(bool, groupBox);
    QFETCH(QPoint, point);
    QFETCH(bool, present);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, item);
    gridtest::Shown shown;
    shown.grid->setGroupBoxVisible(groupBox);
    const auto hit = shown.grid->hitTest(point.x(), point.y());
    QCOMPARE(hit.has_value(), present);
    if (!present)
        return;
    QCOMPARE(hit->column().has_value(), column >= 0);
    if (column >= 0)
        QVERIFY(*hit->column() == shown.grid->columns().column(column));
    QCOMPARE(hit->row() ? hit->row()->index() : -1, row);
    QCOMPARE(hit->item().has_value(), item);
    if (item) {
        QCOMPARE(hit->item()->index(), hit->column()->index());
        QCOMPARE(hit->item()->record().index(), row);
    }
}

void TestGridView::itemBoundsFollowScrollingAndWidths_data() {
    QTest::addColumn<int>("scrollX");
    QTest::addColumn<int>("scrollY");
    QTest::addColumn<int>("width0"); // column 0's width, -1 to leave it
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("item");
    QTest::addColumn<QRect>("expected"); // left, top, right, bottom as a rectangle's corners
    const auto [H, R] = metrics();
    const auto box = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
    QTest::newRow("unscrolled") << 0 << 0 << -1 << 2 << 1 << box(100, H + 2 * R, 200, H + 3 * R);
    QTest::newRow("scrolled down")
        << 0 << 30 << -1 << 2 << 1 << box(100, H + 2 * R - 30, 200, H + 3 * R - 30);
    QTest::newRow("scrolled right")
        << 45 << 0 << -1 << 2 << 3 << box(255, H + 2 * R, 355, H + 3 * R);
    QTest::newRow("row above the view")
        << 0 << 3 * R << -1 << 0 << 0 << box(0, H - 3 * R, 100, H - 2 * R);
    QTest::newRow("column 0 narrowed")
        << 0 << 0 << 60 << 2 << 1 << box(60, H + 2 * R, 160, H + 3 * R);
    QTest::newRow("column 0 emptied") << 0 << 0 << 0 << 1 << 0 << box(0, H + R, 0, H + 2 * R);
    QTest::newRow("column 0 widened, scrolled")
        << 20 << 10 << 130 << 4 << 2 << box(210, H + 4 * R - 10, 310, H + 5 * R - 10);
}

void TestGridView::itemBoundsFollowScrollingAndWidths() {
    QFETCH(int, scrollX);
    QFETCH(int, scrollY);
    QFETCH(int, width0);
    QFETCH(int, row);
    QFETCH(int, item);
    QFETCH(QRect, expected);
    gridtest::Shown shown(QSize(260, 150)); // small enough to scroll both ways
    if (width0 >= 0)
        shown.grid->columns().column(0).setWidth(width0);
    shown.grid->horizontalScrollBar()->setValue(scrollX);
    shown.grid->verticalScrollBar()->setValue(scrollY);
    QCOMPARE(shown.grid->horizontalScrollBar()->value(), scrollX);
    QCOMPARE(shown.grid->verticalScrollBar()->value(), scrollY);
    qint32 l = 0, t = 0, r = 0, b = 0;
    const report::Row gridRow = shown.grid->rows().row(row);
    gridRow.itemBounds(gridRow.record().item(item), l, t, r, b);
    QCOMPARE(QRect(QPoint(l, t), QPoint(r, b)), expected);
    QCOMPARE(r - l, shown.grid->columns().find(item)->width());
}

void TestGridView::everyScrollRaisesViewScrolled_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("times");
    QTest::newRow("wheel") << 0 << 2;
    QTest::newRow("vertical bar step") << 1 << 3;
    QTest::newRow("horizontal bar page") << 2 << 1;
    QTest::newRow("page down key") << 3 << 2;
    QTest::newRow("arrow down past the view, by cell") << 4 << 1;
    QTest::newRow("resize that pulls the offset back") << 5 << 1;
}

void TestGridView::everyScrollRaisesViewScrolled() {
    QFETCH(int, action);
    QFETCH(int, times);
    gridtest::Shown shown(QSize(260, 150));
    report::Grid& grid = *shown.grid;
    grid.setCellFocus(true);
    if (action == 4)
        gridtest::mouseClick(gridtest::pointer(grid), Qt::LeftButton, {}, shown.centre(3, 0));
    if (action == 5)
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    gridtest::Recorder recorder(grid);
    int offsetChanges = 0;
    for (QScrollBar* bar : {grid.horizontalScrollBar(), grid.verticalScrollBar()})
        QObject::connect(bar, &QScrollBar::valueChanged, [&] { ++offsetChanges; });
    for (int i = 0; i < times; ++i) {
        switch (action) {
        case 0:
            wheelDown(grid.viewport());
            break;
        case 1:
            grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case 2:
            grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case 3:
            QTest::keyClick(&grid, Qt::Key_PageDown);
            break;
        case 4:
            for (int k = 0; k < 4; ++k) // row 3 is visible; a few rows further down is not
                QTest::keyClick(&grid, Qt::Key_Down);
            break;
        case 5:
            grid.resize(260, 240);
            break;
        }
    }
    QVERIFY(offsetChanges >= times);
    // One notification for each change of the offset, at once, and nothing else.
    QCOMPARE(recorder.withoutMoves(), QStringList(offsetChanges, QStringLiteral("scrolled")));
}

void TestGridView::nothingIsRaisedWhenNoCellMoves_data() {
    QTest::addColumn<int>("action");
    QTest::newRow("rebuild") << 0;
    QTest::newRow("caption write") << 1;
    QTest::newRow("repaint") << 2;
    QTest::newRow("resize that moves no cell") << 3;
    QTest::newRow("records added and rebuilt") << 4;
    QTest::newRow("width set to what it is") << 5;
    QTest::newRow("check by code") << 6;
}

void TestGridView::nothingIsRaisedWhenNoCellMoves() {
    QFETCH(int, action);
    gridtest::Shown shown(QSize(460, 200));
    report::Grid& grid = *shown.grid;
    gridtest::Recorder recorder(grid);
    const QRect before = shown.bounds(3, 2);
    switch (action) {
    case 0:
        grid.rebuild();
        break;
    case 1:
        grid.rows().row(2).record().item(1).setCaption("written");
        break;
    case 2:
        grid.redraw();
        grid.grab();
        break;
    case 3:
        grid.resize(500, 260);
        break;
    case 4:
        for (int r = 0; r < 50; ++r)
            grid.records().add().addItem("more");
        grid.rebuild();
        break;
    case 5:
        grid.columns().column(1).setWidth(gridtest::ColumnWidth);
        break;
    case 6:
        grid.rows().row(2).record().item(2).setChecked(true);
        break;
    }
    QCoreApplication::processEvents();
    QCOMPARE(recorder.log, QStringList());
    QCOMPARE(shown.bounds(3, 2), before);
}

void TestGridView::widthChangesByCodeRaiseColumnWidthChanged() {
    gridtest::Shown shown;
    gridtest::Recorder recorder(*shown.grid);
    report::Column column = shown.grid->columns().column(1);
    column.setWidth(150);
    column.setWidth(3); // code is not held to the user's minimum
    QCOMPARE(recorder.log, (QStringList{"width 1 100 150", "width 1 150 3"}));
    QCOMPARE(shown.bounds(0, 2).left(), 103);
}

void TestGridView::gridShowsHeadersButtonsCheckBoxLinesAndBelowRowsColour() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.appearance().setBelowRowsColor(host::colors::ButtonFace);
    const auto [H, R] = metrics();
    const QColor base = grid.palette().color(QPalette::Base);
    const QImage unchecked = gridtest::shot(grid);

    // Header captions: text in the left part of each section, against the section's own colour.
    for (int c = 0; c < gridtest::Columns; ++c) {
        const QColor face = unchecked.pixelColor(c * 100 + 90, H / 2);
        QVERIFY2(ink(unchecked, QRect(c * 100 + 2, 2, 60, H - 4), face) > 15,
                 qPrintable(QStringLiteral("header %1 has no caption").arg(c)));
    }
    // Buttons: a bevel that is not the row's colour, and a caption inside it.
    for (int item : {0, 2}) {
        const QRect button = shown.bounds(1, item).adjusted(1, 1, -1, -1);
        const QColor face = unchecked.pixelColor(button.left() + 5, button.center().y());
        QVERIFY(face != base);
        QVERIFY2(ink(unchecked, button.adjusted(4, 3, -4, -3), face) > 15, "button caption");
    }
    // The check box: an indicator at the cell's left that changes when ticked.
    const QRect cell = shown.bounds(2, 2);
    const QRect indicator(cell.left() + 2, cell.top() + 2, 14, cell.height() - 4);
    QVERIFY(ink(unchecked, indicator, base) > 10);
    grid.rows().row(2).record().item(2).setChecked(true);
    const QImage checked = gridtest::shot(grid);
    QVERIFY(checked.copy(indicator) != unchecked.copy(indicator));
    QVERIFY2(ink(unchecked, QRect(indicator.right() + 3, cell.top() + 3, 30, R - 6), base) > 10,
             "check box caption");
    // Grid lines on the last pixel of each cell, none inside.
    const QColor line = gridLineColor(grid);
    QCOMPARE(unchecked.pixelColor(99, H + 5 * R + 5), line);
    QCOMPARE(unchecked.pixelColor(50, H + 5 * R - 1), line);
    QCOMPARE(unchecked.pixelColor(98, H + 5 * R + 5), base);
    // Below the last row: the colour asked for.
    QCOMPARE(unchecked.pixelColor(200, H + 12 * R + 10),
             host::colors::resolve(host::colors::ButtonFace, grid.palette()));
}

void TestGridView::narrowColumnElidesPlainCaption_data() {
    QTest::addColumn<bool>("focusedRow");
    QTest::newRow("a row without focus") << false;
    QTest::newRow("the focused, highlighted row") << true;
}

void TestGridView::narrowColumnElidesPlainCaption() {
    QFETCH(bool, focusedRow);
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    const QString caption = QStringLiteral("A caption far too long for its column");
    grid.columns().column(1).setWidth(70);
    grid.rows().row(4).record().item(1).setCaption(caption);
    if (focusedRow)
        grid.setFocusedCell({4, 1});
    const QRect cell = shown.bounds(4, 1);
    const QImage image = gridtest::shot(grid);

    // What the caption should look like: elided into the cell less 2 pixels each side, in the
    // text colour of its row's background.
    const QPalette& palette = grid.palette();
    QImage expected(cell.size(), QImage::Format_RGB32);
    expected.fill(
        palette.color(QPalette::Inactive, focusedRow ? QPalette::Highlight : QPalette::Base));
    {
        QPainter painter(&expected);
        painter.setFont(grid.font());
        painter.setPen(palette.color(QPalette::Inactive,
                                     focusedRow ? QPalette::HighlightedText : QPalette::Text));
        const QRect box(2, 0, cell.width() - 4, cell.height());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(caption, Qt::ElideRight, box.width()));
    }
    // Compare all but the grid lines on the cell's last column and row.
    const QRect inside(0, 0, cell.width() - 1, cell.height() - 1);
    QCOMPARE(image.copy(cell).copy(inside), expected.copy(inside));
    QVERIFY(grid.fontMetrics().horizontalAdvance(caption) > cell.width()); // it did need eliding
}

void TestGridView::linesStayCrispAtTwiceThePixelRatio() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    QImage image(grid.size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    grid.render(&image);
    const auto [H, R] = metrics();
    const QColor line = gridLineColor(grid);
    const QColor base = grid.palette().color(QPalette::Base);
    const int y = 2 * (H + 6 * R + R / 2);
    // The line at logical x = 199 covers device pixels 398 and 399, and nothing either side.
    QCOMPARE(image.pixelColor(398, y), line);
    QCOMPARE(image.pixelColor(399, y), line);
    QCOMPARE(image.pixelColor(397, y), base);
    QCOMPARE(image.pixelColor(400, y), base);
}

void TestGridView::markupCaptionsRenderOnlyWhenEnabled() {
    const QString bar = QStringLiteral(
        "<Border Width='60' Height='14' BorderThickness='1' BorderBrush='#FF0000'>"
        "<Border.Background><LinearGradientBrush StartPoint='0,0' EndPoint='1,0'>"
        "<GradientStop Color='#00C000' Offset='0'/><GradientStop Color='#00C000' Offset='1'/>"
        "</LinearGradientBrush></Border.Background></Border>");
    // A parser that refuses this text leaves nothing to tell markup on from off: a failure.
    QVERIFY2(gridgauge::markup::parse(bar), "the markup engine does not read the bar");
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.rows().row(5).record().item(1).setCaption(bar);
    const QRect cell = shown.bounds(5, 1);
    const auto greenPixels = [&] {
        const QImage image = gridtest::shot(grid);
        int count = 0;
        for (int y = cell.top(); y < cell.bottom(); ++y) {
            for (int x = cell.left(); x < cell.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.green() > 150 && c.red() < 80 && c.blue() < 80;
            }
        }
        return count;
    };
    QCOMPARE(greenPixels(), 0); // off: the text is shown as text
    grid.setMarkupEnabled(true);
    QVERIFY(greenPixels() > 200);
}

void TestGridView::settledGridDoesNotRepaintByItself() {
    gridtest::Shown shown;
    shown.grid->setCellFocus(true);
    shown.grid->setFocus();
    gridtest::mouseClick(gridtest::pointer(shown), Qt::LeftButton, {}, shown.centre(2, 2));
    QTest::qWait(50);
    gridtest::PaintRecorder recorder(shown.viewport());
    QTest::qWait(1000);
    QCOMPARE(recorder.paints(), 0);
    // and the recorder does see a paint when there is one
    shown.grid->rows().row(0).record().item(0).setCaption("changed");
    QTRY_VERIFY(recorder.paints() > 0);
}

QTEST_MAIN(TestGridView)
#include "test_gridkit_view.moc"
