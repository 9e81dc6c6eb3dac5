// Real mouse and key input on the grid's viewport, and what the grid raises for it.
#include "gridkit_fixture.h"

#include "grid/grid_control.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

using report::Grid;

namespace {

enum Target { Button, CheckBox, CheckBoxCaption, PlainCell };

// Where to press for each target in the fixture's grid.
QPoint pointOn(const gridtest::Shown& shown, Target target) {
    switch (target) {
    case Button:
        return shown.centre(1, 0);
    case CheckBox:
        return QPoint(shown.bounds(2, 2).left() + 8, shown.centre(2, 2).y());
    case CheckBoxCaption:
        return QPoint(shown.bounds(2, 2).left() + 60, shown.centre(2, 2).y());
    case PlainCell:
        return shown.centre(3, 1);
    }
    return {};
}

QString press(int buttons, int shift, QPoint at) {
    return QStringLiteral("press %1 %2 %3 %4").arg(buttons).arg(shift).arg(at.x()).arg(at.y());
}

} // namespace

class TestGridInput : public QObject {
    Q_OBJECT

private slots:
    void pressIsReportedBeforeTheGridActs_data();
    void pressIsReportedBeforeTheGridActs();
    void doubleClickCountsAsTwoPresses_data();
    void doubleClickCountsAsTwoPresses();
    void buttonAndShiftStatesAreReportedAsBits_data();
    void buttonAndShiftStatesAreReportedAsBits();
    void otherButtonsNeverToggleOrClick_data();
    void otherButtonsNeverToggleOrClick();
    void buttonClicksOnlyWhenReleasedOnItself_data();
    void buttonClicksOnlyWhenReleasedOnItself();
    void movesArriveOverTheGridAndAnywhereWhileHeld();
    void userResizesResizableColumnsDownToTheMinimum_data();
    void userResizesResizableColumnsDownToTheMinimum();
    void keysMoveCellFocusAndSpaceTicks();
    void tabWalksTheCellsThenMovesOn_data();
    void tabWalksTheCellsThenMovesOn();
    void headerShowsItsColumnTooltip();
    void reorderMovesOnlyWhereAColumnShows();
    void headerClickSortsOnlyThePaintOrder();
};

void TestGridInput::pressIsReportedBeforeTheGridActs_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("after"); // what follows the press, through the release
    QTest::newRow("button") << int(Button) << QStringList{"click 1 0 7"};
    QTest::newRow("check box") << int(CheckBox) << QStringList{"check 2 2 1"};
    QTest::newRow("check box caption") << int(CheckBoxCaption) << QStringList{};
    QTest::newRow("plain cell") << int(PlainCell) << QStringList{};
}

void TestGridInput::pressIsReportedBeforeTheGridActs() {
    QFETCH(int, target);
    QFETCH(QStringList, after);
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    const QPoint at = pointOn(shown, Target(target));
    const QRect cell =
        grid.hitTest(at.x(), at.y())->row()->index() == 1 ? shown.bounds(1, 0) : shown.bounds(2, 2);
    const QImage before = grid.grab(cell).toImage();
    QImage atPress;
    bool checkedAtPress = true;
    QObject::connect(&grid, &report::Grid::mouseDown, [&] {
        atPress = grid.grab(cell).toImage();
        checkedAtPress = grid.rows().row(2).record().item(2).checked();
    });
    gridtest::Recorder recorder(grid);

    gridtest::mousePress(gridtest::pointer(shown), Qt::LeftButton, {}, at);
    // The handler saw the cell as it was: not yet ticked, the button not yet down.
    QVERIFY(!checkedAtPress);
    QCOMPARE(atPress, before);
    if (target == Button)
        QVERIFY2(grid.grab(cell).toImage() != before, "a held button looks pressed");
    gridtest::mouseRelease(gridtest::pointer(shown), Qt::LeftButton, {}, at);
    QCOMPARE(recorder.withoutMoves(), QStringList{press(1, 0, at)} + after);
}

