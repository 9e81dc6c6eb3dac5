// The window in a right-to-left layout, as an Arabic or Hebrew desktop (or -reverse) gives every Qt
// program: the grid mirrored whole, the stand-alone bar over its cell beside a scroll bar on the
// left, and a drag's bar end under the pointer. Input arrives at the top-level window.
#include "app_fixture.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

using namespace app_fixture;

namespace {

// A point of the grid, in the window's coordinates.
void click(frmMain& f, const QPoint& inGrid) {
    QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {}, inWindow(f, inGrid));
}

void resizeTo(frmMain& f, QSize size) {
    if (size.isValid())
        f.resize(size);
    QTest::qWait(20);
    QVERIFY(settle(f));
}

// Where the grid shows its cells, in its own coordinates.
QRect viewportIn(const frmMain& f) {
    return f.wndReportControlData->viewport()->geometry();
}

int indicatorWidth(const frmMain& f) {
    return f.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, f.wndReportControlData);
}

int percentInCaption(const frmMain& f) {
    QString title = f.caption();
    title.remove(QStringLiteral("Progress percent: ")).remove(QLatin1Char('%'));
    return title.trimmed().toInt();
}

} // namespace

class TestRightToLeft : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }
    void cleanupTestCase() { QApplication::setLayoutDirection(Qt::LeftToRight); }

    void theBarLiesOverItsCellBesideAScrollBarOnTheLeft_data();
    void theBarLiesOverItsCellBesideAScrollBarOnTheLeft();
    void columnsRunFromTheRightAndTheBoxIsRightOfItsText();
    void theArrowKeysMoveTheFocusTheWayTheyPoint();
    void aDragSetsTheBarFromTheCellsRightEdge_data();
    void aDragSetsTheBarFromTheCellsRightEdge();
    void aDraggedBarEndsUnderThePointer_data();
    void aDraggedBarEndsUnderThePointer();
    void aDoubleClickOnTheProgressDividerRelaysTheBar();
};

void TestRightToLeft::theBarLiesOverItsCellBesideAScrollBarOnTheLeft_data() {
    QTest::addColumn<QSize>("size"); // invalid: as the window opens
    QTest::addColumn<bool>("verticalBar");
    QTest::newRow("as it opens") << QSize() << false;
    QTest::newRow("400 x 150") << QSize(400, 150) << true;
    QTest::newRow("160 x 150") << QSize(160, 150) << true;
}

void TestRightToLeft::theBarLiesOverItsCellBesideAScrollBarOnTheLeft() {
    QFETCH(QSize, size);
    QFETCH(bool, verticalBar);
    const std::unique_ptr<frmMain> f = start();
    resizeTo(*f, size);
    report::Grid& grid = *f->wndReportControlData;
    QCOMPARE(grid.verticalScrollBar()->isVisible(), verticalBar);
    if (verticalBar)
        QCOMPARE(grid.verticalScrollBar()->geometry().left(), 0);
    // Column 0 starts at the viewport's right edge, column 1 at column 0's left.
    QCOMPARE(cell(*f, 0, 0).right(), viewportIn(*f).right());
    QCOMPARE(cell(*f, 0, 1).right() + 1, cell(*f, 0, 0).left());
    for (int refresh = 0; refresh < 2; ++refresh) {
        const QRect overlay = cell(*f, 0, 1);
        QCOMPARE(f->ProgressBar1->geometry(), QRect(overlay.topLeft(), QSize(overlay.width(), 20)));
        const QRegion shown = barPixels(*f);
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown - overlay, QRegion());
        // Up, and the refresh it arms, place it again.
        click(*f, cell(*f, 1, 0).center());
        QVERIFY(settle(*f));
    }
    QCOMPARE(f->ProgressBar1->value(), 77);
}

void TestRightToLeft::columnsRunFromTheRightAndTheBoxIsRightOfItsText() {
    const std::unique_ptr<frmMain> f = start();
    const report::Grid& grid = *f->wndReportControlData;
    QCOMPARE(grid.headerSection(0).right(), viewportIn(*f).right());
    QCOMPARE(grid.headerSection(3).right() + 1, grid.headerSection(2).left());
    const QRect box = cell(*f, 2, 2);
    // Where the indicator would be left to right: the caption's end, which ticks nothing.
    click(*f, QPoint(box.left() + 2 + indicatorWidth(*f) / 2, box.center().y()));
    QVERIFY(!item(*f, 2, 2).checked());
    click(*f, QPoint(box.right() - 2 - indicatorWidth(*f) / 2, box.center().y()));
    QVERIFY(item(*f, 2, 2).checked());
}

