// ProgressDelegate in Qt's own table and tree views: the layered bar at the cell's size, the bar
// and its text following the range and the format in either look, the text readable over the
// fill and the track, values clamped and non-numbers left to Qt, a drag that follows the pointer
// anywhere until the release and writes through the model for every view, as the model takes it,
// and survives its cell, its model or its view going away; the editor's range, the settings.
#include "delegate_fixture.h"
#include "markup_samples.h"

#include "gridgauge/gridkit/progress_delegate.h"
#include "gridgauge/markup/markup.h"

#include <QAccessible>
#include <QIdentityProxyModel>
#include <QPainter>
#include <QSignalSpy>
#include <QSpinBox>

#include <cmath>
#include <limits>

using delegatetest::CellWidth;
using delegatetest::TreeWindow;
using delegatetest::Window;
using gridgauge::gridkit::ProgressDelegate;
using Look = gridgauge::gridkit::ProgressDelegate::Look;

namespace {

// Views whose every column draws with its own ProgressDelegate, and rows as high as the layered
// bar's track (16) with its padding.
struct Bars : Window {
    explicit Bars(int views = 1)
        : Window(6, 3, views) {
        for (int v = 0; v < views; ++v) {
            delegates.push_back(std::make_unique<ProgressDelegate>());
            view(v).setItemDelegate(delegates.back().get());
            view(v).verticalHeader()->setDefaultSectionSize(18);
        }
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c)
                model.setData(model.index(r, c), 10 * r + c);
    }
    int value(int row, int column) const { return model.index(row, column).data().toInt(); }
    // A point in the cell's row at dx from its left edge, in the window.
    QPoint in(int row, int column, int dx, int dy = 0, int v = 0) const {
        const QRect c = cell(row, column, v);
        return at(QPoint(c.left() + dx, c.center().y() + dy), v);
    }
    std::vector<std::unique_ptr<ProgressDelegate>> delegates;
};

// Counts what is written through it.
struct Writes : QIdentityProxyModel {
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        ++writes;
        return QIdentityProxyModel::setData(index, value, role);
    }
    int writes = 0;
};

QImage cellShot(Window& w, int row, int column, int v = 0) {
    return delegatetest::shot(w.viewport(v)).copy(w.cell(row, column, v));
}

// Models as strict as real ones: one that stores what it is given in Qt::EditRole alone, one
// that takes only doubles there, and one that takes nothing.
struct Strict : QStandardItemModel {
    enum Takes { EditRole, Doubles, Nothing };
    Strict(Takes takes, int rows)
        : QStandardItemModel(rows, 1)
        , takes(takes) {}
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (takes == Nothing || role != Qt::EditRole ||
            (takes == Doubles && value.typeId() != QMetaType::Double))
            return false;
        return QStandardItemModel::setData(index, value, role);
    }
    Takes takes;
};

// A tree view behind a sort proxy, its first column drawn by a ProgressDelegate.
struct Tree : TreeWindow {
    explicit Tree(QAbstractItemModel& model, Look look = Look::Style)
        : TreeWindow(model) {
        delegate.setLook(look);
        view->setItemDelegateForColumn(0, &delegate);
    }
    QImage cellShot(int column = 0) { return delegatetest::shot(viewport()).copy(cell(0, column)); }
    ProgressDelegate delegate;
};

// WCAG 2's relative luminance and contrast ratio.
double luminance(QRgb p) {
    const auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(p)) + 0.7152 * linear(qGreen(p)) + 0.0722 * linear(qBlue(p));
}

double contrast(QRgb a, QRgb b) {
    const double one = luminance(a), other = luminance(b);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

const char* nameOf(Look look) {
    return look == Look::Style ? "style" : "gradient";
}
} // namespace

