// The grid's object model on its own, without a view or any widget: what it holds, what it tells
// an observer, how long its handles stay good, and how it sorts.
#include "gridgauge/gridkit/grid_model.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/markup/markup.h"
#include "parse_count.h"

#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

using gridkit::GridModel;

namespace {

// Every notification, in order, as text.
class Log : public gridkit::ModelObserver {
public:
    void itemChanged(qint32 record, qint32 item) override {
        lines << QStringLiteral("item %1 %2").arg(record).arg(item);
    }
    void columnCaptionChanged(qint32 column) override {
        lines << QStringLiteral("caption %1").arg(column);
    }
    void columnAdded(qint32 column) override { lines << QStringLiteral("column %1").arg(column); }
    void rowsChanged(gridkit::RowsChange change) override {
        lines << QStringLiteral("rows %1 %2").arg(change.rowSet).arg(change.order);
    }
    QStringList lines;
};

// Three columns of 50 and four records of three items, rebuilt: item 0 is captioned in record
// order, row 1's item 0 holds a button, row 2's item 2 a check box.
void fill(GridModel& model) {
    for (int c = 0; c < 3; ++c)
        model.columns().add(c, QStringLiteral("C%1").arg(c), 50, true);
    for (int r = 0; r < 4; ++r) {
        gridkit::Record record = model.records().add();
        for (int i = 0; i < 3; ++i)
            record.addItem(QStringLiteral("v%1%2").arg(r).arg(i));
        record.item(0).setCaption(QStringLiteral("r%1").arg(r));
    }
    model.rebuild();
    model.rows().row(1).record().item(0).itemControls().add(5).setCaption("Go");
    model.rows().row(2).record().item(2).setHasCheckBox(true);
}

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const host::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

struct Write {
    const char* name;
    std::function<void(GridModel&)> make;
    QStringList heard;
};

const std::vector<Write>& writes() {
    static const std::vector<Write> table = {
        {"caption",
         [](GridModel& m) { m.rows().row(3).record().item(1).setCaption("x"); },
         {"item 3 1"}},
        {"caption as it is",
         [](GridModel& m) { m.rows().row(3).record().item(1).setCaption(""); },
         {}},
        {"check box ticked",
         [](GridModel& m) { m.rows().row(2).record().item(2).setChecked(true); },
         {"item 2 2"}},
        {"check box as it is",
         [](GridModel& m) { m.rows().row(2).record().item(2).setChecked(false); },
         {}},
        {"button caption",
         [](GridModel& m) {
             m.rows().row(1).record().item(0).itemControls().at(0).setCaption("Stop");
         },
         {"item 1 0"}},
        {"button caption as it is",
         [](GridModel& m) {
             m.rows().row(1).record().item(0).itemControls().at(0).setCaption("Go");
         },
         {}},
        {"button disabled",
         [](GridModel& m) {
             m.rows().row(1).record().item(0).itemControls().at(0).setEnabled(false);
         },
         {"item 1 0"}},
        // Widths are each view's own: the model keeps the one a view starts from.
        {"width", [](GridModel& m) { m.columns().column(1).setWidth(70); }, {}},
        {"column caption",
         [](GridModel& m) { m.columns().column(2).setCaption("Two"); },
         {"caption 2"}},
        {"column added",
         [](GridModel& m) { m.columns().add(0, "again", 10, false); },
         {"column 3"}},
        {"rebuild of the same rows", [](GridModel& m) { m.rebuild(); }, {"rows 0 0"}},
        {"record added, no row yet",
         [](GridModel& m) { m.records().add().addItem("new").setCaption("c"); },
         {}},
        {"record added and rebuilt",
         [](GridModel& m) {
             m.records().add();
             m.rebuild();
         },
         {"rows 1 0"}},
        {"sorted", [](GridModel& m) { m.sortBy(0); }, {"rows 0 0"}}, // already in that order
        {"sorted the other way",
         [](GridModel& m) {
             m.sortBy(0);
             m.sortBy(0);
         },
         {"rows 0 0", "rows 0 1"}},
    };
    return table;
}

} // namespace

class TestObjectModel : public QObject {
    Q_OBJECT

private slots:
    void holdsWhatWasMade();
    void observerHearsOnlyWhatChanged_data();
    void observerHearsOnlyWhatChanged();
    void handlesAreRefusedOnceTheirObjectIsGone();
    void refusedWritesChangeNothing();
    void sortsByReadableTextAndKeepsAddedRowsInOrder();
    void markupCaptionIsOnlyText();
};

void TestObjectModel::holdsWhatWasMade() {
    GridModel model;
    fill(model);
    QCOMPARE(model.columns().count(), 3);
    QCOMPARE(model.columns().column(2).caption(), QStringLiteral("C2"));
    QCOMPARE(model.columns().find(1)->width(), 50);
    QCOMPARE(model.rows().count(), 4);
    const gridkit::Row row = model.rows().row(2);
    QCOMPARE(row.index(), 2);
    QCOMPARE(row.record().item(1).value(), QStringLiteral("v21"));
    QVERIFY(row.record().item(2).hasCheckBox());
    QCOMPARE(model.rows().row(1).record().item(0).itemControls().at(0).id(), 5);
    // Without a view, a cell has no place on screen.
    qint32 bounds[4] = {-1, -1, -1, -1};
    row.itemBounds(row.record().item(1), bounds[0], bounds[1], bounds[2], bounds[3]);
    QCOMPARE(std::vector<qint32>(bounds, bounds + 4), std::vector<qint32>(4, 0));
    // A record shows as a row only once rebuilt.
    model.records().add();
    QCOMPARE(model.rows().count(), 4);
    model.rebuild();
    QCOMPARE(model.rows().count(), 5);
}

