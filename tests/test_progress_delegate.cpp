// ProgressDelegate in Qt's own table view: the layered bar at the cell's size, values clamped and
// non-numbers left to Qt, a drag that follows the pointer anywhere until the release and writes
// through the model for every view, and survives its cell, its model or its view going away.
#include "delegate_fixture.h"
#include "markup_samples.h"

#include "gridgauge/gridkit/progress_delegate.h"
#include "gridgauge/markup/markup.h"

#include <QAccessible>
#include <QIdentityProxyModel>
#include <QPainter>

#include <cmath>
#include <limits>

using delegatetest::CellWidth;
using delegatetest::Window;
using gridkit::ProgressDelegate;

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
// program's own text is the reference, to anti-aliased text.
void TestProgressDelegate::barIsTheLayeredMarkupAtTheCellsSize() {
    QFETCH(int, percent);
    QFETCH(int, bar);
    Bars w;
    w.model.setData(w.model.index(1, 1), percent);
    w.show();
    const QImage shown = cellShot(w, 1, 1);
    QImage expected(shown.size(), QImage::Format_RGB32);
    expected.fill(w.view().palette().color(QPalette::Base));
    {
        QPainter painter(&expected);
        const QString text = samples::layeredWith(QStringLiteral("96"), QString::number(bar),
                                                  QString::number(percent));
        markup::render(painter, *markup::parse(text), QRectF(2, 1, 96, 16), w.view().font());
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
    QTest::newRow("a fraction") << QVariant(41.6) << QVariant(42); // "42%", a bar of 40 on 96
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

// The bar reads the chosen role, and a drag writes it there and leaves the text alone; a double
// click sets the value too, and opens no editor over the bar.
void TestProgressDelegate::anotherValueRoleIsReadAndWritten() {
    Bars w(2);
    const int role = Qt::UserRole + 1;
    w.delegates[0]->setValueRole(role);
    QCOMPARE(w.delegates[0]->valueRole(), role);
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
    w.view().setLayoutDirection(Qt::RightToLeft);
    w.show();
    const QRect cell = w.cell(2, 1);
    QTest::mousePress(w.handle(), Qt::LeftButton, {},
                      w.at(QPoint(cell.left() + cell.width() - 30, cell.center().y())));
    QTest::mouseRelease(w.handle(), Qt::LeftButton, {},
                        w.at(QPoint(cell.left() + cell.width() - 30, cell.center().y())));
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

QTEST_MAIN(TestProgressDelegate)
#include "test_progress_delegate.moc"
