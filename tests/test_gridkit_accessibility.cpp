// The grid as a screen reader meets it: buttons and check boxes it can act on, and events that say
// what changed and nothing else. Runs under a11y_session.sh (see accessibility_recorder.h).
#include "accessibility_recorder.h"
#include "gridkit_fixture.h"

#include "grid/grid_control.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

using a11ytest::heard;
using report::Grid;

namespace {

QAccessibleInterface* cellAt(report::Grid& grid, int row, int column) {
    return QAccessible::queryAccessibleInterface(&grid)->tableInterface()->cellAt(row, column);
}

// What a screen reader does on meeting the table: it reads every cell, and so knows them all.
void readEverything(report::Grid& grid) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    for (int i = 0; i < table->childCount(); ++i) {
        QAccessibleInterface* cell = table->child(i);
        cell->text(QAccessible::Name);
        for (int j = 0; j < cell->childCount(); ++j)
            cell->child(j)->text(QAccessible::Name);
    }
}

// The window's own coordinates of a viewport point: input goes to the top-level window.
QPoint inWindow(const gridtest::Shown& shown, QPoint at) {
    return shown.grid->mapTo(shown.grid->window(), at);
}

void activate(QWidget& widget) {
    widget.activateWindow();
    if (!QTest::qWaitForWindowActive(&widget))
        qWarning("the window did not become active");
    widget.setFocus();
}

// A markup caption whose text is "75%", drawn as wide as width.
QString markupBar(int width, const QString& text = QStringLiteral("75%")) {
    return QStringLiteral("<Border Width='%1'><TextBlock>%2</TextBlock></Border>")
        .arg(width)
        .arg(text);
}

} // namespace

class TestGridAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void buttonsArePushButtonsThatClickLikeTheMouse_data();
    void buttonsArePushButtonsThatClickLikeTheMouse();
    void whatCannotBeClickedOffersNothing_data();
    void whatCannotBeClickedOffersNothing();
    void checkBoxCellTogglesLikeTheMouse();
    void eventsSayOnlyWhatChanged_data();
    void eventsSayOnlyWhatChanged();
    void arrowKeysAnnounceEachCell();
    void focusComingBackAnnouncesTheCell();
    void eachLinkIsALinkThatActivatesLikeAClick();
};

void TestGridAccessibility::initTestCase() {
    QVERIFY(a11ytest::listen());
}

void TestGridAccessibility::init() {
    heard().clear();
}

void TestGridAccessibility::buttonsArePushButtonsThatClickLikeTheMouse_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("click");
    QTest::newRow("Add") << 0 << "Add"
                         << "click 1 0 7";
    QTest::newRow("Remove") << 2 << "Remove"
                            << "click 1 2 8";
}

void TestGridAccessibility::buttonsArePushButtonsThatClickLikeTheMouse() {
    QFETCH(int, item);
    QFETCH(QString, caption);
    QFETCH(QString, click);
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    QAccessibleInterface* cell = cellAt(grid, 1, item);
    QCOMPARE(cell->childCount(), 1);
    QAccessibleInterface* button = cell->child(0);
    QVERIFY(button);
    QCOMPARE(button->role(), QAccessible::PushButton);
    QCOMPARE(button->text(QAccessible::Name), caption);
    QVERIFY(!button->state().disabled);
    QCOMPARE(button->parent(), cell);
    QCOMPARE(cell->indexOfChild(button), 0);
    QCOMPARE(cell->child(0), button); // the same object each time, as AT-SPI paths must be
    QCOMPARE(cell->childAt(button->rect().center().x(), button->rect().center().y()), button);
    QVERIFY(cell->rect().contains(button->rect()));
    QCOMPARE(button->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::pressAction()});

    // The mouse's click, then the action: both raise the same event and nothing else.
    gridtest::Recorder mouse(grid);
    const QPoint at = inWindow(shown, shown.centre(1, item));
    QTest::mouseClick(grid.window()->windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(mouse.withoutMoves(), (QStringList{QStringLiteral("press 1 0 %1 %2")
                                                    .arg(shown.centre(1, item).x())
                                                    .arg(shown.centre(1, item).y()),
                                                click}));
    gridtest::Recorder action(grid);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(action.log, QStringList{click});
}

void TestGridAccessibility::whatCannotBeClickedOffersNothing_data() {
    QTest::addColumn<bool>("disableButton");
    QTest::addColumn<bool>("disableGrid");
    QTest::newRow("disabled button") << true << false;
    QTest::newRow("disabled grid") << false << true;
}