class TestProgressDelegate : public QObject {
    Q_OBJECT

private slots:
    void barIsTheLayeredMarkupAtTheCellsSize_data();
    void barIsTheLayeredMarkupAtTheCellsSize();
    void valuesAreClampedAndNonNumbersLeftToQt_data();
    void valuesAreClampedAndNonNumbersLeftToQt();
    void dragSetsTheValueFromThePointerUntilTheRelease_data();
    void dragSetsTheValueFromThePointerUntilTheRelease();
    void itemsThatCannotTakeAValueIgnoreThePointer_data();
    void itemsThatCannotTakeAValueIgnoreThePointer();
    void aDragInOneViewShowsInAnother();
    void aDragOutlivesWhatHappensToItsCell_data();
    void aDragOutlivesWhatHappensToItsCell();
    void anotherValueRoleIsReadAndWritten();
    void rightToLeftGrowsAndDragsFromTheRight();
    void screenReaderReadsTheValue();
    void barAndTextFollowTheRangeAndFormat_data();
    void barAndTextFollowTheRangeAndFormat();
    void textReadsOnTheFillAndOnTheTrack_data();
    void textReadsOnTheFillAndOnTheTrack();
    void aDragWritesTheEditRoleAsTheModelTakesIt_data();
    void aDragWritesTheEditRoleAsTheModelTakesIt();
    void theEditorHasTheDelegatesRange_data();
    void theEditorHasTheDelegatesRange();
    void settingsNotifyOrAreRefusedWithAWarning_data();
    void settingsNotifyOrAreRefusedWithAWarning();
};

void TestProgressDelegate::barIsTheLayeredMarkupAtTheCellsSize_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("bar"); // the layered markup's, rounded half to even on a 96 track
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("25") << 25 << 24;
    QTest::newRow("57") << 57 << 55;
    QTest::newRow("75") << 75 << 72;
    QTest::newRow("100") << 100 << 96;
}

// A cell 100 x 18 holds the layered bar's 96 x 16 track exactly: the engine's rendering of the
// program's own text is the reference, to anti-aliased text, for the gradient look with the
// program's white text.
void TestProgressDelegate::barIsTheLayeredMarkupAtTheCellsSize() {
    QFETCH(int, percent);
    QFETCH(int, bar);
    Bars w;
    w.delegates[0]->setLook(Look::Gradient);
    w.delegates[0]->setFillTextColor(Qt::white);
    w.delegates[0]->setTrackTextColor(Qt::white);
    w.model.setData(w.model.index(1, 1), percent);
    w.show();
    const QImage shown = cellShot(w, 1, 1);
    QImage expected(shown.size(), QImage::Format_RGB32);
    expected.fill(w.view().palette().color(QPalette::Base));
    {
        QPainter painter(&expected);
        const QString text = samples::layeredWith(QStringLiteral("96"), QString::number(bar),
                                                  QString::number(percent));
        gridgauge::markup::render(painter, *gridgauge::markup::parse(text), QRectF(2, 1, 96, 16),
                                  w.view().font());
    }
    QVERIFY(delegatetest::differing(shown, expected, shown.rect(), 8) <= 6);

    // In a taller row the track still fills the cell, less the padding.
    w.view().setRowHeight(1, 30);
    Window::settle();
    const QImage tall = cellShot(w, 1, 1);
    QCOMPARE(tall.pixelColor(50, 28), QColor(0x5E, 0x72, 0x93));
    QCOMPARE(tall.pixelColor(50, 29), w.view().palette().color(QPalette::Base));
}

void TestProgressDelegate::valuesAreClampedAndNonNumbersLeftToQt_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("drawnAs"); // invalid: as QStyledItemDelegate draws the value
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("below 0") << QVariant(-20) << QVariant(0);
    QTest::newRow("above 100") << QVariant(150) << QVariant(100);
    QTest::newRow("infinite") << QVariant(inf) << QVariant(100);
    QTest::newRow("a numeric text") << QVariant(QStringLiteral(" 42 ")) << QVariant(42);
    QTest::newRow("a text") << QVariant(QStringLiteral("half")) << QVariant();
    QTest::newRow("NaN") << QVariant(std::nan("")) << QVariant();
    QTest::newRow("a truth value") << QVariant(true) << QVariant();
    QTest::newRow("no value") << QVariant() << QVariant();
}

void TestProgressDelegate::valuesAreClampedAndNonNumbersLeftToQt() {
    QFETCH(QVariant, value);
    QFETCH(QVariant, drawnAs);
    Bars w(2);
    QStyledItemDelegate styled;
    w.model.setData(w.model.index(1, 1), value);
    w.model.setData(w.model.index(1, 2), drawnAs);
    if (!drawnAs.isValid())
        w.view(1).setItemDelegate(&styled);
    w.show();
    const QImage expected = drawnAs.isValid() ? cellShot(w, 1, 2) : cellShot(w, 1, 1, 1);
    QCOMPARE(cellShot(w, 1, 1), expected);
}

