// Setting the seeded cell by pressing and dragging in it, through real input on the real window.
#include "app_fixture.h"
#include "dispatcher_testing.h"

#include "progress/markup.h"

#include <QStyle>
#include <QWindow>

using namespace app_fixture;

namespace {

// A point on the "Allow drag" indicator, at the check-box cell's left.
QPoint checkBoxPoint(const frmMain& f) {
    const QRect c = cell(f, 2, 2);
    return QPoint(c.left() + 2 + f.style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2,
                  c.center().y());
}

void tickAllowDrag(frmMain& f) {
    mouseClick(pointer(f), Qt::LeftButton, {}, checkBoxPoint(f));
}

struct Snapshot {
    QStringList captions;
    QString title;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const frmMain& f) {
    Snapshot s;
    for (int r = 0; r < 3; ++r)
        s.captions << caption(f, r, 1);
    s.title = f.caption();
    return s;
}

int seededY(const frmMain& f) {
    return cell(f, 2, 1).center().y();
}

} // namespace

class TestDrag : public QObject {
    Q_OBJECT

private slots:
    void init() { f = start(); }
    void cleanup() { f.reset(); }

    void tickingTheBoxAllowsDragging();
    void pressInTheSeededCellSetsItAtOnce();
    void workedFigures_data();
    void workedFigures();
    void movingOutOfTheCellKeepsChangingTheSameCell();
    void pressesThatChangeNothing_data();
    void pressesThatChangeNothing();
    void tickingTheBoxMovesTheStartPoint();
    void clearingTheBoxKeepsTheLastBar();
    void aLaterRefreshKeepsTheDraggedBar();
    void twoButtonsDownChangeNothingAndStoreNothing_data();
    void twoButtonsDownChangeNothingAndStoreNothing();

private:
    std::unique_ptr<frmMain> f;
};

void TestDrag::tickingTheBoxAllowsDragging() {
    QVERIFY(!frmMainProbe::AllowDrag(*f));
    tickAllowDrag(*f);
    QVERIFY(item(*f, 2, 2).checked());
    QVERIFY(frmMainProbe::AllowDrag(*f));
    tickAllowDrag(*f);
    QVERIFY(!frmMainProbe::AllowDrag(*f));
}

void TestDrag::pressInTheSeededCellSetsItAtOnce() {
    tickAllowDrag(*f);
    const QRect seeded = cell(*f, 2, 1);
    mousePress(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 12, seededY(*f)));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 12%"));
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(100, 12));
    QCOMPARE(f->ProgressBar1->value(), 75); // dragging never touches the bar
    mouseRelease(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 12, seededY(*f)));
}

void TestDrag::workedFigures_data() {
    QTest::addColumn<int>("currentX");
    QTest::addColumn<int>("percent");
    QTest::newRow("at the left edge") << 20 << 0;
    QTest::newRow("12.5 to even") << 36 << 12;
    QTest::newRow("37.5 to even") << 68 << 38;
    QTest::newRow("one width to the right") << 148 << 100;
    QTest::newRow("beyond: clamped") << 200 << 100;
    QTest::newRow("left of the cell: clamped") << 5 << 0;
}

void TestDrag::workedFigures() {
    QFETCH(int, currentX);
    QFETCH(int, percent);
    f->wndReportControlData->columns().column(0).setWidth(20);
    f->wndReportControlData->columns().column(1).setWidth(128);
    QVERIFY(settle(*f));
    QCOMPARE(cell(*f, 2, 1).left(), 20);
    tickAllowDrag(*f);

    const int y = seededY(*f);
    mousePress(pointer(*f), Qt::LeftButton, {}, QPoint(36, y));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 12%"));
    mouseMove(pointer(*f), QPoint(currentX, y));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: %1%").arg(percent));
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(128, percent));
    mouseRelease(pointer(*f), Qt::LeftButton, {}, QPoint(currentX, y));
}

