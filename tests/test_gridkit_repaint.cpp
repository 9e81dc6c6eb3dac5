// The grid repaints what changed and nothing more, parses a markup caption once per write, and
// keeps a sorted grid consistent when rows are added.
#include "gridkit_fixture.h"

#include "grid/grid_control.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/markup/markup.h"
#include "parse_count.h"
#include "scroll_bar.h"

#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include <functional>

using report::Grid;

namespace {

const QString bar = QStringLiteral("<Border Background='#00C000' Width='40'><TextBlock "
                                   "Foreground='White'>40%</TextBlock></Border>");

struct Change {
    const char* name;
    std::function<void(report::Grid&)> make;
    // The region that must be repainted, and nothing else; empty for nothing.
    std::function<QRegion(const gridtest::Shown&)> repainted;
};

// A row's cells, all across.
QRect rowCells(const gridtest::Shown& shown, int row) {
    return shown.bounds(row, 0).united(shown.bounds(row, gridtest::Columns - 1));
}

const std::vector<Change>& changes() {
    using S = const gridtest::Shown&;
    static const std::vector<Change> table = {
        {"caption written",
         [](report::Grid& g) { g.rows().row(3).record().item(1).setCaption("new"); },
         [](S s) { return QRegion(s.bounds(3, 1)); }},
        {"caption written as it is",
         [](report::Grid& g) { g.rows().row(0).record().item(3).setCaption("First caption"); },
         [](S) { return QRegion(); }},
        {"markup caption written",
         [](report::Grid& g) { g.rows().row(4).record().item(1).setCaption(bar); },
         [](S s) { return QRegion(s.bounds(4, 1)); }},
        {"check box ticked by code",
         [](report::Grid& g) { g.rows().row(2).record().item(2).setChecked(true); },
         [](S s) { return QRegion(s.bounds(2, 2)); }},
        {"check box left as it is",
         [](report::Grid& g) { g.rows().row(2).record().item(2).setChecked(false); },
         [](S) { return QRegion(); }},
        {"button caption written",
         [](report::Grid& g) {
             g.rows().row(1).record().item(0).itemControls().at(0).setCaption("Plus");
         },
         [](S s) { return QRegion(s.bounds(1, 0)); }},
        {"width changed", [](report::Grid& g) { g.columns().column(1).setWidth(120); },
         [](S s) { return QRegion(100, 0, s.body().width() - 100, s.body().bottom() + 1); }},
        {"width set to what it is",
         [](report::Grid& g) { g.columns().column(1).setWidth(gridtest::ColumnWidth); },
         [](S) { return QRegion(); }},
        {"header caption written", [](report::Grid& g) { g.columns().column(2).setCaption("Two"); },
         [](S s) { return QRegion(200, 0, 100, s.grid->headerHeight()); }},
        {"rebuild with nothing new", [](report::Grid& g) { g.rebuild(); },
         [](S) { return QRegion(); }},
        {"records added and rebuilt",
         [](report::Grid& g) {
             g.records().add().addItem("more");
             g.rebuild();
         },
         [](S s) {
             const QRect added = s.bounds(gridtest::Records, 0);
             return QRegion(QRect(QPoint(0, added.top()), s.body().bottomRight()));
         }},
        {"redraw with nothing changed", [](report::Grid& g) { g.redraw(); },
         [](S) { return QRegion(); }},
        {"focus moved down a row", [](report::Grid& g) { QTest::keyClick(&g, Qt::Key_Down); },
         [](S s) { return QRegion(rowCells(s, 3)) + rowCells(s, 4); }},
    };
    return table;
}

} // namespace

class TestGridRepaint : public QObject {
    Q_OBJECT

private slots:
    void eachChangeRepaintsOnlyWhereItShows_data();
    void eachChangeRepaintsOnlyWhereItShows();
    void redrawPaintsWhatIsPendingAtOnce();
    void markupIsParsedOncePerTextAndOnlyWhenShown();
    void sortedGridPlacesAddedRowsInOrder();
    void keptScrollBarDrawsAsQtsOwn_data();
    void keptScrollBarDrawsAsQtsOwn();
    void keptScrollBarShowsThePointerAsQtsOwn();
};