void TestProgressDelegate::dragSetsTheValueFromThePointerUntilTheRelease_data() {
    QTest::addColumn<QList<QPoint>>("path"); // from the cell's left edge and its row's middle
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("writes");
    QTest::newRow("a press") << QList<QPoint>{{25, 0}} << 25 << 1;
    QTest::newRow("a press at the left edge") << QList<QPoint>{{0, 0}} << 0 << 1;
    QTest::newRow("a move to the right") << QList<QPoint>{{25, 0}, {60, 2}} << 60 << 2;
    QTest::newRow("past the right edge") << QList<QPoint>{{50, 0}, {99, 0}, {160, 0}} << 100 << 3;
    QTest::newRow("past the left edge") << QList<QPoint>{{50, 0}, {-30, 0}} << 0 << 2;
    QTest::newRow("over other rows") << QList<QPoint>{{50, 0}, {40, 40}, {45, -36}} << 45 << 3;
    QTest::newRow("out of the window") << QList<QPoint>{{50, 0}, {80, -300}} << 80 << 2;
    QTest::newRow("up and down only") << QList<QPoint>{{30, 0}, {30, 6}, {30, -6}} << 30 << 1;
}

// The moves are the drag's alone: the view selects no other cell on the way.
void TestProgressDelegate::dragSetsTheValueFromThePointerUntilTheRelease() {
    QFETCH(QList<QPoint>, path);
    QFETCH(int, value);
    QFETCH(int, writes);
    Bars w;
    Writes counted;
    counted.setSourceModel(&w.model);
    w.view().setModel(&counted);
    w.show();
    QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.in(2, 1, path.first().x()));
    for (const QPoint& p : path.mid(1))
        QTest::mouseMove(w.handle(), w.in(2, 1, p.x(), p.y()));
    QCOMPARE(w.value(2, 1), value);
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, w.in(2, 1, path.last().x()));
    QTest::mouseMove(w.handle(), w.in(2, 1, 10));
    QCOMPARE(w.value(2, 1), value);
    QCOMPARE(counted.writes, writes);
    QCOMPARE(w.value(0, 1), 1);
    QCOMPARE(w.value(4, 1), 41);
    const QModelIndexList selected = w.view().selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(QPoint(selected.first().column(), selected.first().row()), QPoint(1, 2));
}

void TestProgressDelegate::itemsThatCannotTakeAValueIgnoreThePointer_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("read-only") << int(Qt::ItemIsEnabled | Qt::ItemIsSelectable) << QVariant(21);
    QTest::newRow("disabled") << int(Qt::ItemIsEditable) << QVariant(21);
    QTest::newRow("not a number") << int(Qt::ItemIsEnabled | Qt::ItemIsEditable)
                                  << QVariant(QStringLiteral("half"));
}

void TestProgressDelegate::itemsThatCannotTakeAValueIgnoreThePointer() {
    QFETCH(int, flags);
    QFETCH(QVariant, value);
    Bars w;
    w.model.setData(w.model.index(2, 1), value);
    w.model.itemFromIndex(w.model.index(2, 1))->setFlags(Qt::ItemFlags(flags));
    w.show();
    QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 70));
    QTest::mouseMove(w.handle(), w.in(2, 1, 90));
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 90));
    QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 80));
    QCOMPARE(w.model.index(2, 1).data(), value);
}

// Each view has its own delegate; the value goes through the model, and the other view repaints
// the cell with it.
void TestProgressDelegate::aDragInOneViewShowsInAnother() {
    Bars w(2);
    w.model.setData(w.model.index(3, 1), 64);
    w.show();
    const QImage before = cellShot(w, 2, 1, 1);
    QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 10));
    QTest::mouseMove(w.handle(), w.in(2, 1, 64));
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 64));
    Window::settle();
    QCOMPARE(w.value(2, 1), 64);
    QVERIFY(cellShot(w, 2, 1, 1) != before);
    QCOMPARE(cellShot(w, 2, 1, 1), cellShot(w, 3, 1, 1));
}

