// The grid's object model as the program meets it, over the Qt model of its records: what it
// holds, what it tells the views (only what changed), how long its handles stay good, how it
// sorts, and that Qt's own model tester finds nothing wrong with it.
#include "grid/grid_control.h"

#include "gridgauge/gridkit/roles.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/markup/markup.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

using report::Grid;

namespace {

// Three columns of 50 and four records of three items, rebuilt: item 0 is captioned in record
// order, row 1's item 0 holds a button, row 2's item 2 a check box.
void fill(Grid& grid) {
    for (int c = 0; c < 3; ++c)
        grid.columns().add(c, QStringLiteral("C%1").arg(c), 50, true);
    for (int r = 0; r < 4; ++r) {
        report::Record record = grid.records().add();
        for (int i = 0; i < 3; ++i)
            record.addItem(QStringLiteral("v%1%2").arg(r).arg(i));
        record.item(0).setCaption(QStringLiteral("r%1").arg(r));
    }
    grid.rebuild();
    grid.rows().row(1).record().item(0).itemControls().add(5).setCaption("Go");
    grid.rows().row(2).record().item(2).setHasCheckBox(true);
}

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const host::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// What the model tells its views, in order, as text.
struct Heard {
    explicit Heard(const QAbstractItemModel& model) {
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             lines << QStringLiteral("data %1 %2 to %3 %4")
                                          .arg(from.row())
                                          .arg(from.column())
                                          .arg(to.row())
                                          .arg(to.column());
                         });
        QObject::connect(&model, &QAbstractItemModel::headerDataChanged,
                         [this](Qt::Orientation, int first) {
                             lines << QStringLiteral("header %1").arg(first);
                         });
        QObject::connect(&model, &QAbstractItemModel::columnsInserted,
                         [this](const QModelIndex&, int first) {
                             lines << QStringLiteral("columns %1").arg(first);
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex&, int first, int last) {
                             lines << QStringLiteral("rows %1 %2").arg(first).arg(last);
                         });
        QObject::connect(&model, &QAbstractItemModel::layoutChanged,
                         [this] { lines << QStringLiteral("layout"); });
    }
    QStringList lines;
};

struct Write {
    const char* name;
    std::function<void(Grid&)> make;
    QStringList heard;
};

const std::vector<Write>& writes() {
    static const std::vector<Write> table = {
        {"caption",
         [](Grid& g) { g.rows().row(3).record().item(1).setCaption("x"); },
         {"data 3 1 to 3 1"}},
        {"caption as it is", [](Grid& g) { g.rows().row(3).record().item(1).setCaption(""); }, {}},
        {"check box ticked",
         [](Grid& g) { g.rows().row(2).record().item(2).setChecked(true); },
         {"data 2 2 to 2 2"}},
        {"check box as it is",
         [](Grid& g) { g.rows().row(2).record().item(2).setChecked(false); },
         {}},
        {"button caption",
         [](Grid& g) { g.rows().row(1).record().item(0).itemControls().at(0).setCaption("Stop"); },
         {"data 1 0 to 1 0"}},
        {"button caption as it is",
         [](Grid& g) { g.rows().row(1).record().item(0).itemControls().at(0).setCaption("Go"); },
         {}},
        {"button disabled",
         [](Grid& g) { g.rows().row(1).record().item(0).itemControls().at(0).setEnabled(false); },
         {"data 1 0 to 1 0"}},
        // A width is the view's: nothing in the model changes.
        {"width", [](Grid& g) { g.columns().column(1).setWidth(70); }, {}},
        {"column caption", [](Grid& g) { g.columns().column(2).setCaption("Two"); }, {"header 2"}},
        {"column added", [](Grid& g) { g.columns().add(0, "again", 10, false); }, {"columns 3"}},
        {"rebuild of the same rows", [](Grid& g) { g.rebuild(); }, {}},
        {"record added, no row yet",
         [](Grid& g) { g.records().add().addItem("new").setCaption("c"); },
         {}},
        {"record added and rebuilt",
         [](Grid& g) {
             g.records().add();
             g.rebuild();
         },
         {"rows 4 4"}},
        {"sorted", [](Grid& g) { g.model().sort(0); }, {"layout"}},
    };
    return table;
}

QList<int> shownRecords(const report::RecordsModel& model) {
    QList<int> records;
    for (int position = 0; position < model.rowCount(); ++position)
        records << model.recordAt(position);
    return records;
}

} // namespace

