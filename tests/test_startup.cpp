// What start-up leaves in the grid before and after the first refresh.
#include "app_fixture.h"

#include <QSignalSpy>

using namespace app_fixture;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void columnsShowTheirItemsWithCaptionsAndTooltips();
    void recordsAndRowsHoldFourItemsEach();
    void decorationsStandOnlyWhereTheyBelong_data();
    void decorationsStandOnlyWhereTheyBelong();
    void buttonsAndCheckBoxAreTheOnlyControls();
    void loadLeavesTheRefreshArmedAndTheCaptionAlone();
    void startUpSettingsAreInPlace();
    void contentIsRebuiltTwiceAfterTheRecordsAndAfterTheDecorations();
};

void TestStartup::columnsShowTheirItemsWithCaptionsAndTooltips() {
    auto f = start(false);
    report::ColumnList columns = f->wndReportControlData->columns();
    QCOMPARE(columns.count(), 4);
    int x = 0;
    for (int k = 0; k < 4; ++k) {
        const report::Column c = columns.column(k);
        QCOMPARE(c.caption(), QStringLiteral("Col %1").arg(k));
        QCOMPARE(c.tooltip(), QStringLiteral("Sort Col %1").arg(k));
        QCOMPARE(c.index(), k);
        QCOMPARE(c.width(), 100);
        QVERIFY(c.resizable());
        // Column k shows item k, left to right.
        QCOMPARE(cell(*f, 3, k).left(), x);
        x += 100;
    }
}

void TestStartup::recordsAndRowsHoldFourItemsEach() {
    auto f = start(false);
    QCOMPARE(f->wndReportControlData->records().count(), 11);
    QCOMPARE(f->wndReportControlData->rows().count(), 11);
    for (int r = 0; r < 11; ++r) {
        const report::Row row = f->wndReportControlData->rows().row(r);
        QCOMPARE(row.index(), r);
        QCOMPARE(row.record(), f->wndReportControlData->records().record(r));
        QCOMPARE(row.record().itemCount(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(row.record().item(i).value(), QString());
            QCOMPARE(row.record().item(i).index(), i);
        }
    }
}

void TestStartup::decorationsStandOnlyWhereTheyBelong_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::newRow("(0, 3) vendor credit") << 0 << 3 << "Thanks to Gridwright (original control)";
    QTest::newRow("(1, 3) person credit") << 1 << 3 << "Thanks to Maravel";
    QTest::newRow("(2, 3) person credit again") << 2 << 3 << "Thanks to Maravel";
    QTest::newRow("(2, 2) check box") << 2 << 2 << "Allow drag";
    QTest::newRow("(0, 1) overlay cell") << 0 << 1 << "";
    QTest::newRow("(1, 1) follower cell") << 1 << 1 << "";
    QTest::newRow("(2, 1) seeded cell") << 2 << 1 << "";
    QTest::newRow("(1, 0) button cell") << 1 << 0 << "";
    for (int r = 3; r < 11; ++r)
        for (int i = 0; i < 4; ++i)
            QTest::addRow("(%d, %d)", r, i) << r << i << "";
}

void TestStartup::decorationsStandOnlyWhereTheyBelong() {
    QFETCH(int, row);
    QFETCH(int, index);
    QFETCH(QString, caption);
    auto f = start(false); // before the first refresh writes the progress cells
    QCOMPARE(app_fixture::caption(*f, row, index), caption);
}

void TestStartup::buttonsAndCheckBoxAreTheOnlyControls() {
    auto f = start(false);
    for (int r = 0; r < 11; ++r) {
        for (int i = 0; i < 4; ++i) {
            const report::Item it = item(*f, r, i);
            const bool isCheckBox = r == 2 && i == 2;
            QCOMPARE(it.hasCheckBox(), isCheckBox);
            QVERIFY(!it.checked());
            const int controls = it.itemControls().count();
            if (r == 1 && (i == 0 || i == 2)) {
                QCOMPARE(controls, 1);
                const report::ItemControl button = it.itemControls().at(0);
                QCOMPARE(button.caption(), i == 0 ? QStringLiteral("Up") : QStringLiteral("Down"));
                QCOMPARE(button.id(), i == 0 ? 1 : 2);
                QVERIFY(button.enabled());
                QCOMPARE(button.alignment(), qint16(16));
            } else {
                QCOMPARE(controls, 0);
            }
        }
    }
}

void TestStartup::loadLeavesTheRefreshArmedAndTheCaptionAlone() {
    auto f = start(false);
    QVERIFY(f->Timer1->enabled());
    QCOMPARE(f->ProgressBar1->value(), 75);
    QCOMPARE(f->caption(), QStringLiteral("Form1"));
    QVERIFY(settle(*f));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 75 %"));
}

void TestStartup::startUpSettingsAreInPlace() {
    auto f = start(false);
    const report::Grid& g = *f->wndReportControlData;
    QVERIFY(g.markupEnabled());
    QVERIFY(!g.groupBoxVisible());
    QVERIFY(!g.columnReorderAllowed());
    QVERIFY(!g.sortOnHeaderClick());
    QVERIFY(g.cellFocus());
    QVERIFY(g.gridLinesVisible());
    report::Appearance a = f->wndReportControlData->appearance();
    QCOMPARE(a.headerStyle(), 4);
    QVERIFY(a.themedControls());
    QCOMPARE(a.belowRowsColor(), 0x8000000Fu);
    QVERIFY(a.highlightFocusedRow());
}

void TestStartup::contentIsRebuiltTwiceAfterTheRecordsAndAfterTheDecorations() {
    registerControlsOnce();
    frmMain f;
    QList<int> columnsAtRebuild;
    QList<int> controlsAtRebuild;
    connect(f.wndReportControlData, &report::Grid::rebuilt, [&] {
        columnsAtRebuild << f.wndReportControlData->columns().count();
        // The decorations come after the first rebuild, reached through the rows it made.
        controlsAtRebuild << (f.wndReportControlData->rows().count() > 1
                                  ? item(f, 1, 0).itemControls().count()
                                  : -1);
    });
    f.load();
    QCOMPARE(columnsAtRebuild, (QList<int>{4, 4}));
    QCOMPARE(controlsAtRebuild, (QList<int>{0, 1}));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