void TestProgressDelegate::aDragOutlivesWhatHappensToItsCell_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("row"); // where the dragged cell is afterwards, -1 for nowhere
    QTest::newRow("the model reset") << QStringLiteral("reset") << -1;
    QTest::newRow("its row removed") << QStringLiteral("remove") << -1;
    QTest::newRow("a row inserted above it") << QStringLiteral("insert") << 3;
    QTest::newRow("another model in the view") << QStringLiteral("model") << -1;
    QTest::newRow("the view destroyed") << QStringLiteral("destroy") << -1;
}

// What the model or the program does while the button is held; the moves after it write the
// dragged cell where it now is, or nothing at all, and leave every other cell as it was.
void TestProgressDelegate::aDragOutlivesWhatHappensToItsCell() {
    QFETCH(QString, event);
    QFETCH(int, row);
    Bars w(2);
    QStandardItemModel other(6, 3);
    w.show();
    const QPoint end = w.in(2, 1, 70);
    QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 30));
    if (event == QLatin1String("reset")) {
        w.model.clear();
        w.model.setRowCount(6);
        w.model.setColumnCount(3);
    } else if (event == QLatin1String("remove")) {
        w.model.removeRow(2);
    } else if (event == QLatin1String("insert")) {
        w.model.insertRow(0);
    } else if (event == QLatin1String("model")) {
        w.view().setModel(&other);
    } else {
        delete &w.view();
    }
    QTest::mouseMove(w.handle(), end);
    QTest::mouseMove(w.handle(), end + QPoint(5, 0));
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, end + QPoint(5, 0));
    QCOMPARE(other.index(2, 1).data(), QVariant());
    for (int r = 0; r < w.model.rowCount(); ++r) {
        const QVariant held = w.model.index(r, 1).data();
        if (r == row)
            QCOMPARE(held, QVariant(75));
        else if (event == QLatin1String("reset"))
            QCOMPARE(held, QVariant());
        else
            QVERIFY(held != QVariant(75) && held != QVariant(70));
    }
    // The next drag, in the view that is left, starts afresh.
    w.model.setData(w.model.index(1, 2), 12);
    Window::settle();
    QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.in(1, 2, 40, 0, 1));
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, w.in(1, 2, 40, 0, 1));
    QCOMPARE(w.value(1, 2), 40);
}

// The bar reads the chosen role, and a drag writes the chosen edit role and leaves the text
// alone; a double click sets the value too, and opens no editor over the bar.
void TestProgressDelegate::anotherValueRoleIsReadAndWritten() {
    Bars w(2);
    const int role = Qt::UserRole + 1;
    w.delegates[0]->setValueRole(role);
    w.delegates[0]->setEditRole(role);
    w.model.setData(w.model.index(2, 1), QStringLiteral("Build"));
    w.model.setData(w.model.index(2, 1), 40, role);
    w.model.setData(w.model.index(2, 2), 40);
    w.show();
    QCOMPARE(cellShot(w, 2, 1), cellShot(w, 2, 2, 1));

    QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, w.in(2, 1, 55));
    Window::settle();
    QCOMPARE(w.model.index(2, 1).data(role), QVariant(55));
    QCOMPARE(w.model.index(2, 1).data(), QVariant(QStringLiteral("Build")));
    QVERIFY(w.viewport().findChildren<QWidget*>().isEmpty());
}

// Mirrored: 0 at the cell's right edge, and the bar anchored there.
void TestProgressDelegate::rightToLeftGrowsAndDragsFromTheRight() {
    Bars w;
    w.delegates[0]->setLook(Look::Gradient);
    w.view().setLayoutDirection(Qt::RightToLeft);
    w.show();
    const QRect cell = w.cell(2, 1);
    // The pixel 30 in from the right edge's own reads 30, as the one 30 in from the left does
    // left to right.
    const QPoint press(cell.right() - 30, cell.center().y());
    QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.at(press));
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, w.at(press));
    QCOMPARE(w.value(2, 1), 30);
    Window::settle();
    const QImage shown = cellShot(w, 2, 1);
    const QColor barEnd(0x65, 0x8C, 0x4B), trackTop(0xC0, 0xCB, 0xDF);
    QVERIFY(qAbs(shown.pixelColor(95, 3).green() - barEnd.green()) < 12);
    QVERIFY(qAbs(shown.pixelColor(6, 3).red() - trackTop.red()) < 12);
}

void TestProgressDelegate::screenReaderReadsTheValue() {
    Bars w;
    w.model.setData(w.model.index(2, 1), 75);
    w.show();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&w.view());
    QVERIFY(table && table->tableInterface());
    QAccessibleInterface* cell = table->tableInterface()->cellAt(2, 1);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("75"));
}