void TestRightToLeft::theArrowKeysMoveTheFocusTheWayTheyPoint() {
    const std::unique_ptr<frmMain> f = start();
    click(*f, cell(*f, 1, 1).center());
    QTest::keyClick(f->windowHandle(), Qt::Key_Left); // onto "Down", left of the progress cell
    QCOMPARE(f->wndReportControlData->focusedCell(), (report::CellAddress{1, 2}));
    QTest::keyClick(f->windowHandle(), Qt::Key_Space);
    QCOMPARE(f->ProgressBar1->value(), 74);
    QTest::keyClick(f->windowHandle(), Qt::Key_Right);
    QTest::keyClick(f->windowHandle(), Qt::Key_Right); // onto "Up", at the right
    QTest::keyClick(f->windowHandle(), Qt::Key_Space);
    QCOMPARE(f->ProgressBar1->value(), 75);
}

void TestRightToLeft::aDragSetsTheBarFromTheCellsRightEdge_data() {
    QTest::addColumn<int>("fromRight"); // pixels left of the cell's last pixel
    QTest::addColumn<int>("percent");
    QTest::newRow("on the right edge") << 0 << 0;
    QTest::newRow("a quarter in") << 25 << 25;
    QTest::newRow("beyond the left edge") << 150 << 100;
    QTest::newRow("right of the cell") << -30 << 0;
}

// The bar fills from the right, so the end a drag moves is its left one, under the pointer.
void TestRightToLeft::aDragSetsTheBarFromTheCellsRightEdge() {
    QFETCH(int, fromRight);
    QFETCH(int, percent);
    const std::unique_ptr<frmMain> f = start();
    const QRect box = cell(*f, 2, 2);
    click(*f, QPoint(box.right() - 2 - indicatorWidth(*f) / 2, box.center().y()));
    const QRect seeded = cell(*f, 2, 1);
    QCOMPARE(seeded.width(), 100);
    QWindow* window = f->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, inWindow(*f, seeded.center()));
    QTest::mouseMove(window, inWindow(*f, QPoint(seeded.right() - fromRight, seeded.center().y())));
    QCOMPARE(percentInCaption(*f), percent);
    QTest::mouseRelease(window, Qt::LeftButton, {},
                        inWindow(*f, QPoint(seeded.right() - fromRight, seeded.center().y())));
}

void TestRightToLeft::aDraggedBarEndsUnderThePointer_data() {
    QTest::addColumn<int>("fromRight");
    QTest::newRow("a quarter") << 25;
    QTest::newRow("three quarters") << 75;
}

// Green from the cell's right edge to the pointer, the empty track beyond it.
void TestRightToLeft::aDraggedBarEndsUnderThePointer() {
    QFETCH(int, fromRight);
    const std::unique_ptr<frmMain> f = start();
    const QRect box = cell(*f, 2, 2);
    click(*f, QPoint(box.right() - 2 - indicatorWidth(*f) / 2, box.center().y()));
    const QRect seeded = cell(*f, 2, 1);
    const QPoint pointer(seeded.right() - fromRight, seeded.center().y());
    QTest::mousePress(f->windowHandle(), Qt::LeftButton, {}, inWindow(*f, pointer));
    QTest::mouseRelease(f->windowHandle(), Qt::LeftButton, {}, inWindow(*f, pointer));
    const QImage image = shot(*f);
    const int y = seeded.top() + 3; // above the percentage's text
    const auto green = [&](int x) {
        const QColor c = image.pixelColor(inWindow(*f, QPoint(x, y)));
        return c.green() > c.blue() + 30;
    };
    QVERIFY2(green(pointer.x() + 4), "no bar right of the pointer");
    QVERIFY2(!green(pointer.x() - 4), "the bar reaches past the pointer");
    QVERIFY(green(seeded.right() - 4));
}

// The divider of the progress column is its left edge; a fitted width is re-laid like a dragged
// one.
void TestRightToLeft::aDoubleClickOnTheProgressDividerRelaysTheBar() {
    const std::unique_ptr<frmMain> f = start();
    const report::Grid& grid = *f->wndReportControlData;
    const QPoint divider(grid.headerSection(1).left(), grid.headerHeight() / 2);
    QTest::mouseDClick(f->windowHandle(), Qt::LeftButton, {}, inWindow(*f, divider));
    QVERIFY(grid.columns().column(1).width() != 100);
    QVERIFY(settle(*f));
    const QRect overlay = cell(*f, 0, 1);
    QCOMPARE(f->ProgressBar1->geometry(), QRect(overlay.topLeft(), QSize(overlay.width(), 20)));
}

QTEST_MAIN(TestRightToLeft)
#include "test_right_to_left.moc"
