// The deferred refresh and the Up and Down buttons, through real input on the real window.
#include "app_fixture.h"
#include "dispatcher_testing.h"

#include "progress/markup.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

using namespace app_fixture;

namespace {

QString nestedFor(const frmMain& f, int percent) {
    const QRect follower = cell(f, 1, 1);
    return BuildNestedMarkup(follower.width(), follower.height(), percent);
}

QRect barOver(const frmMain& f) {
    const QRect overlay = cell(f, 0, 1);
    return QRect(overlay.left(), overlay.top(), overlay.width(), 20);
}

void click(frmMain& f, int row, int index) {
    mouseClick(pointer(f), Qt::LeftButton, {}, cell(f, row, index).center());
}

// A click as the pointer gives it: to the top-level window, at the cell's centre in its
// coordinates, for Qt to route to whatever lies there.
void clickInWindow(frmMain& f, int row, int index) {
    const QPoint at = inWindow(f, cell(f, row, index).center());
    QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {}, at);
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestRefresh : public QObject {
    Q_OBJECT

private slots:
    void firstTickFillsTheCellsAndLaysTheBarOverItsCell();
    void upAndDownStepTheBarAtOnceAndTheCellsOnTheNextTick();
    void otherButtonCaptionsOnlyArm_data();
    void otherButtonCaptionsOnlyArm();
    void upAtTheTopHoldsTheTop();
    void armingsBeforeATickGiveOneRun();
    void theBarStaysTwentyPixelsHighOverATallRow();
    void aSettledWindowIdles();
    void seededCellKeepsItsTextUntilItIsEmptied();
    void narrowFollowerCellGivesANegativeBarAndStillDraws();
    void zeroPercentReadsZero();
    void resizingAColumnByItsHeaderIsFollowed();
    void resizingTheWindowAloneChangesNothing();
    void scrollingCarriesTheBarWithItsCell();
};

void TestRefresh::firstTickFillsTheCellsAndLaysTheBarOverItsCell() {
    auto f = start();
    const QString nested = nestedFor(*f, 75);
    QCOMPARE(caption(*f, 1, 1), nested);
    QCOMPARE(caption(*f, 2, 1), nested);
    QCOMPARE(frmMainProbe::ProgressMarkup(*f), nested);
    QCOMPARE(caption(*f, 0, 1), QString()); // the overlay cell is never written
    QCOMPARE(f->ProgressBar1->geometry(), barOver(*f));
    QCOMPARE(f->children().constLast(), f->ProgressBar1); // in front of every other control
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 75 %"));
    QVERIFY(!f->Timer1->enabled());
}

void TestRefresh::upAndDownStepTheBarAtOnceAndTheCellsOnTheNextTick() {
    auto f = start();
    const QString at75 = nestedFor(*f, 75);

    click(*f, 1, 0); // Up
    QCOMPARE(f->ProgressBar1->value(), 76);
    QVERIFY(f->Timer1->enabled());
    QCOMPARE(caption(*f, 1, 1), at75); // nothing is drawn before the tick
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 75 %"));
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), nestedFor(*f, 76));
    QCOMPARE(caption(*f, 2, 1), at75); // the seeded cell keeps what it had
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 76 %"));

    click(*f, 1, 2); // Down
    click(*f, 1, 2); // Down
    QCOMPARE(f->ProgressBar1->value(), 74);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), nestedFor(*f, 74));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 74 %"));
}

void TestRefresh::otherButtonCaptionsOnlyArm_data() {
    QTest::addColumn<QString>("buttonCaption");
    QTest::newRow("lower case") << "up";
    QTest::newRow("upper case") << "DOWN";
    QTest::newRow("trailing blank") << "Up ";
    QTest::newRow("leading blank") << " Down";
    QTest::newRow("empty") << "";
}

void TestRefresh::otherButtonCaptionsOnlyArm() {
    QFETCH(QString, buttonCaption);
    auto f = start();
    item(*f, 1, 0).itemControls().at(0).setCaption(buttonCaption);
    QSignalSpy ticks(f->Timer1, &host::Timer::tick);
    click(*f, 1, 0);
    QCOMPARE(f->ProgressBar1->value(), 75);
    QVERIFY(f->Timer1->enabled());
    QVERIFY(settle(*f));
    QCOMPARE(ticks.count(), 1);
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 75 %"));
}

void TestRefresh::upAtTheTopHoldsTheTop() {
    auto f = start();
    f->ProgressBar1->setValue(100);
    click(*f, 1, 0);
    QCOMPARE(f->ProgressBar1->value(), 100);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), nestedFor(*f, 100));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 100 %"));
    f->ProgressBar1->setValue(0);
    click(*f, 1, 2);
    QCOMPARE(f->ProgressBar1->value(), 0);
    QVERIFY(!host::testing::failed());
}

void TestRefresh::armingsBeforeATickGiveOneRun() {
    auto f = start();
    QSignalSpy ticks(f->Timer1, &host::Timer::tick);
    QSignalSpy captions(f.get(), &QWidget::windowTitleChanged);
    // A click through the window runs the event loop, so a 1 ms timer could tick between two
    // clicks in a slow build; a longer interval keeps all three armings before the first tick.
    f->Timer1->setInterval(200);
    click(*f, 1, 0);                                           // Up
    click(*f, 1, 0);                                           // Up
    f->wndReportControlData->columns().column(3).setWidth(90); // a width notification
    QVERIFY(settle(*f));
    QTest::qWait(30);
    QCOMPARE(ticks.count(), 1);
    // One run shows the final figure once; nothing in between ever reached the caption.
    QCOMPARE(captions.count(), 1);
    QCOMPARE(captions.at(0).at(0).toString(), QStringLiteral("Progress percent: 77 %"));
}