void TestGridInput::doubleClickCountsAsTwoPresses_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("effects");
    QTest::newRow("button") << int(Button) << QStringList{"click 1 0 7", "click 1 0 7"};
    QTest::newRow("check box") << int(CheckBox) << QStringList{"check 2 2 1", "check 2 2 0"};
    QTest::newRow("plain cell") << int(PlainCell) << QStringList{};
}

void TestGridInput::doubleClickCountsAsTwoPresses() {
    QFETCH(int, target);
    QFETCH(QStringList, effects);
    gridtest::Shown shown;
    gridtest::Recorder recorder(*shown.grid);
    const QPoint at = pointOn(shown, Target(target));
    // Two clicks in quick succession, the second of them a double click.
    gridtest::mouseDClick(gridtest::pointer(shown), Qt::LeftButton, {}, at);
    QStringList expected;
    for (int i = 0; i < 2; ++i) {
        expected << press(1, 0, at);
        if (!effects.isEmpty())
            expected << effects[i];
    }
    QCOMPARE(recorder.withoutMoves(), expected);
}

void TestGridInput::buttonAndShiftStatesAreReportedAsBits_data() {
    QTest::addColumn<QList<int>>("buttons"); // pressed in this order, each still held
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("states"); // the state each press reports
    QTest::addColumn<int>("shift");
    QTest::newRow("left") << QList<int>{Qt::LeftButton} << 0 << QList<int>{1} << 0;
    QTest::newRow("right") << QList<int>{Qt::RightButton} << 0 << QList<int>{2} << 0;
    QTest::newRow("middle") << QList<int>{Qt::MiddleButton} << 0 << QList<int>{4} << 0;
    QTest::newRow("right while left held")
        << QList<int>{Qt::LeftButton, Qt::RightButton} << 0 << QList<int>{1, 3} << 0;
    QTest::newRow("shift") << QList<int>{Qt::LeftButton} << int(Qt::ShiftModifier) << QList<int>{1}
                           << 1;
    QTest::newRow("ctrl and alt") << QList<int>{Qt::LeftButton}
                                  << int(Qt::ControlModifier | Qt::AltModifier) << QList<int>{1}
                                  << 6;
}

void TestGridInput::buttonAndShiftStatesAreReportedAsBits() {
    QFETCH(QList<int>, buttons);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, states);
    QFETCH(int, shift);
    gridtest::Shown shown;
    gridtest::Recorder recorder(*shown.grid);
    const QPoint at = shown.centre(5, 1);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    for (int b : buttons)
        gridtest::mousePress(gridtest::pointer(shown), Qt::MouseButton(b), mods, at);
    gridtest::mouseMove(gridtest::pointer(shown), at + QPoint(3, 1));
    for (int b : buttons)
        gridtest::mouseRelease(gridtest::pointer(shown), Qt::MouseButton(b), mods, at);
    QStringList expected;
    for (int state : states)
        expected << press(state, shift, at);
    QCOMPARE(recorder.withoutMoves(), expected);
    const QPoint moved = at + QPoint(3, 1); // QTest moves carry no modifiers
    QVERIFY(recorder.log.contains(
        QStringLiteral("move %1 0 %2 %3").arg(states.last()).arg(moved.x()).arg(moved.y())));
}

void TestGridInput::otherButtonsNeverToggleOrClick_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("button");
    QTest::newRow("right on a button") << int(Button) << int(Qt::RightButton);
    QTest::newRow("right on a check box") << int(CheckBox) << int(Qt::RightButton);
    QTest::newRow("middle on a check box") << int(CheckBox) << int(Qt::MiddleButton);
}