void TestGridRepaint::eachChangeRepaintsOnlyWhereItShows_data() {
    QTest::addColumn<int>("change");
    for (std::size_t i = 0; i < changes().size(); ++i)
        QTest::newRow(changes()[i].name) << int(i);
}

void TestGridRepaint::eachChangeRepaintsOnlyWhereItShows() {
    QFETCH(int, change);
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.setMarkupEnabled(true);
    grid.setCellFocus(true);
    grid.setFocus();
    gridtest::mouseClick(gridtest::pointer(shown), Qt::LeftButton, {}, shown.centre(3, 1));
    gridtest::settle();
    gridtest::PaintRecorder cells(shown.viewport(), &grid);
    gridtest::PaintRecorder header(shown.header(), &grid);
    changes()[std::size_t(change)].make(grid);
    gridtest::settle();
    QCOMPARE(cells.painted() + header.painted(), changes()[std::size_t(change)].repainted(shown));
}

void TestGridRepaint::redrawPaintsWhatIsPendingAtOnce() {
    gridtest::Shown shown;
    gridtest::settle();
    gridtest::PaintRecorder recorder(shown.viewport(), shown.grid.get());
    shown.grid->rows().row(5).record().item(2).setCaption("soon");
    QCOMPARE(recorder.paints(), 0); // scheduled, not yet painted
    shown.grid->redraw();
    QCOMPARE(recorder.paints(), 1);
    QCOMPARE(recorder.painted(), QRegion(shown.bounds(5, 2)));
    shown.grid->redraw();
    gridtest::settle();
    QCOMPARE(recorder.paints(), 1);
}

void TestGridRepaint::markupIsParsedOncePerTextAndOnlyWhenShown() {
    gridtest::Shown shown(QSize(460, 120)); // rows 0 to 3 in view
    report::Grid& grid = *shown.grid;
    grid.setMarkupEnabled(true);
    gridtest::settle();
    // Documents are shared by every grid in the process: a text no other test shows.
    const QString text = QString(bar).replace("Width='40'", "Width='39'");
    const quint64 start = gridgauge::markup::parseCount();

    grid.rows().row(10).record().item(1).setCaption(text); // out of view
    grid.rows().row(2).record().item(1).setCaption(text);
    QCOMPARE(gridgauge::markup::parseCount(), start); // writing parses nothing
    gridtest::settle();
    QCOMPARE(gridgauge::markup::parseCount(), start + 1); // painting the one in view does
    for (int i = 0; i < 3; ++i)
        shown.viewport()->repaint();
    grid.rows().row(2).record().item(1).setCaption(text);
    gridtest::settle();
    QCOMPARE(gridgauge::markup::parseCount(),
             start + 1); // neither repaints nor the same text again

    grid.rows().row(2).record().item(1).setCaption(QString(text).replace("40", "41"));
    gridtest::settle();
    QCOMPARE(gridgauge::markup::parseCount(), start + 2);
    // A bar going back to a value it showed, or another cell showing the same text, is not read
    // again.
    grid.rows().row(2).record().item(1).setCaption(text);
    grid.rows().row(3).record().item(1).setCaption(text);
    gridtest::settle();
    QCOMPARE(gridgauge::markup::parseCount(), start + 2);
}

void TestGridRepaint::sortedGridPlacesAddedRowsInOrder() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    for (int r = 0; r < gridtest::Records; ++r)
        grid.rows().row(r).record().item(1).setCaption(QString(QChar('b' + r)));
    grid.setSortOnHeaderClick(true);
    const int y = grid.headerHeight() / 2;
    gridtest::mouseClick(gridtest::pointer(shown), Qt::LeftButton, {}, {150, y});
    gridtest::mouseClick(gridtest::pointer(shown), Qt::LeftButton, {}, {150, y}); // descending
    const int top = shown.bounds(gridtest::Records - 1, 1).top();

    report::Record added = grid.records().add();
    for (int i = 0; i < gridtest::Columns; ++i)
        added.addItem(QString());
    added.item(1).setCaption("z");
    report::Record last = grid.records().add();
    last.addItem(QString());
    last.addItem(QString()).setCaption("a");
    grid.rebuild();
    const QImage painted = gridtest::shot(grid);
    QVERIFY(!painted.isNull());
    QCOMPARE(shown.bounds(gridtest::Records, 1).top(), top); // "z" first
    QCOMPARE(shown.bounds(gridtest::Records + 1, 1).top(),
             top + (gridtest::Records + 1) * grid.rowHeight()); // "a" last
    QCOMPARE(grid.hitTest(150, top + 1)->row()->index(), gridtest::Records);
}