class TestRecordsModel : public QObject {
    Q_OBJECT

private slots:
    void holdsWhatWasMade();
    void viewsHearOnlyWhatChanged_data();
    void viewsHearOnlyWhatChanged();
    void handlesAreRefusedOnceTheirObjectIsGone();
    void refusedWritesChangeNothing();
    void sortsByReadableTextAndKeepsAddedRowsInOrder();
    void showsItsCellsInQtsRoles();
    void passesQtsModelTester();
};

void TestRecordsModel::holdsWhatWasMade() {
    Grid grid;
    fill(grid);
    QCOMPARE(grid.columns().count(), 3);
    QCOMPARE(grid.columns().column(2).caption(), QStringLiteral("C2"));
    QCOMPARE(grid.columns().find(1)->width(), 50);
    QCOMPARE(grid.rows().count(), 4);
    const report::Row row = grid.rows().row(2);
    QCOMPARE(row.index(), 2);
    QCOMPARE(row.record().item(1).value(), QStringLiteral("v21"));
    QVERIFY(row.record().item(2).hasCheckBox());
    QCOMPARE(grid.rows().row(1).record().item(0).itemControls().at(0).id(), 5);
    // A record shows as a row only once rebuilt.
    grid.records().add();
    QCOMPARE(grid.rows().count(), 4);
    QCOMPARE(grid.model().rowCount(), 4);
    grid.rebuild();
    QCOMPARE(grid.rows().count(), 5);
}

void TestRecordsModel::viewsHearOnlyWhatChanged_data() {
    QTest::addColumn<int>("write");
    for (std::size_t i = 0; i < writes().size(); ++i)
        QTest::newRow(writes()[i].name) << int(i);
}

void TestRecordsModel::viewsHearOnlyWhatChanged() {
    QFETCH(int, write);
    Grid grid;
    fill(grid);
    Heard heard(grid.model());
    writes()[std::size_t(write)].make(grid);
    QCOMPARE(heard.lines, writes()[std::size_t(write)].heard);
}

void TestRecordsModel::handlesAreRefusedOnceTheirObjectIsGone() {
    auto grid = std::make_unique<Grid>();
    fill(*grid);
    const report::Row stale = grid->rows().row(0);
    const report::Row fresh = (grid->rebuild(), grid->rows().row(0));
    QCOMPARE(errorOf([&] { stale.index(); }), 91);
    QCOMPARE(errorOf([&] { stale.record(); }), 91);
    QCOMPARE(fresh.index(), 0);

    const report::Column column = grid->columns().column(0);
    const report::Item item = fresh.record().item(1);
    const report::ItemControl button = grid->rows().row(1).record().item(0).itemControls().at(0);
    const report::RecordList records = grid->records();
    report::Appearance appearance = grid->appearance();
    grid.reset();
    QCOMPARE(errorOf([&] { fresh.index(); }), 91);
    QCOMPARE(errorOf([&] { column.width(); }), 91);
    QCOMPARE(errorOf([&] { item.caption(); }), 91);
    QCOMPARE(errorOf([&] { button.caption(); }), 91);
    QCOMPARE(errorOf([&] { records.count(); }), 91);
    QCOMPARE(errorOf([&] { appearance.setHeaderStyle(4); }), 91);
}

void TestRecordsModel::refusedWritesChangeNothing() {
    Grid grid;
    fill(grid);
    Heard heard(grid.model());
    const report::Record record = grid.rows().row(1).record();
    QCOMPARE(errorOf([&] { record.item(3); }), 9);
    QCOMPARE(errorOf([&] { grid.records().record(4); }), 9);
    QCOMPARE(errorOf([&] { grid.rows().row(4); }), 9);
    QCOMPARE(errorOf([&] { grid.columns().column(3); }), 9);
    QCOMPARE(errorOf([&] { record.item(0).itemControls().at(1); }), 9);
    QCOMPARE(errorOf([&] { grid.columns().column(1).setWidth(-1); }), 380);
    QCOMPARE(errorOf([&] { record.item(0).itemControls().at(0).setAlignment(0x200); }), 380);
    QCOMPARE(errorOf([&] { grid.appearance().setHeaderStyle(5); }), 380);
    QCOMPARE(errorOf([&] { grid.appearance().setBelowRowsColor(0x01000000); }), 380);
    QCOMPARE(errorOf([&] { grid.columns().add(-1, "x", 10, true); }), 5);
    qint32 out[4] = {};
    QCOMPARE(errorOf([&] {
                 grid.rows().row(0).itemBounds(record.item(0), out[0], out[1], out[2], out[3]);
             }),
             5);
    QCOMPARE(heard.lines, QStringList());
    QCOMPARE(grid.columns().column(1).width(), 50);
    QCOMPARE(grid.columns().count(), 3);
    QCOMPARE(grid.appearance().headerStyle(), 4);
}