void TestGridInput::otherButtonsNeverToggleOrClick() {
    QFETCH(int, target);
    QFETCH(int, button);
    gridtest::Shown shown;
    gridtest::Recorder recorder(*shown.grid);
    const QPoint at = pointOn(shown, Target(target));
    const auto b = Qt::MouseButton(button);
    gridtest::mouseDClick(gridtest::pointer(shown), b, {}, at);
    const int bits = button == Qt::RightButton ? 2 : 4;
    QCOMPARE(recorder.withoutMoves(), (QStringList{press(bits, 0, at), press(bits, 0, at)}));
    QVERIFY(!shown.grid->rows().row(2).record().item(2).checked());
}

void TestGridInput::buttonClicksOnlyWhenReleasedOnItself_data() {
    QTest::addColumn<QList<QPoint>>("path"); // press at the first point, release at the last
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<bool>("clicks");
    const QPoint on(50, 0), off(150, 0), other(250, 0); // y is filled in with row 1's centre
    QTest::newRow("released on it") << QList<QPoint>{on, on + QPoint(20, 0)} << false << true;
    QTest::newRow("released off it") << QList<QPoint>{on, off} << false << false;
    QTest::newRow("off and back") << QList<QPoint>{on, off, on} << false << true;
    QTest::newRow("released on the other button") << QList<QPoint>{on, other} << false << false;
    QTest::newRow("disabled") << QList<QPoint>{on, on} << true << false;
}

void TestGridInput::buttonClicksOnlyWhenReleasedOnItself() {
    QFETCH(QList<QPoint>, path);
    QFETCH(bool, disabled);
    QFETCH(bool, clicks);
    gridtest::Shown shown;
    shown.grid->rows().row(1).record().item(0).itemControls().at(0).setEnabled(!disabled);
    gridtest::Recorder recorder(*shown.grid);
    const int y = shown.centre(1, 0).y();
    for (QPoint& p : path)
        p.setY(y);
    gridtest::mousePress(gridtest::pointer(shown), Qt::LeftButton, {}, path.first());
    for (const QPoint& p : path)
        gridtest::mouseMove(gridtest::pointer(shown), p);
    gridtest::mouseRelease(gridtest::pointer(shown), Qt::LeftButton, {}, path.last());
    QCOMPARE(recorder.withoutMoves().contains(QStringLiteral("click 1 0 7")), clicks);
    QCOMPARE(recorder.withoutMoves().size(), clicks ? 2 : 1);
}

void TestGridInput::movesArriveOverTheGridAndAnywhereWhileHeld() {
    gridtest::Shown shown;
    gridtest::Recorder recorder(*shown.grid);
    const QPoint start = shown.centre(2, 1);
    gridtest::mouseMove(gridtest::pointer(shown), start); // no button: the grid tracks the mouse
    // That move goes through the platform's cursor, which may round by a pixel on a scaled
    // screen.
    const auto trackedNear = [&] {
        for (const QString& line : recorder.log) {
            const QStringList f = line.split(QLatin1Char(' '));
            if (f.size() == 5 && f[0] == QLatin1String("move") && f[1] == QLatin1String("0") &&
                std::abs(f[3].toInt() - start.x()) <= 1 && std::abs(f[4].toInt() - start.y()) <= 1)
                return true;
        }
        return false;
    };
    QTRY_VERIFY(trackedNear());
    gridtest::mousePress(gridtest::pointer(shown), Qt::LeftButton, {}, start);
    gridtest::mouseMove(gridtest::pointer(shown), QPoint(-40, 500));
    gridtest::mouseMove(gridtest::pointer(shown), QPoint(1000, -30));
    gridtest::mouseRelease(gridtest::pointer(shown), Qt::LeftButton, {}, QPoint(1000, -30));
    const QStringList tail = recorder.log.mid(recorder.log.indexOf(press(1, 0, start)));
    QCOMPARE(tail, (QStringList{press(1, 0, start), "move 1 0 -40 500", "move 1 0 1000 -30"}));
}