void TestGridRepaint::keptScrollBarDrawsAsQtsOwn_data() {
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::newRow("vertical") << Qt::Vertical;
    QTest::newRow("horizontal") << Qt::Horizontal;
}

// The grid's scroll bars keep their last rendering; each change to what a scroll bar shows must
// still reach the screen as Qt's own scroll bar draws it.
void TestGridRepaint::keptScrollBarDrawsAsQtsOwn() {
    QFETCH(Qt::Orientation, orientation);
    gridgauge::gridkit::detail::ScrollBar kept(orientation);
    QScrollBar own(orientation);
    const std::vector<std::pair<const char*, std::function<void(QScrollBar&)>>> steps = {
        {"first paint",
         [](QScrollBar& b) {
             b.resize(b.orientation() == Qt::Vertical ? QSize(17, 300) : QSize(300, 17));
             b.setRange(0, 1000);
             b.setPageStep(100);
         }},
        {"painted again", [](QScrollBar&) {}},
        {"value", [](QScrollBar& b) { b.setValue(500); }},
        {"range", [](QScrollBar& b) { b.setMaximum(600); }},
        {"page step", [](QScrollBar& b) { b.setPageStep(400); }},
        {"inverted", [](QScrollBar& b) { b.setInvertedAppearance(true); }},
        {"size", [](QScrollBar& b) { b.resize(b.size() + QSize(10, 10)); }},
        {"palette",
         [](QScrollBar& b) {
             QPalette p = b.palette();
             p.setColor(QPalette::Button, Qt::red);
             b.setPalette(p);
         }},
        {"disabled", [](QScrollBar& b) { b.setEnabled(false); }},
    };
    for (const auto& [name, step] : steps) {
        step(kept);
        step(own);
        QVERIFY2(kept.grab().toImage() == own.grab().toImage(), name);
    }
}

// Hovered, a scroll bar shows it; the kept rendering must not hide that, nor keep it once the
// pointer has left. The pointer arrives at the window, as a person's does.
void TestGridRepaint::keptScrollBarShowsThePointerAsQtsOwn() {
    QWidget window;
    window.resize(100, 300);
    gridgauge::gridkit::detail::ScrollBar kept(Qt::Vertical, &window);
    QScrollBar own(Qt::Vertical, &window);
    for (QScrollBar* bar : {static_cast<QScrollBar*>(&kept), &own}) {
        bar->setRange(0, 1000);
        bar->setPageStep(100);
        bar->resize(17, 300);
    }
    kept.move(30, 0); // the pointer starts at the window's corner, over neither
    own.move(60, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage idle = own.grab().toImage();
    QCOMPARE(kept.grab().toImage(), idle);

    const QPoint onHandle(8, 30);
    QTest::mouseMove(window.windowHandle(), own.mapTo(&window, onHandle));
    QTRY_VERIFY(own.underMouse());
    const QImage hovered = own.grab().toImage();
    QVERIFY(hovered != idle); // the style shows the pointer over the handle
    QTest::mouseMove(window.windowHandle(), kept.mapTo(&window, onHandle));
    QTRY_VERIFY(kept.underMouse());
    QCOMPARE(kept.grab().toImage(), hovered);

    QTest::mouseMove(window.windowHandle(), QPoint(5, 150));
    QTRY_VERIFY(!kept.underMouse());
    QCOMPARE(kept.grab().toImage(), idle);
}

QTEST_MAIN(TestGridRepaint)
#include "test_gridkit_repaint.moc"
