// frmMain as it is created, loaded, shown and resized.
#include "app/startup.h"
#include "dispatcher_testing.h"
#include "form_testing.h"
#include "frm_main_probe.h"

#include "grid/grid_control.h"
#include "gridgauge/controlkit/controlkit.h"
#include "gridgauge/controlkit/label.h"
#include "gridgauge/controlkit/progress_bar.h"
#include "gridgauge/host/timer.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ::registerControls(); }

    void opensWithItsDesignTimeSettings();
    void controlsAreCreatedInOrderWithTheirRectangles_data();
    void controlsAreCreatedInOrderWithTheirRectangles();
    void tabOrderFollowsTheTabColumn();
    void loadSetsTheBarAndArmsTheTimerWithoutATick();
    void gridFillsTheClientAreaAfterEveryResize_data();
    void gridFillsTheClientAreaAfterEveryResize();
    void closingTheWindowEndsTheLoopNormally();
};

void TestWindow::opensWithItsDesignTimeSettings() {
    frmMain f;
    QCOMPARE(f.caption(), QStringLiteral("Form1"));
    QCOMPARE(f.geometry(), QRect(242, 110, 523, 382));
    QCOMPARE(f.scaleWidth(), 7845.0f);
    QCOMPARE(f.scaleHeight(), 5730.0f);
    QCOMPARE(frmMainProbe::ProgressMarkup(f), QString());
    QCOMPARE(frmMainProbe::DragStartX(f), 0);
    QCOMPARE(frmMainProbe::DragStartY(f), 0);
    QCOMPARE(frmMainProbe::AllowDrag(f), false);
    QVERIFY(!f.Timer1->enabled());
    QCOMPARE(f.Timer1->interval(), 1);
    QCOMPARE(f.ProgressBar1->minimum(), 0);
    QCOMPARE(f.ProgressBar1->maximum(), 100);
    QCOMPARE(f.ProgressBar1->text(), QString());
    const QStringList captions{"Label 0", "Label 1", "Label 2"};
    const QStringList tags{"EAN On", "Label 1", "Label 2"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(f.Shape1[i]->caption(), captions[i]);
        QCOMPARE(f.Shape1[i]->tag(), tags[i]);
        QCOMPARE(f.Shape1[i]->accessibleDescription(), tags[i]);
    }
}

void TestWindow::controlsAreCreatedInOrderWithTheirRectangles_data() {
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    // Twips at 15 per pixel.
    QTest::newRow("grid") << 0 << "wndReportControlData" << QRect(0, 0, 337, 145);
    QTest::newRow("Shape1(0)") << 1 << "Shape1_0" << QRect(0, 0, 89, 25);
    QTest::newRow("Shape1(1)") << 2 << "Shape1_1" << QRect(88, 0, 89, 25);
    QTest::newRow("Shape1(2)") << 3 << "Shape1_2" << QRect(184, 0, 89, 25);
    QTest::newRow("ProgressBar1") << 4 << "ProgressBar1" << QRect(32, 176, 153, 25);
}

void TestWindow::controlsAreCreatedInOrderWithTheirRectangles() {
    QFETCH(int, order);
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    frmMain f;
    const QList<QWidget*> controls = f.controls();
    QCOMPARE(controls.size(), 5);
    QCOMPARE(controls[order]->objectName(), name);
    QCOMPARE(controls[order]->geometry(), pixels);
}

void TestWindow::tabOrderFollowsTheTabColumn() {
    frmMain f;
    QWidget* expected[] = {f.wndReportControlData, f.Shape1[0], f.Shape1[1], f.Shape1[2],
                           f.ProgressBar1};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(host::testing::tabIndex(*expected[i]), i);
    // The grid is the one control that takes focus, so it has it when the window opens.
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QVERIFY(f.wndReportControlData->hasFocus() || f.wndReportControlData->viewport()->hasFocus());
}

void TestWindow::loadSetsTheBarAndArmsTheTimerWithoutATick() {
    frmMain f;
    QSignalSpy ticks(f.Timer1, &host::Timer::tick);
    f.load();
    QCOMPARE(f.ProgressBar1->value(), 75);
    QVERIFY(f.Timer1->enabled());
    QCOMPARE(ticks.count(), 0);
    QCOMPARE(f.caption(), QStringLiteral("Form1"));
}

void TestWindow::gridFillsTheClientAreaAfterEveryResize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(800, 600);
    QTest::newRow("smaller") << QSize(120, 90);
    QTest::newRow("zero wide") << QSize(0, 300);
    QTest::newRow("zero high") << QSize(300, 0);
    QTest::newRow("odd") << QSize(641, 479);
}

void TestWindow::gridFillsTheClientAreaAfterEveryResize() {
    QFETCH(QSize, size);
    frmMain f;
    f.load();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.wndReportControlData->geometry(), QRect(QPoint(0, 0), f.size()));
    QTRY_VERIFY(!f.Timer1->enabled()); // the first refresh has placed the bar

    QList<QRect> others;
    for (QWidget* w : f.controls())
        if (w != f.wndReportControlData)
            others.append(w->geometry());
    f.resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(f.size(), size);
    QCOMPARE(f.wndReportControlData->geometry(), QRect(QPoint(0, 0), size));
    QList<QRect> after;
    for (QWidget* w : f.controls())
        if (w != f.wndReportControlData)
            after.append(w->geometry());
    QCOMPARE(after, others); // the labels and the bar stay where they were
}

void TestWindow::closingTheWindowEndsTheLoopNormally() {
    frmMain f;
    f.load();
    f.show();
    QTimer::singleShot(50, &f, &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!host::testing::failed());
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