void TestDrag::movingOutOfTheCellKeepsChangingTheSameCell() {
    tickAllowDrag(*f);
    const QRect seeded = cell(*f, 2, 1);
    const QString follower = caption(*f, 1, 1);
    const Pointer s = pointer(*f);
    mousePress(s, Qt::LeftButton, {}, QPoint(seeded.left() + 40, seededY(*f)));
    mouseMove(s, QPoint(seeded.left() + 60, cell(*f, 7, 1).center().y())); // below
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(100, 60));
    mouseMove(s, QPoint(seeded.left() + 30, 2)); // up in the header
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(100, 30));
    mouseMove(s, QPoint(seeded.left() + 90, cell(*f, 1, 1).center().y()));
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(100, 90));
    QCOMPARE(caption(*f, 1, 1), follower);
    QCOMPARE(caption(*f, 7, 1), QString());
    mouseMove(s, QPoint(-500, f->height() + 300)); // far outside the window, down left
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 0%"));
    mouseRelease(s, Qt::LeftButton, {}, QPoint(-500, f->height() + 300));
}

void TestDrag::pressesThatChangeNothing_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("allow");
    QTest::addColumn<int>("button");
    QTest::newRow("seeded cell, box clear") << "seeded" << false << int(Qt::LeftButton);
    QTest::newRow("seeded cell, right button") << "seeded" << true << int(Qt::RightButton);
    QTest::newRow("seeded cell, middle button") << "seeded" << true << int(Qt::MiddleButton);
    QTest::newRow("the Allow drag cell itself") << "checkcaption" << true << int(Qt::LeftButton);
    QTest::newRow("overlay cell, row 0") << "row0" << true << int(Qt::LeftButton);
    QTest::newRow("follower cell, row 1") << "row1" << true << int(Qt::LeftButton);
    QTest::newRow("row 2, item 0") << "row2item0" << true << int(Qt::LeftButton);
    QTest::newRow("header") << "header" << true << int(Qt::LeftButton);
    QTest::newRow("below the rows") << "below" << true << int(Qt::LeftButton);
    QTest::newRow("right of the columns") << "right" << true << int(Qt::LeftButton);
}

void TestDrag::pressesThatChangeNothing() {
    QFETCH(QString, where);
    QFETCH(bool, allow);
    QFETCH(int, button);
    if (allow)
        tickAllowDrag(*f);
    const QRect seeded = cell(*f, 2, 1);
    QPoint at;
    if (where == "seeded")
        at = QPoint(seeded.left() + 30, seededY(*f));
    else if (where == "checkcaption")
        at = QPoint(cell(*f, 2, 2).right() - 5, seededY(*f));
    else if (where == "row0")
        at = QPoint(seeded.left() + 30, cell(*f, 0, 1).center().y());
    else if (where == "row1")
        at = QPoint(seeded.left() + 30, cell(*f, 1, 1).center().y());
    else if (where == "row2item0")
        at = QPoint(30, seededY(*f));
    else if (where == "header")
        at = QPoint(seeded.left() + 30, f->wndReportControlData->headerHeight() / 2);
    else if (where == "below")
        at = QPoint(seeded.left() + 30, cell(*f, 10, 1).bottom() + 20);
    else
        at = QPoint(cell(*f, 2, 3).right() + 30, seededY(*f));

    const Snapshot before = snapshot(*f);
    const auto b = Qt::MouseButton(button);
    const qint32 startX = frmMainProbe::DragStartX(*f);
    mousePress(pointer(*f), b, {}, at);
    mouseMove(pointer(*f), QPoint(seeded.left() + 80, seededY(*f)));
    mouseRelease(pointer(*f), b, {}, QPoint(seeded.left() + 80, seededY(*f)));
    QVERIFY(snapshot(*f) == before);
    QVERIFY(!f->Timer1->enabled());
    if (b == Qt::LeftButton)
        QCOMPARE(frmMainProbe::DragStartX(*f), at.x());
    else
        QCOMPARE(frmMainProbe::DragStartX(*f), startX); // other buttons store nothing
}