void TestGridAccessibility::whatCannotBeClickedOffersNothing() {
    QFETCH(bool, disableButton);
    QFETCH(bool, disableGrid);
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    if (disableButton)
        grid.rows().row(1).record().item(0).itemControls().at(0).setEnabled(false);
    grid.setEnabled(!disableGrid);
    QAccessibleInterface* button = cellAt(grid, 1, 0)->child(0);
    QAccessibleInterface* box = cellAt(grid, 2, 2);
    QVERIFY(button->state().disabled);
    QCOMPARE(button->actionInterface()->actionNames(), QStringList());
    QCOMPARE(box->actionInterface()->actionNames().isEmpty(), disableGrid);

    gridtest::Recorder recorder(grid);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    if (disableGrid) {
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    } else {
        // Nor does Space on the button's cell.
        grid.setCellFocus(true);
        activate(grid);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space})
            QTest::keyClick(grid.windowHandle(), key);
        QCOMPARE(QAccessible::queryAccessibleInterface(&grid)->focusChild(), cellAt(grid, 1, 0));
    }
    QCOMPARE(recorder.log, QStringList());
    QVERIFY(!grid.rows().row(2).record().item(2).checked());
}

void TestGridAccessibility::checkBoxCellTogglesLikeTheMouse() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    heard().clear();
    QAccessibleInterface* box = cellAt(grid, 2, 2);
    QCOMPARE(box->role(), QAccessible::Cell);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Tick"));
    QVERIFY(box->state().checkable);
    QVERIFY(!box->state().checked);
    // Qt's name for toggling, and AT-SPI's, which is the one Orca takes a cell for a check box by.
    QCOMPARE(box->actionInterface()->actionNames(),
             (QStringList{QAccessibleActionInterface::toggleAction(), QStringLiteral("toggle")}));
    // A cell without a check box has nothing to do.
    QCOMPARE(cellAt(grid, 2, 1)->actionInterface()->actionNames(), QStringList());
    QVERIFY(!cellAt(grid, 2, 1)->state().checkable);

    gridtest::Recorder recorder(grid);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(box->state().checked);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!box->state().checked);
    QCOMPARE(recorder.log, (QStringList{"check 2 2 1", "check 2 2 0"}));
    QCOMPARE(heard(), (QStringList{"checked 1 cell 2,2", "checked 0 cell 2,2"}));
}

using Change = std::function<void(gridtest::Shown&)>;
Q_DECLARE_METATYPE(Change)

void TestGridAccessibility::eventsSayOnlyWhatChanged_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("events");
    auto item = [](gridtest::Shown& s, int row, int index) {
        return s.grid->rows().row(row).record().item(index);
    };
    auto button = [item](gridtest::Shown& s) { return item(s, 1, 0).itemControls().at(0); };

    QTest::newRow("new caption") << Change([=](auto& s) { item(s, 0, 3).setCaption("Third"); })
                                 << QStringList{"name cell 0,3 Third"};
    QTest::newRow("markup, same text")
        << Change([=](auto& s) { item(s, 0, 1).setCaption(markupBar(60)); }) << QStringList{};
    QTest::newRow("markup, new text")
        << Change([=](auto& s) { item(s, 0, 1).setCaption(markupBar(40, "76%")); })
        << QStringList{"name cell 0,1 76%"};
    QTest::newRow("checked by code") << Change([=](auto& s) { item(s, 2, 2).setChecked(true); })
                                     << QStringList{"checked 1 cell 2,2"};
    QTest::newRow("button renamed") << Change([=](auto& s) { button(s).setCaption("Plus"); })
                                    << QStringList{"name cell 1,0 Plus", "name button Plus Plus"};
    QTest::newRow("button disabled") << Change([=](auto& s) { button(s).setEnabled(false); })
                                     << QStringList{"disabled 1 button Add"};
    QTest::newRow("button added") << Change([=](auto& s) {
        item(s, 1, 2).itemControls().add(9).setCaption("Undo");
    }) << QStringList{"created button ", "name cell 1,2 Remove Undo", "name button Undo Undo"};
    QTest::newRow("rebuilt, same rows")
        << Change([](auto& s) { s.grid->rebuild(); }) << QStringList{};
    QTest::newRow("column resized")
        << Change([](auto& s) { s.grid->columns().column(1).setWidth(150); }) << QStringList{};
    QTest::newRow("rows added") << Change([](auto& s) {
        s.grid->records().add().addItem("new");
        s.grid->rebuild();
    }) << QStringList{"reset table"};
    QTest::newRow("sorted") << Change([](auto& s) {
        s.grid->setSortOnHeaderClick(true);
        const QPoint header(s.centre(0, 3).x(), s.grid->headerHeight() / 2);
        QTest::mouseClick(s.grid->windowHandle(), Qt::LeftButton, {}, inWindow(s, header));
    }) << QStringList{"reset table"};
}