void TestRefresh::theBarStaysTwentyPixelsHighOverATallRow() {
    auto f = start();
    QFont big = f->wndReportControlData->font();
    big.setPixelSize(40);
    f->wndReportControlData->setFont(big);
    clickInWindow(*f, 1, 0); // Up: a refresh with the taller rows
    QVERIFY(settle(*f));
    QVERIFY(cell(*f, 0, 1).height() > 40);
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 76 %"));
    QCOMPARE(f->ProgressBar1->geometry(), barOver(*f));
    QCOMPARE(f->ProgressBar1->height(), 20);
}

void TestRefresh::aSettledWindowIdles() {
    auto f = start();
    QTest::qWait(100); // let the first paints land
    QSignalSpy ticks(f->Timer1, &host::Timer::tick);
    PaintCounter paints(surface(*f));
    QTest::qWait(1000);
    QCOMPARE(ticks.count(), 0);
    QCOMPARE(paints.paints, 0);
}

void TestRefresh::seededCellKeepsItsTextUntilItIsEmptied() {
    auto f = start();
    item(*f, 2, 1).setCaption(QStringLiteral("kept"));
    click(*f, 1, 0);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 2, 1), QStringLiteral("kept"));
    item(*f, 2, 1).setCaption(QString());
    click(*f, 1, 0);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 2, 1), nestedFor(*f, 77));
    QCOMPARE(caption(*f, 2, 1), frmMainProbe::ProgressMarkup(*f));
}

void TestRefresh::narrowFollowerCellGivesANegativeBarAndStillDraws() {
    auto f = start();
    f->wndReportControlData->columns().column(1).setWidth(5);
    QVERIFY(settle(*f));
    QCOMPARE(cell(*f, 1, 1).width(), 5);
    QVERIFY(caption(*f, 1, 1).contains(QLatin1String("<Border Width='-3'")));
    QCOMPARE(f->ProgressBar1->width(), 5);
    const QImage image = f->grab().toImage();
    QVERIFY(!image.isNull());
    f->wndReportControlData->columns().column(1).setWidth(0);
    QVERIFY(settle(*f));
    QVERIFY(caption(*f, 1, 1).contains(QLatin1String("<Border Width='-6'")));
    QCOMPARE(f->ProgressBar1->width(), 0);
    QVERIFY(!f->grab().toImage().isNull());
    QVERIFY(!host::testing::failed());
}

void TestRefresh::zeroPercentReadsZero() {
    auto f = start();
    f->ProgressBar1->setValue(1);
    click(*f, 1, 2);
    QVERIFY(settle(*f));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 0 %"));
    QVERIFY(caption(*f, 1, 1).contains(QLatin1String("<Border Width='0'")));
}

void TestRefresh::resizingAColumnByItsHeaderIsFollowed() {
    auto f = start();
    QWindow* window = f->windowHandle();
    const int y = f->wndReportControlData->headerHeight() / 2;
    const QPoint edge = inWindow(*f, QPoint(cell(*f, 0, 1).right() + 1, y));
    QTest::mousePress(window, Qt::LeftButton, {}, edge);
    QTest::mouseMove(window, edge + QPoint(50, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, edge + QPoint(50, 0));
    QCOMPARE(f->wndReportControlData->columns().column(1).width(), 150);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), BuildNestedMarkup(150, cell(*f, 1, 1).height(), 75));
    QCOMPARE(f->ProgressBar1->geometry(), barOver(*f));
    QCOMPARE(f->ProgressBar1->width(), 150);
}

void TestRefresh::resizingTheWindowAloneChangesNothing() {
    auto f = start();
    const QString follower = caption(*f, 1, 1);
    const QRect bar = f->ProgressBar1->geometry();
    QSignalSpy ticks(f->Timer1, &host::Timer::tick);
    f->resize(700, 500);
    QTest::qWait(50);
    QCOMPARE(f->wndReportControlData->size(), QSize(700, 500));
    QCOMPARE(ticks.count(), 0);
    QVERIFY(!f->Timer1->enabled());
    QCOMPARE(caption(*f, 1, 1), follower);
    QCOMPARE(f->ProgressBar1->geometry(), bar);
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 75 %"));
}

void TestRefresh::scrollingCarriesTheBarWithItsCell() {
    auto f = start();
    f->resize(260, 110); // fewer rows than fit: the view scrolls
    QTest::qWait(50);
    QVERIFY(settle(*f));
    const QRect before = f->ProgressBar1->geometry();
    const QPoint inside(50, 60);
    QWheelEvent wheel(inside, f->wndReportControlData->viewport()->mapToGlobal(inside), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(surface(*f), &wheel);
    QVERIFY(f->wndReportControlData->verticalScrollBar()->value() > 0);
    QVERIFY(f->Timer1->enabled()); // the scroll notification armed the refresh
    QVERIFY(settle(*f));
    QCOMPARE(f->ProgressBar1->geometry(), barOver(*f));
    QVERIFY(f->ProgressBar1->y() < before.y());
}

QTEST_MAIN(TestRefresh)
#include "test_refresh.moc"
