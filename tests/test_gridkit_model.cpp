// The grid's object model: rows from records, handle staleness, refused calls, scale and the
// accessible table.
#include "gridkit_fixture.h"

#include "grid/grid_control.h"
#include "gridgauge/host/runtime_error.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTest>

#include <functional>

using ReportGrid = report::Grid;
using report::Row;

namespace {

// Everything a refused call could have touched, as text.
QString snapshot(ReportGrid& grid) {
    QStringList parts;
    report::ColumnList columns = grid.columns();
    for (int c = 0; c < columns.count(); ++c) {
        const report::Column column = columns.column(c);
        parts << QStringLiteral("col %1 %2 %3")
                     .arg(column.index())
                     .arg(column.width())
                     .arg(column.caption());
    }
    parts << QStringLiteral("records %1 rows %2")
                 .arg(grid.records().count())
                 .arg(grid.rows().count());
    for (int r = 0; r < grid.records().count(); ++r) {
        const report::Record record = grid.records().record(r);
        for (int i = 0; i < record.itemCount(); ++i) {
            const report::Item item = record.item(i);
            parts << QStringLiteral("%1 %2 %3")
                         .arg(item.caption())
                         .arg(item.checked())
                         .arg(item.itemControls().count());
        }
    }
    const report::Appearance appearance = grid.appearance();
    parts << QString::number(appearance.headerStyle())
          << QString::number(appearance.belowRowsColor(), 16);
    parts << QString::number(grid.rows().row(1).record().item(0).itemControls().at(0).alignment());
    return parts.join(QLatin1Char('\n'));
}

using Call = std::function<void(ReportGrid&, const Row& stale, qint32 (&out)[4])>;

void bounds(const Row& row, const report::Item& item, qint32 (&out)[4]) {
    row.itemBounds(item, out[0], out[1], out[2], out[3]);
}

const std::vector<std::pair<const char*, Call>>& refusedCalls() {
    static const std::vector<std::pair<const char*, Call>> calls = {
        {"row number past the end", [](ReportGrid& g, const Row&, auto&) { g.rows().row(12); }},
        {"negative row number", [](ReportGrid& g, const Row&, auto&) { g.rows().row(-1); }},
        {"item index past the end",
         [](ReportGrid& g, const Row&, auto&) { g.rows().row(0).record().item(4); }},
        {"record past the end", [](ReportGrid& g, const Row&, auto&) { g.records().record(12); }},
        {"column position past the end",
         [](ReportGrid& g, const Row&, auto&) { g.columns().column(4); }},
        {"button position past the end",
         [](ReportGrid& g, const Row&, auto&) {
             g.rows().row(1).record().item(0).itemControls().at(1);
         }},
        {"record of a stale row", [](ReportGrid&, const Row& stale, auto&) { stale.record(); }},
        {"number of a stale row", [](ReportGrid&, const Row& stale, auto&) { stale.index(); }},
        {"bounds through a stale row",
         [](ReportGrid& g, const Row& stale, auto& out) {
             bounds(stale, g.rows().row(0).record().item(1), out);
         }},
        {"bounds of another record's item",
         [](ReportGrid& g, const Row&, auto& out) {
             bounds(g.rows().row(0), g.rows().row(1).record().item(1), out);
         }},
        {"column with a negative width",
         [](ReportGrid& g, const Row&, auto&) { g.columns().add(0, "x", -1, true); }},
        {"column of a negative item",
         [](ReportGrid& g, const Row&, auto&) { g.columns().add(-1, "x", 10, true); }},
        {"negative width by code",
         [](ReportGrid& g, const Row&, auto&) { g.columns().column(0).setWidth(-1); }},
        {"header style out of range",
         [](ReportGrid& g, const Row&, auto&) { g.appearance().setHeaderStyle(5); }},
        {"colour of neither form",
         [](ReportGrid& g, const Row&, auto&) { g.appearance().setBelowRowsColor(0x01000000); }},
        {"unknown system colour",
         [](ReportGrid& g, const Row&, auto&) { g.appearance().setBelowRowsColor(0x800000FF); }},
        {"alignment with unknown bits",
         [](ReportGrid& g, const Row&, auto&) {
             g.rows().row(1).record().item(0).itemControls().at(0).setAlignment(0x200);
         }},
    };
    return calls;
}

} // namespace