void TestGridAccessibility::eventsSayOnlyWhatChanged() {
    QFETCH(Change, change);
    QFETCH(QStringList, events);
    gridtest::Shown shown;
    shown.grid->setMarkupEnabled(true);
    shown.grid->rows().row(0).record().item(1).setCaption(markupBar(30));
    readEverything(*shown.grid);
    QCOMPARE(cellAt(*shown.grid, 0, 1)->text(QAccessible::Name), QStringLiteral("75%"));
    heard().clear();
    change(shown);
    QCOMPARE(heard(), events);
}

void TestGridAccessibility::arrowKeysAnnounceEachCell() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.setCellFocus(true);
    activate(grid);
    QVERIFY(grid.hasFocus());
    heard().clear();
    QWindow* window = grid.windowHandle();
    // The first key shows where focus starts; each one after moves it.
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Right);
    QTest::keyClick(window, Qt::Key_Right); // onto the second button
    // On a cell of buttons, the focus is the button Space presses.
    QCOMPARE(heard(), (QStringList{"focus cell 0,0", "focus button Add", "focus cell 1,1",
                                   "focus button Remove"}));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    QCOMPARE(table->focusChild(), cellAt(grid, 1, 2));
    QVERIFY(cellAt(grid, 1, 2)->state().focused);
    QVERIFY(!cellAt(grid, 1, 1)->state().focused);
}

void TestGridAccessibility::focusComingBackAnnouncesTheCell() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.setCellFocus(true);
    activate(grid);
    QTest::keyClick(grid.windowHandle(), Qt::Key_Down);
    QTest::keyClick(grid.windowHandle(), Qt::Key_Down);
    grid.clearFocus();
    heard().clear();
    grid.setFocus();
    // The cell's button comes after the grid itself, which Qt announces as the focus arrives.
    QVERIFY(QTest::qWaitFor([] { return heard().endsWith(QStringLiteral("focus button Add")); }));
}

// A caption with two links: the cell holds a link for each, named by its text and described by
// its target, lying where it shows, whose action raises the grid's linkActivated as a click does.
void TestGridAccessibility::eachLinkIsALinkThatActivatesLikeAClick() {
    gridtest::Shown shown;
    report::Grid& grid = *shown.grid;
    grid.setMarkupEnabled(true);
    grid.rows().row(3).record().item(3).setCaption(
        "<TextBlock><Hyperlink NavigateUri='https://example.org/a'>First</Hyperlink> and "
        "<Hyperlink NavigateUri='https://example.org/b'>Second</Hyperlink></TextBlock>");
    gridtest::settle();
    QAccessibleInterface* cell = cellAt(grid, 3, 3);
    QCOMPARE(cell->childCount(), 2);
    const QStringList names{"First", "Second"};
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* link = cell->child(i);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), names[i]);
        QCOMPARE(link->text(QAccessible::Description),
                 QStringLiteral("https://example.org/%1").arg(QChar(u'a' + i)));
        QCOMPARE(link->parent(), cell);
        QCOMPARE(cell->indexOfChild(link), i);
        QVERIFY(cell->rect().contains(link->rect()));
        QCOMPARE(cell->childAt(link->rect().center().x(), link->rect().center().y()), link);
        QCOMPARE(link->actionInterface()->actionNames(),
                 (QStringList{QAccessibleActionInterface::pressAction(), "jump"}));
    }
    QVERIFY(cell->child(0)->rect().right() < cell->child(1)->rect().left());

    QSignalSpy activated(&grid, &gridgauge::gridkit::ReportGrid::linkActivated);
    cell->child(1)->actionInterface()->doAction("jump");
    QCOMPARE(activated.count(), 1);
    const QModelIndex index = activated.at(0).at(0).value<QModelIndex>();
    QCOMPARE(QPoint(index.column(), index.row()), QPoint(3, 3));
    QCOMPARE(activated.at(0).at(1).toString(), QStringLiteral("https://example.org/b"));
}

QTEST_MAIN(TestGridAccessibility)
#include "test_gridkit_accessibility.moc"