void TestProgressDelegate::barAndTextFollowTheRangeAndFormat_data() {
    QTest::addColumn<Look>("look");
    QTest::addColumn<QList<int>>("range");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("percent"); // how much of the bar is filled
    QTest::addColumn<QString>("text");
    for (const Look look : {Look::Style, Look::Gradient}) {
        const auto row = [&](const char* what, QList<int> range, const char* format, QVariant value,
                             double percent, const char* text) {
            QTest::addRow("%s, %s", nameOf(look), what)
                << look << range << QString::fromUtf8(format) << value << percent
                << QString::fromUtf8(text);
        };
        row("a percentage", {0, 100}, "%p%", 42, 42, "42%");
        row("another range", {200, 300}, "%p%", 250, 50, "50%");
        row("value and steps", {10, 60}, "%v of %m", 35, 50, "35 of 50");
        row("below the range", {10, 60}, "%v, %p%", -5, 0, "10, 0%");
        row("above the range", {10, 60}, "%v, %p%", 95, 100, "60, 100%");
        row("a share towards zero", {0, 3}, "%p%", 2, 200.0 / 3, "66%");
        row("a fractional value", {0, 100}, "%v", 41.6, 41.6, "41.6");
        row("one value", {7, 7}, "%p% %v", 7, 0, "0% 7");
        row("the whole int range", {INT_MIN, INT_MAX}, "%p% of %m", 0,
            100.0 * 2147483648.0 / 4294967295.0, "50% of 4294967295");
    }
}

// The reference is the same look's default range holding the percentage, with the expected text
// as its format.
void TestProgressDelegate::barAndTextFollowTheRangeAndFormat() {
    QFETCH(Look, look);
    QFETCH(QList<int>, range);
    QFETCH(QString, format);
    QFETCH(QVariant, value);
    QFETCH(double, percent);
    QFETCH(QString, text);
    QStandardItemModel model(1, 2);
    model.setData(model.index(0, 0), value);
    model.setData(model.index(0, 1), percent);
    Tree w(model, look);
    w.delegate.setRange(range[0], range[1]);
    w.delegate.setFormat(format);
    ProgressDelegate expected;
    expected.setLook(look);
    expected.setFormat(text);
    w.view->setItemDelegateForColumn(1, &expected);
    w.show();
    QCOMPARE(w.cellShot(0), w.cellShot(1));
}

void TestProgressDelegate::textReadsOnTheFillAndOnTheTrack_data() {
    QTest::addColumn<Look>("look");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::addColumn<int>("value");
    for (const Look look : {Look::Style, Look::Gradient}) {
        for (const bool dark : {false, true}) {
            const char* palette = dark ? "dark" : "light";
            for (const int value : {0, 5, 12, 40, 50, 60, 88, 100})
                QTest::addRow("%s, %s, %d", nameOf(look), palette, value)
                    << look << dark << Qt::LeftToRight << value;
            QTest::addRow("%s, %s, 45, right to left", nameOf(look), palette)
                << look << dark << Qt::RightToLeft << 45;
        }
    }
}

// Every glyph pixel (one the text changes) reads at 4.5:1 on what lies under it, but beside the
// fill's edge, where the style draws lines and shadows that no colour reads on together with both
// sides. Right to left, the bar under the text is its left-to-right self mirrored, pixel for
// pixel: a style lays a bar filled from the right out otherwise, and the text's colours would not
// part where its fill ends.
void TestProgressDelegate::textReadsOnTheFillAndOnTheTrack() {
    QFETCH(Look, look);
    QFETCH(bool, dark);
    QFETCH(Qt::LayoutDirection, direction);
    QFETCH(int, value);
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), value);
    Tree w(model, look);
    w.view->setLayoutDirection(direction);
    QFont font = w.view->font();
    font.setStyleStrategy(QFont::NoAntialias);
    w.view->setFont(font);
    if (dark) {
        QPalette palette(Qt::white, QColor(0x35, 0x35, 0x35), Qt::gray, Qt::black, Qt::darkGray,
                         Qt::white, Qt::white, QColor(0x2A, 0x2A, 0x2A), QColor(0x35, 0x35, 0x35));
        palette.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        w.view->setPalette(palette);
    }
    w.show();
    const QImage shown = w.cellShot();
    w.delegate.setFormat(QString());
    w.viewport().repaint();
    const QImage under = w.cellShot();
    const auto lum = [&](int x, int y) { return luminance(under.pixel(x, y)); };
    int glyphs = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 1; x + 1 < shown.width(); ++x) {
            if (shown.pixel(x, y) == under.pixel(x, y) ||
                std::abs(lum(x - 1, y) - lum(x, y)) > 0.05 ||
                std::abs(lum(x + 1, y) - lum(x, y)) > 0.05)
                continue;
            ++glyphs;
            const double c = contrast(shown.pixel(x, y), under.pixel(x, y));
            QVERIFY2(c >= 4.5, qPrintable(QStringLiteral("%1:1 at %2, %3").arg(c).arg(x).arg(y)));
        }
    }
    QVERIFY(glyphs > 40);
    if (direction == Qt::RightToLeft) {
        w.view->setLayoutDirection(Qt::LeftToRight);
        Window::settle();
        QCOMPARE(
            delegatetest::differing(under, w.cellShot().mirrored(true, false), under.rect(), 2), 0);
    }
}