class TestGridModel : public QObject {
    Q_OBJECT

private slots:
    void refusedCallsRaiseTheirErrorAndChangeNothing_data();
    void refusedCallsRaiseTheirErrorAndChangeNothing();
    void rowsFollowTheRecordsFromEachRebuild();
    void columnsAreFoundByTheItemTheyShow();
    void handlesOfADestroyedGridAreRefused();
    void aHundredThousandRecordsRebuildAndPaint();
    void accessibleTableDescribesRowsColumnsAndCells();
};

void TestGridModel::refusedCallsRaiseTheirErrorAndChangeNothing_data() {
    QTest::addColumn<int>("call");
    QTest::addColumn<int>("error");
    const int errors[] = {9, 9, 9, 9, 9, 9, 91, 91, 91, 5, 5, 5, 380, 380, 380, 380, 380};
    for (std::size_t i = 0; i < refusedCalls().size(); ++i)
        QTest::newRow(refusedCalls()[i].first) << int(i) << errors[i];
}

void TestGridModel::refusedCallsRaiseTheirErrorAndChangeNothing() {
    QFETCH(int, call);
    QFETCH(int, error);
    ReportGrid grid;
    gridtest::fill(grid);
    const Row stale = grid.rows().row(0);
    grid.rebuild();
    const QString before = snapshot(grid);
    qint32 out[4] = {-7, -7, -7, -7};
    try {
        refusedCalls()[std::size_t(call)].second(grid, stale, out);
        QFAIL("the call was not refused");
    } catch (const host::RuntimeError& e) {
        QCOMPARE(e.number(), error);
    }
    QCOMPARE(snapshot(grid), before);
    QCOMPARE(std::vector<qint32>(out, out + 4), std::vector<qint32>(4, -7));
}

void TestGridModel::rowsFollowTheRecordsFromEachRebuild() {
    ReportGrid grid;
    grid.columns().add(0, "c", 50, false);
    for (int r = 0; r < 3; ++r)
        grid.records().add().addItem(QString::number(r));
    QCOMPARE(grid.rows().count(), 0);

    grid.rebuild();
    QCOMPARE(grid.rows().count(), 3);
    const Row old = grid.rows().row(2);
    QCOMPARE(old.record(), grid.records().record(2));
    QCOMPARE(old.record().item(0).value(), QStringLiteral("2"));
    QVERIFY(old == grid.rows().row(2));

    grid.records().add().addItem("3");
    QCOMPARE(grid.rows().count(), 3); // a record shows only once rebuilt
    grid.rebuild();
    QCOMPARE(grid.rows().count(), 4);
    QVERIFY(!(old == grid.rows().row(2)));
    QCOMPARE(grid.rows().row(2).index(), 2);
    QCOMPARE(grid.rows().row(3).record().index(), 3);
    // What rows hold lives in the records: a caption written before a rebuild survives it.
    grid.rows().row(1).record().item(0).setCaption("kept");
    grid.rebuild();
    QCOMPARE(grid.rows().row(1).record().item(0).caption(), QStringLiteral("kept"));
    QCOMPARE(grid.rows().row(0).record().item(0).caption(), QString());
}

void TestGridModel::columnsAreFoundByTheItemTheyShow() {
    ReportGrid grid;
    grid.columns().add(2, "two", 40, true);
    grid.columns().add(0, "zero", 60, false);
    QCOMPARE(grid.columns().column(0).index(), 2);
    QCOMPARE(grid.columns().find(0)->caption(), QStringLiteral("zero"));
    QVERIFY(*grid.columns().find(0) == grid.columns().column(1));
    QVERIFY(!grid.columns().find(1).has_value());
    QVERIFY(grid.columns().column(0).resizable());
    QVERIFY(!grid.columns().column(1).resizable());
}