void TestObjectModel::observerHearsOnlyWhatChanged_data() {
    QTest::addColumn<int>("write");
    for (std::size_t i = 0; i < writes().size(); ++i)
        QTest::newRow(writes()[i].name) << int(i);
}

void TestObjectModel::observerHearsOnlyWhatChanged() {
    QFETCH(int, write);
    GridModel model;
    fill(model);
    Log log;
    model.addObserver(&log);
    writes()[std::size_t(write)].make(model);
    QCOMPARE(log.lines, writes()[std::size_t(write)].heard);
}

void TestObjectModel::handlesAreRefusedOnceTheirObjectIsGone() {
    auto model = std::make_unique<GridModel>();
    fill(*model);
    const gridkit::Row stale = model->rows().row(0);
    const gridkit::Row fresh = (model->rebuild(), model->rows().row(0));
    QCOMPARE(errorOf([&] { stale.index(); }), 91);
    QCOMPARE(errorOf([&] { stale.record(); }), 91);
    QCOMPARE(fresh.index(), 0);

    const gridkit::Column column = model->columns().column(0);
    const gridkit::Item item = fresh.record().item(1);
    const gridkit::ItemControl button = model->rows().row(1).record().item(0).itemControls().at(0);
    const gridkit::RecordList records = model->records();
    model.reset();
    QCOMPARE(errorOf([&] { fresh.index(); }), 91);
    QCOMPARE(errorOf([&] { column.width(); }), 91);
    QCOMPARE(errorOf([&] { item.caption(); }), 91);
    QCOMPARE(errorOf([&] { button.caption(); }), 91);
    QCOMPARE(errorOf([&] { records.count(); }), 91);
}

void TestObjectModel::refusedWritesChangeNothing() {
    GridModel model;
    fill(model);
    Log log;
    model.addObserver(&log);
    const gridkit::Record record = model.rows().row(1).record();
    QCOMPARE(errorOf([&] { record.item(3); }), 9);
    QCOMPARE(errorOf([&] { model.records().record(4); }), 9);
    QCOMPARE(errorOf([&] { model.columns().column(1).setWidth(-1); }), 380);
    QCOMPARE(errorOf([&] { record.item(0).itemControls().at(0).setAlignment(0x200); }), 380);
    QCOMPARE(errorOf([&] { model.columns().add(-1, "x", 10, true); }), 5);
    qint32 out[4] = {};
    QCOMPARE(errorOf([&] {
                 model.rows().row(0).itemBounds(record.item(0), out[0], out[1], out[2], out[3]);
             }),
             5);
    QCOMPARE(log.lines, QStringList());
    QCOMPARE(model.columns().column(1).width(), 50);
    QCOMPARE(model.columns().count(), 3);
    model.columns().column(1).setWidth(70);
    QCOMPARE(model.columns().column(1).width(), 70);
    QCOMPARE(log.lines, QStringList());
}

void TestObjectModel::sortsByReadableTextAndKeepsAddedRowsInOrder() {
    GridModel model;
    // What a view that shows markup sorts by: a markup caption's text.
    const gridkit::SortKey key = [](const QString& caption) {
        const markup::DocumentPtr document = markup::parse(caption);
        return document ? markup::textContent(*document) : caption;
    };
    model.columns().add(0, "name", 50, true);
    const QStringList captions{"pear", "<TextBlock>apple</TextBlock>", "fig"};
    for (const QString& caption : captions)
        model.records().add().addItem(QString()).setCaption(caption);
    model.rebuild(key);
    model.sortBy(0, key);
    auto shown = [&] {
        QList<int> rows;
        for (int position = 0; position < model.rowCount(); ++position)
            rows << model.rowAtPosition(position);
        return rows;
    };
    QCOMPARE(shown(), (QList<int>{1, 2, 0})); // the markup caption sorts as "apple"
    model.records().add().addItem(QString()).setCaption("banana");
    QCOMPARE(shown(), (QList<int>{1, 2, 0})); // no row for it before the rebuild
    model.rebuild(key);
    QCOMPARE(shown(), (QList<int>{1, 3, 2, 0}));
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(model.rowAtPosition(model.positionOfRow(row)), row);
    model.clearSort();
    QCOMPARE(shown(), (QList<int>{0, 1, 2, 3}));
}

// The model holds captions as data: a markup caption is text to it, read by nobody until a view
// paints or reads it.
void TestObjectModel::markupCaptionIsOnlyText() {
    GridModel model;
    model.columns().add(0, "bar", 50, true);
    gridkit::Item item = model.records().add().addItem(QString());
    model.rebuild();
    const QString text = QStringLiteral("<Border><TextBlock>75%</TextBlock></Border>");
    const quint64 start = markup::parseCount();
    item.setCaption(text);
    QCOMPARE(item.caption(), text);
    model.sortBy(0);
    QCOMPARE(markup::parseCount(), start);
}

QTEST_MAIN(TestObjectModel)
#include "test_gridkit_object_model.moc"