void TestProgressDelegate::aDragWritesTheEditRoleAsTheModelTakesIt_data() {
    QTest::addColumn<int>("takes"); // a Strict::Takes, or -1 for a QStandardItemModel
    QTest::addColumn<QVariant>("held");
    QTest::addColumn<QList<int>>("range");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::addColumn<QList<int>>("path"); // from the cell's left edge
    QTest::addColumn<QVariant>("written");
    const auto ltr = Qt::LeftToRight;
    QTest::newRow("any role") << -1 << QVariant(10) << QList{0, 100} << ltr << QList{25, 60}
                              << QVariant(60);
    QTest::newRow("the edit role alone") << int(Strict::EditRole) << QVariant(10) << QList{200, 300}
                                         << ltr << QList{25} << QVariant(225);
    QTest::newRow("right to left, from the right edge") // pixel 25 of 100 is 74 from the right
        << int(Strict::EditRole) << QVariant(0) << QList{-50, 50} << Qt::RightToLeft << QList{25}
        << QVariant(24);
    QTest::newRow("doubles alone") << int(Strict::Doubles) << QVariant(10.0) << QList{0, 100} << ltr
                                   << QList{40} << QVariant(40.0);
    QTest::newRow("a text") << -1 << QVariant(QStringLiteral("10")) << QList{0, 100} << ltr
                            << QList{40} << QVariant(QStringLiteral("40"));
    QTest::newRow("one value") << -1 << QVariant(3) << QList{7, 7} << ltr << QList{80}
                               << QVariant(7);
    QTest::newRow("nothing, told once") << int(Strict::Nothing) << QVariant(10) << QList{0, 100}
                                        << ltr << QList{25, 60, 90} << QVariant(10);
}

// Two drags, as the pointer goes: a refusal is told once for the delegate, not once for each drag
// or move.
void TestProgressDelegate::aDragWritesTheEditRoleAsTheModelTakesIt() {
    QFETCH(int, takes);
    QFETCH(QVariant, held);
    QFETCH(QList<int>, range);
    QFETCH(Qt::LayoutDirection, direction);
    QFETCH(QList<int>, path);
    QFETCH(QVariant, written);
    QStandardItemModel any(3, 1);
    Strict strict(Strict::Takes(std::max(takes, 0)), 3);
    QStandardItemModel& model = takes < 0 ? any : strict;
    for (int r = 0; r < 3; ++r) { // past the model's setData(), which may take nothing
        auto* item = new QStandardItem;
        item->setData(r == 1 ? held : QVariant(50), Qt::EditRole);
        model.setItem(r, item);
    }
    Tree w(model);
    w.delegate.setRange(range[0], range[1]);
    w.view->setLayoutDirection(direction);
    w.show();
    if (takes == Strict::Nothing)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused")));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("refused")));
    for (int drag = 0; drag < 2; ++drag) {
        QTest::mousePress(w.handle(), Qt::LeftButton, {}, w.in(1, 0, path.first()));
        for (const int x : path.mid(1))
            QTest::mouseMove(w.handle(), w.in(1, 0, x));
        QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, w.in(1, 0, path.last()));
    }
    const QVariant stored = model.index(1, 0).data(Qt::EditRole);
    QCOMPARE(stored, written);
    QCOMPARE(stored.typeId(), written.typeId());
    QCOMPARE(model.index(0, 0).data(), QVariant(50));
}