void TestGridModel::handlesOfADestroyedGridAreRefused() {
    auto grid = std::make_unique<ReportGrid>();
    gridtest::fill(*grid);
    const report::Column column = grid->columns().column(0);
    const Row row = grid->rows().row(1);
    const report::Item item = row.record().item(0);
    const report::ItemControl control = item.itemControls().at(0);
    report::RowList rows = grid->rows();
    report::Appearance appearance = grid->appearance();
    grid.reset();

    const std::vector<std::function<void()>> calls = {
        [&] { column.width(); },           [&] { row.index(); },  [&] { item.caption(); },
        [&] { control.caption(); },        [&] { rows.count(); }, [&] { item.record(); },
        [&] { appearance.headerStyle(); },
    };
    for (const auto& call : calls) {
        try {
            call();
            QFAIL("a handle of a destroyed grid was served");
        } catch (const host::RuntimeError& e) {
            QCOMPARE(e.number(), 91);
        }
    }
}

void TestGridModel::aHundredThousandRecordsRebuildAndPaint() {
    constexpr int records = 100000;
    gridtest::Shown shown(QSize(400, 300), records);
    ReportGrid& grid = *shown.grid;
    QCOMPARE(grid.rows().count(), records);

    QScrollBar* bar = grid.verticalScrollBar();
    bar->setValue(bar->maximum());
    const QRect last = shown.bounds(records - 1, 3);
    QVERIFY2(shown.body().contains(last.bottomLeft()), "last row scrolled into view");
    grid.rows().row(records - 1).record().item(3).setCaption("the end");
    const QImage image = grid.grab().toImage();
    QVERIFY(!image.isNull());
    const auto hit = grid.hitTest(last.center().x(), last.center().y());
    QCOMPARE(hit->row()->index(), records - 1);
    QCOMPARE(hit->item()->caption(), QStringLiteral("the end"));
}

void TestGridModel::accessibleTableDescribesRowsColumnsAndCells() {
    gridtest::Shown shown;
    ReportGrid& grid = *shown.grid;
    grid.columns().column(3).setTooltip("about three");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&grid);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Table);
    QAccessibleTableInterface* table = iface->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), gridtest::Records);
    QCOMPARE(table->columnCount(), gridtest::Columns);
    QCOMPARE(table->columnDescription(2), QStringLiteral("Head 2"));
    QCOMPARE(table->cellAt(0, 3)->text(QAccessible::Name), QStringLiteral("First caption"));
    QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("Add"));

    QAccessibleInterface* box = table->cellAt(2, 2);
    QVERIFY(box->state().checkable);
    QVERIFY(!box->state().checked);
    grid.rows().row(2).record().item(2).setChecked(true);
    QVERIFY(box->state().checked);
    QCOMPARE(box->tableCellInterface()->rowIndex(), 2);
    QCOMPARE(box->tableCellInterface()->columnIndex(), 2);

    QAccessibleInterface* header = iface->child(3);
    QCOMPARE(header->role(), QAccessible::ColumnHeader);
    QCOMPARE(header->text(QAccessible::Name), QStringLiteral("Head 3"));
    QCOMPARE(header->text(QAccessible::Description), QStringLiteral("about three"));
    QCOMPARE(iface->childCount(), (gridtest::Records + 1) * gridtest::Columns);
    QCOMPARE(iface->indexOfChild(table->cellAt(2, 1)), 3 * gridtest::Columns + 1);

    // Cell rectangles are the item bounds on screen.
    const QRect bounds = shown.bounds(2, 1);
    QCOMPARE(table->cellAt(2, 1)->rect().topLeft(), grid.mapToGlobal(bounds.topLeft()));
    QCOMPARE(iface->childAt(table->cellAt(2, 1)->rect().center().x(),
                            table->cellAt(2, 1)->rect().center().y()),
             table->cellAt(2, 1));
}

QTEST_MAIN(TestGridModel)
#include "test_gridkit_model.moc"