void TestGridInput::userResizesResizableColumnsDownToTheMinimum_data() {
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QList<int>>("moves"); // x positions while dragging the edge at 199
    QTest::addColumn<QStringList>("widths");
    QTest::newRow("wider then narrower")
        << true << QList<int>{229, 180} << QStringList{"width 1 100 130", "width 1 130 81"};
    QTest::newRow("held at the minimum")
        << true << QList<int>{50, 20} << QStringList{"width 1 100 10"};
    QTest::newRow("not resizable") << false << QList<int>{229} << QStringList{};
}

void TestGridInput::userResizesResizableColumnsDownToTheMinimum() {
    QFETCH(bool, resizable);
    QFETCH(QList<int>, moves);
    QFETCH(QStringList, widths);
    report::Grid grid;
    for (int c = 0; c < gridtest::Columns; ++c)
        grid.columns().add(c, QStringLiteral("H%1").arg(c), 100, resizable);
    grid.resize(460, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    gridtest::Recorder recorder(grid);
    const int y = grid.headerHeight() / 2;
    gridtest::mousePress(gridtest::pointer(grid), Qt::LeftButton, {}, QPoint(199, y));
    for (int x : moves)
        gridtest::mouseMove(gridtest::pointer(grid), QPoint(x, y));
    gridtest::mouseRelease(gridtest::pointer(grid), Qt::LeftButton, {}, QPoint(moves.last(), y));
    QStringList reported = recorder.withoutMoves();
    reported.removeFirst(); // the press
    QCOMPARE(reported, widths);
}

void TestGridInput::keysMoveCellFocusAndSpaceTicks() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.setCellFocus(true);
    gridtest::Recorder recorder(grid);
    gridtest::mouseClick(gridtest::pointer(shown), Qt::LeftButton, {}, shown.centre(3, 1));
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Space); // the focus is on the check box at (2, 2)
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Space); // and now on the button at (1, 0)
    QCOMPARE(recorder.withoutMoves(),
             (QStringList{press(1, 0, shown.centre(3, 1)), "check 2 2 1", "click 1 0 7"}));
    // By row, the arrows sideways do not move focus and space acts on nothing.
    grid.setCellFocus(false);
    recorder.log.clear();
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Space);
    QCOMPARE(recorder.withoutMoves(), QStringList());
}

void TestGridInput::tabWalksTheCellsThenMovesOn_data() {
    QTest::addColumn<bool>("byCell");
    QTest::addColumn<QPoint>("from"); // (column, row); x -1 for nothing focused
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("focus"); // which control has the keyboard focus afterwards
    const int last = gridtest::Records - 1;
    const int right = gridtest::Columns - 1;
    QTest::newRow("next cell") << true << QPoint(1, 1) << true << QPoint(2, 1) << "grid";
    QTest::newRow("on to the next row")
        << true << QPoint(right, 1) << true << QPoint(0, 2) << "grid";
    QTest::newRow("past the last cell")
        << true << QPoint(right, last) << true << QPoint(right, last) << "after";
    QTest::newRow("previous cell") << true << QPoint(1, 1) << false << QPoint(0, 1) << "grid";
    QTest::newRow("back to the row before")
        << true << QPoint(0, 2) << false << QPoint(right, 1) << "grid";
    QTest::newRow("before the first cell")
        << true << QPoint(0, 0) << false << QPoint(0, 0) << "before";
    QTest::newRow("nothing focused yet")
        << true << QPoint(-1, -1) << true << QPoint(0, 0) << "grid";
    QTest::newRow("by row") << false << QPoint(1, 1) << true << QPoint(1, 1) << "after";
}