void TestDrag::tickingTheBoxMovesTheStartPoint() {
    const QRect seeded = cell(*f, 2, 1);
    mouseClick(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 30, seededY(*f)));
    QCOMPARE(frmMainProbe::DragStartX(*f), seeded.left() + 30);
    const Snapshot before = snapshot(*f);

    const QPoint box = checkBoxPoint(*f);
    mousePress(pointer(*f), Qt::LeftButton, {}, box);
    QVERIFY(frmMainProbe::AllowDrag(*f));
    QCOMPARE(frmMainProbe::DragStartX(*f), box.x());
    QCOMPARE(frmMainProbe::DragStartY(*f), box.y());
    // Dragging on from the box into the seeded cell sets nothing: the drag starts at the box.
    mouseMove(pointer(*f), QPoint(seeded.left() + 70, seededY(*f)));
    mouseRelease(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 70, seededY(*f)));
    QVERIFY(snapshot(*f) == before);
}

void TestDrag::clearingTheBoxKeepsTheLastBar() {
    tickAllowDrag(*f);
    const QRect seeded = cell(*f, 2, 1);
    mouseClick(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 44, seededY(*f)));
    const QString dragged = BuildProgressMarkup(100, 44);
    QCOMPARE(caption(*f, 2, 1), dragged);
    tickAllowDrag(*f);
    QVERIFY(!frmMainProbe::AllowDrag(*f));
    QCOMPARE(caption(*f, 2, 1), dragged);
    mouseClick(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 80, seededY(*f)));
    QCOMPARE(caption(*f, 2, 1), dragged);
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 44%"));
}

void TestDrag::aLaterRefreshKeepsTheDraggedBar() {
    tickAllowDrag(*f);
    const QRect seeded = cell(*f, 2, 1);
    mouseClick(pointer(*f), Qt::LeftButton, {}, QPoint(seeded.left() + 33, seededY(*f)));
    QVERIFY(!f->Timer1->enabled()); // dragging does not use the refresh
    mouseClick(pointer(*f), Qt::LeftButton, {}, cell(*f, 1, 0).center()); // Up
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(100, 33));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 76 %"));
}

void TestDrag::twoButtonsDownChangeNothingAndStoreNothing_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("left, then right") << int(Qt::LeftButton) << int(Qt::RightButton);
    QTest::newRow("left, then middle") << int(Qt::LeftButton) << int(Qt::MiddleButton);
    QTest::newRow("right, then left") << int(Qt::RightButton) << int(Qt::LeftButton);
}

// Sent to the top-level window, as a pointer's presses are, so the grid sees the button state of
// every button held (3 for left and right).
void TestDrag::twoButtonsDownChangeNothingAndStoreNothing() {
    QFETCH(int, first);
    QFETCH(int, second);
    const auto firstButton = Qt::MouseButton(first);
    const auto secondButton = Qt::MouseButton(second);
    tickAllowDrag(*f);
    QWindow* window = f->windowHandle();
    const QRect seeded = cell(*f, 2, 1);
    const auto at = [&](int dx, int dy = 0) {
        return inWindow(*f, QPoint(seeded.left() + dx, seededY(*f) + dy));
    };

    // The second press lands where the pointer already is: Qt turns a jump into a move first.
    QTest::mousePress(window, firstButton, {}, at(20));
    QTest::mouseMove(window, at(60, 3));
    const Snapshot before = snapshot(*f);
    const QPoint startBefore(frmMainProbe::DragStartX(*f), frmMainProbe::DragStartY(*f));
    QTest::mousePress(window, secondButton, {}, at(60, 3));
    const Snapshot afterPress = snapshot(*f);
    const QPoint startAfterPress(frmMainProbe::DragStartX(*f), frmMainProbe::DragStartY(*f));
    QTest::mouseMove(window, at(80, 3));
    const Snapshot afterMove = snapshot(*f);
    QTest::mouseRelease(window, secondButton, {}, at(80, 3));
    QTest::mouseRelease(window, firstButton, {}, at(80, 3));

    QVERIFY(afterPress == before);
    QCOMPARE(startAfterPress, startBefore);
    QVERIFY(afterMove == before);
    QVERIFY(!host::testing::failed());
    if (firstButton == Qt::LeftButton) // the left button alone did drag
        QCOMPARE(f->caption(), QStringLiteral("Progress percent: 60%"));
}

QTEST_MAIN(TestDrag)
#include "test_drag.moc"