void TestRecordsModel::sortsByReadableTextAndKeepsAddedRowsInOrder() {
    Grid grid;
    grid.setMarkupEnabled(true); // a markup caption sorts by what it reads
    grid.columns().add(0, "name", 50, true);
    const QStringList captions{"pear", "<TextBlock>apple</TextBlock>", "fig"};
    for (const QString& caption : captions)
        grid.records().add().addItem(QString()).setCaption(caption);
    grid.rebuild();
    report::RecordsModel& model = grid.model();
    model.sort(0);
    QCOMPARE(shownRecords(model), (QList<int>{1, 2, 0}));
    QCOMPARE(grid.rows().row(0).record().item(0).caption(), QStringLiteral("pear"));
    grid.records().add().addItem(QString()).setCaption("banana");
    QCOMPARE(shownRecords(model), (QList<int>{1, 2, 0})); // no row for it before the rebuild
    grid.rebuild();
    QCOMPARE(shownRecords(model), (QList<int>{1, 3, 2, 0}));
    for (int record = 0; record < model.rowCount(); ++record)
        QCOMPARE(model.recordAt(model.positionOf(record)), record);
    model.sort(0, Qt::DescendingOrder);
    QCOMPARE(shownRecords(model), (QList<int>{0, 2, 3, 1}));
    grid.setSortOnHeaderClick(false); // off again: record order
    QCOMPARE(shownRecords(model), (QList<int>{0, 1, 2, 3}));
}

void TestRecordsModel::showsItsCellsInQtsRoles() {
    Grid grid;
    fill(grid);
    const QAbstractItemModel& model = grid.model();
    QCOMPARE(model.index(0, 0).data(), QVariant(QStringLiteral("r0")));
    QCOMPARE(model.index(1, 0).data(gridgauge::gridkit::ButtonsRole), QVariant(QStringList{"Go"}));
    QCOMPARE(model.index(1, 0).data(gridgauge::gridkit::ButtonsEnabledRole),
             QVariant(QVariantList{true}));
    QCOMPARE(model.index(2, 2).data(Qt::CheckStateRole), QVariant(Qt::Unchecked));
    QVERIFY(!model.index(2, 1).data(Qt::CheckStateRole).isValid());
    QVERIFY(model.flags(model.index(2, 2)).testFlag(Qt::ItemIsUserCheckable));
    QVERIFY(!model.flags(model.index(2, 1)).testFlag(Qt::ItemIsUserCheckable));
    QCOMPARE(model.headerData(1, Qt::Horizontal), QVariant(QStringLiteral("C1")));
    // A view's tick is the user's: it changes the box and says so.
    QSignalSpy ticked(&grid.model(), &report::RecordsModel::userChecked);
    QVERIFY(grid.model().setData(model.index(2, 2), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(ticked.count(), 1);
    QVERIFY(grid.rows().row(2).record().item(2).checked());
    QVERIFY(!grid.model().setData(model.index(2, 1), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!grid.model().setData(model.index(2, 2), "text", Qt::DisplayRole));
}

// Qt's own checks of a model, run while it is filled, rebuilt, sorted and changed.
void TestRecordsModel::passesQtsModelTester() {
    Grid grid;
    QAbstractItemModelTester tester(&grid.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    fill(grid);
    grid.setMarkupEnabled(true);
    grid.rows().row(0).record().item(1).setCaption("<TextBlock>75%</TextBlock>");
    grid.rows().row(1).record().item(0).itemControls().at(0).setAlignment(Qt::AlignLeft);
    grid.model().sort(0, Qt::DescendingOrder);
    grid.records().add().addItem("late");
    grid.rebuild();
    grid.columns().add(2, "again", 30, false);
    grid.model().setData(grid.model().index(2, 2), Qt::Checked, Qt::CheckStateRole);
    grid.setSortOnHeaderClick(false);
}

QTEST_MAIN(TestRecordsModel)
#include "test_records_model.moc"