// Tab and Shift+Tab as in item views: cell after cell, then on through the window's controls.
void TestGridInput::tabWalksTheCellsThenMovesOn() {
    QFETCH(bool, byCell);
    QFETCH(QPoint, from);
    QFETCH(bool, forward);
    QFETCH(QPoint, to);
    QFETCH(QString, focus);
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new report::Grid(&window);
    auto* after = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    for (QWidget* control :
         {static_cast<QWidget*>(before), static_cast<QWidget*>(grid), static_cast<QWidget*>(after)})
        layout->addWidget(control);
    gridtest::fill(*grid);
    grid->setCellFocus(byCell);
    window.resize(460, 400);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    grid->setFocusedCell({from.y(), from.x()});
    if (forward)
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
    else
        QTest::keyClick(window.windowHandle(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QPoint(grid->focusedCell().column, grid->focusedCell().row), to);
    const QHash<QString, QWidget*> controls{{"before", before}, {"grid", grid}, {"after", after}};
    QCOMPARE(QApplication::focusWidget(), controls.value(focus));
}

void TestGridInput::headerShowsItsColumnTooltip() {
    gridtest::Shown shown;
    shown.grid->setSortOnHeaderClick(true); // the tooltip tells what a click does
    shown.grid->columns().column(2).setTooltip("about two");
    const QPoint at(250, shown.grid->headerHeight() / 2);
    QHelpEvent event(QEvent::ToolTip, at, shown.header()->mapToGlobal(at));
    QApplication::sendEvent(shown.header(), &event);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("about two"));
}

void TestGridInput::reorderMovesOnlyWhereAColumnShows() {
    for (bool allowed : {false, true}) {
        gridtest::Shown shown;
        report::Grid& grid = *shown.grid;
        grid.setColumnReorderAllowed(allowed);
        gridtest::Recorder recorder(grid);
        const int y = grid.headerHeight() / 2;
        gridtest::mousePress(gridtest::pointer(shown), Qt::LeftButton, {}, QPoint(50, y));
        gridtest::mouseMove(gridtest::pointer(shown), QPoint(150, y));
        gridtest::mouseMove(gridtest::pointer(shown), QPoint(250, y));
        gridtest::mouseRelease(gridtest::pointer(shown), Qt::LeftButton, {}, QPoint(250, y));
        const QList<int> expected = allowed ? QList<int>{1, 2, 0, 3} : QList<int>{0, 1, 2, 3};
        QList<int> shows;
        for (int position = 0; position < gridtest::Columns; ++position)
            shows << grid.columns().column(position).index();
        QCOMPARE(shows, expected);
        // Item 0 is where its column went, and the column is still found by its item.
        QCOMPARE(shown.bounds(1, 0).left(), allowed ? 200 : 0);
        QCOMPARE(grid.hitTest(250, shown.centre(1, 0).y())->item()->index(), allowed ? 0 : 2);
        QCOMPARE(grid.columns().find(0)->caption(), QStringLiteral("Head 0"));
        QCOMPARE(recorder.withoutMoves().count(QStringLiteral("scrolled")), allowed ? 1 : 0);
    }
}

void TestGridInput::headerClickSortsOnlyThePaintOrder() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    const int last = gridtest::Records - 1;
    for (int r = 0; r <= last; ++r) // row r reads 'a' + (last - r): the reverse of record order
        grid.rows().row(r).record().item(1).setCaption(QString(QChar('a' + last - r)));
    const int y = grid.headerHeight() / 2;
    const int top = shown.bounds(0, 1).top();
    const auto click = [&] {
        gridtest::mouseClick(gridtest::pointer(shown), Qt::LeftButton, {}, {150, y});
    };

    click(); // sorting is off: nothing moves
    QCOMPARE(shown.bounds(0, 1).top(), top);

    grid.setSortOnHeaderClick(true);
    click();
    QCOMPARE(shown.bounds(last, 1).top(), top);
    QCOMPARE(shown.bounds(0, 1).top(), top + last * grid.rowHeight());
    QCOMPARE(grid.rows().row(0).record().index(), 0); // row n is still record n
    const QPoint first(50, top + 1);
    QCOMPARE(grid.hitTest(first.x(), first.y())->row()->index(), last);

    click(); // the second click reverses
    QCOMPARE(shown.bounds(0, 1).top(), top);
    click();
    grid.setSortOnHeaderClick(false); // turning it off shows record order again
    QCOMPARE(shown.bounds(0, 1).top(), top);
}

QTEST_MAIN(TestGridInput)
#include "test_gridkit_input.moc"
