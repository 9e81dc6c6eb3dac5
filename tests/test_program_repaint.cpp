// What the running program repaints for what a person does: a drag move repaints the seeded cell
// and nothing else of the grid, a refresh the follower cell, a refresh that changes nothing
// nothing. Input goes to the window as a pointer's does.
#include "app_fixture.h"

#include "gridkit_fixture.h"

#include <QStyle>

using namespace app_fixture;

namespace {

// A point of the grid's client area, in the window's coordinates.
} // namespace

class TestProgramRepaint : public QObject {
    Q_OBJECT

private slots:
    void aDragMoveRepaintsOnlyTheSeededCell();
    void aRefreshRepaintsOnlyTheFollowerCell();
    void aRefreshWithNothingNewRepaintsNothing();
};

void TestProgramRepaint::aDragMoveRepaintsOnlyTheSeededCell() {
    const std::unique_ptr<frmMain> f = start();
    QWindow* window = f->windowHandle();
    const QRect box = cell(*f, 2, 2);
    const QPoint tick(box.left() + 2 + f->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2,
                      box.center().y());
    QTest::mouseClick(window, Qt::LeftButton, {}, inWindow(*f, tick));
    const QRect seeded = cell(*f, 2, 1);
    QTest::mousePress(window, Qt::LeftButton, {}, inWindow(*f, seeded.center()));
    gridtest::settle();
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 49%"));

    gridtest::PaintRecorder recorder(surface(*f));
    QTest::mouseMove(window, inWindow(*f, seeded.center() + QPoint(20, 0)));
    gridtest::settle();
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 69%"));
    QCOMPARE(inGrid(*f, recorder.painted()), QRegion(seeded));
    QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(*f, seeded.center()));
}

void TestProgramRepaint::aRefreshRepaintsOnlyTheFollowerCell() {
    const std::unique_ptr<frmMain> f = start();
    gridtest::settle();
    gridtest::PaintRecorder grid(surface(*f));
    gridtest::PaintRecorder bar(f->ProgressBar1);
    QTest::mouseClick(f->windowHandle(), Qt::LeftButton, {}, inWindow(*f, cell(*f, 1, 0).center()));
    QVERIFY(settle(*f));
    gridtest::settle();
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 76 %"));
    // The click focused row 1 (highlighted across its cells); then the refresh wrote its cell.
    const QRect row1 = cell(*f, 1, 0).united(cell(*f, 1, 3));
    QCOMPARE(inGrid(*f, grid.painted()), QRegion(row1));
    QVERIFY(bar.paints() > 0); // the bar repaints itself for its new value

    // "Up" again by key, which shows the focus frame on it; then once more, with nothing new
    // but the follower cell.
    QTest::keyClick(f->windowHandle(), Qt::Key_Space);
    QVERIFY(settle(*f));
    gridtest::settle();
    grid.regions.clear();
    QTest::keyClick(f->windowHandle(), Qt::Key_Space);
    QVERIFY(settle(*f));
    gridtest::settle();
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 78 %"));
    QCOMPARE(inGrid(*f, grid.painted()), QRegion(cell(*f, 1, 1)));
}

void TestProgramRepaint::aRefreshWithNothingNewRepaintsNothing() {
    const std::unique_ptr<frmMain> f = start();
    gridtest::settle();
    gridtest::PaintRecorder grid(surface(*f));
    gridtest::PaintRecorder bar(f->ProgressBar1);
    f->Timer1->setEnabled(true); // as a scroll notification would
    QVERIFY(settle(*f));
    gridtest::settle();
    QCOMPARE(grid.paints(), 0);
    QCOMPARE(bar.paints(), 0);
}

QTEST_MAIN(TestProgramRepaint)
#include "test_program_repaint.moc"