void TestProgressDelegate::theEditorHasTheDelegatesRange_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("typed");
    QTest::newRow("-20 to 20") << -20 << 20 << QStringLiteral("-5");
    QTest::newRow("1000 to 5000") << 1000 << 5000 << QStringLiteral("2500");
}

// F2 on the current cell, holding a value past the maximum; the new value typed over it, Return.
void TestProgressDelegate::theEditorHasTheDelegatesRange() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, typed);
    QStandardItemModel model(2, 1);
    model.setData(model.index(0, 0), maximum + 7);
    Tree w(model);
    w.delegate.setRange(minimum, maximum);
    w.view->setFocusPolicy(Qt::StrongFocus);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.view->setFocus();
    w.view->setCurrentIndex(w.proxy.index(0, 0));
    QTest::keyClick(w.handle(), Qt::Key_F2);
    auto* editor = w.view->findChild<QSpinBox*>();
    QVERIFY(editor);
    QCOMPARE(QList({editor->minimum(), editor->maximum(), editor->value()}),
             QList({minimum, maximum, maximum}));
    for (const QChar c : typed)
        QTest::keyClick(w.handle(), c.toLatin1());
    QTest::keyClick(w.handle(), Qt::Key_Return);
    QCOMPARE(model.index(0, 0).data(), QVariant(typed.toInt()));
}

void TestProgressDelegate::settingsNotifyOrAreRefusedWithAWarning_data() {
    QTest::addColumn<QByteArray>("name"); // "range" for setRange()
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("refused");
    const auto row = [](const char* what, const char* name, const QVariant& value, bool refused) {
        QTest::newRow(what) << QByteArray(name) << value << refused;
    };
    row("minimum", "minimum", 10, false);
    row("maximum", "maximum", 50, false);
    row("format", "format", QStringLiteral("%v of %m"), false);
    row("look", "look", QVariant::fromValue(Look::Gradient), false);
    row("fill text", "fillTextColor", QColor(Qt::red), false);
    row("track text", "trackTextColor", QColor(Qt::blue), false);
    row("value role", "valueRole", int(Qt::UserRole), false);
    row("edit role", "editRole", Qt::UserRole + 2, false);
    row("an upside-down range", "range", QPoint(60, 40), true);
    row("a negative value role", "valueRole", -1, true);
    row("a negative edit role", "editRole", -3, true);
    row("no look", "look", 7, true);
}

// Through the meta-object, as Qt Designer or a binding sets them: a change is signalled once,
// with the new value, and the same value again is no change; a refused one changes nothing,
// signals nothing and throws nothing.
void TestProgressDelegate::settingsNotifyOrAreRefusedWithAWarning() {
    QFETCH(QByteArray, name);
    QFETCH(QVariant, value);
    QFETCH(bool, refused);
    ProgressDelegate delegate;
    const QMetaObject& meta = *delegate.metaObject();
    QVariantList before;
    std::vector<std::unique_ptr<QSignalSpy>> changes;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        QVERIFY(meta.property(i).hasNotifySignal());
        before << meta.property(i).read(&delegate);
        changes.push_back(std::make_unique<QSignalSpy>(&delegate, meta.property(i).notifySignal()));
    }
    if (refused)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("stays")));
    for (int times = refused ? 1 : 2; times > 0; --times) {
        if (name == "range")
            delegate.setRange(value.toPoint().x(), value.toPoint().y());
        else
            delegate.setProperty(name, value);
    }
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const bool set = !refused && meta.property(i).name() == name;
        QCOMPARE(meta.property(i).read(&delegate), set ? value : before[i - meta.propertyOffset()]);
        const QSignalSpy& changed = *changes[size_t(i - meta.propertyOffset())];
        QCOMPARE(changed.size(), set ? 1 : 0);
        if (set)
            QCOMPARE(changed.first().first(), value);
    }
    // Not refused: as QProgressBar's, a minimum above the maximum takes the maximum along.
    delegate.setMinimum(150);
    QCOMPARE(QList({delegate.minimum(), delegate.maximum()}), QList({150, 150}));
}

QTEST_MAIN(TestProgressDelegate)
#include "test_progress_delegate.moc"
