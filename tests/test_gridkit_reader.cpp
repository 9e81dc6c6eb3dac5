// What a screen reader follows as the user moves in the grid: the focus on what the user meets in
// a cell, a widget laid over a cell as the cell's child, and news of the row the user is on. Runs
// under a11y_session.sh (see accessibility_recorder.h).
#include "accessibility_recorder.h"
#include "gridkit_fixture.h"

#include "grid/grid_control.h"

#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <utility>

using a11ytest::heard;
using report::Grid;

namespace {

// The fixture's grid in a window with a progress bar beside it, which a test lays over a cell as
// a host does: on the cell's rectangle, raised in front of the grid.
struct Hosted {
    Hosted() {
        grid = new report::Grid(&window);
        gridtest::fill(*grid);
        grid->setCellFocus(true);
        grid->setGeometry(0, 0, 460, 300);
        bar = new QProgressBar(&window);
        bar->setAccessibleName(QStringLiteral("Progress"));
        bar->setValue(75);
        bar->setGeometry(0, 0, 10, 10);
        bar->lower(); // behind the grid, where it covers nothing
        window.resize(460, 300);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the window did not become active");
        grid->setFocus();
    }
    void layOver(int row, int item) {
        qint32 l = 0, t = 0, r = 0, b = 0;
        grid->rows().row(row).itemBounds(grid->rows().row(row).record().item(item), l, t, r, b);
        bar->setGeometry(QRect(grid->mapTo(&window, QPoint(l, t)), QSize(r - l, 20)));
        bar->raise();
    }
    report::Item item(int row, int index) const {
        return grid->rows().row(row).record().item(index);
    }
    QAccessibleInterface* table() const { return QAccessible::queryAccessibleInterface(grid); }
    QAccessibleInterface* cellAt(int row, int column) const {
        return table()->tableInterface()->cellAt(row, column);
    }

    QWidget window;
    report::Grid* grid = nullptr;
    QProgressBar* bar = nullptr;
};

using Setup = std::function<void(Hosted&)>;

// Only the news a screen reader hears of the user's row.
QStringList notices() {
    QStringList kept;
    for (const QString& event : heard()) {
        if (event.startsWith(QLatin1String("notice ")))
            kept << event;
    }
    return kept;
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestGridReader : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(a11ytest::listen()); }
    void init() { heard().clear(); }
    void focusGoesToWhatTheUserMeetsInTheCell_data();
    void focusGoesToWhatTheUserMeetsInTheCell();
    void aWidgetLaidOverACellIsItsChild_data();
    void aWidgetLaidOverACellIsItsChild();
    void newsOfTheUsersRowIsHeard_data();
    void newsOfTheUsersRowIsHeard();
    void checkBoxTogglesByEitherName_data();
    void checkBoxTogglesByEitherName();
};

void TestGridReader::focusGoesToWhatTheUserMeetsInTheCell_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QPoint>("cell"); // (item, row)
    QTest::addColumn<QString>("focus");
    const Setup none = [](Hosted&) {};
    QTest::newRow("a plain cell") << none << QPoint(1, 3) << "focus cell 3,1";
    QTest::newRow("a cell of buttons") << none << QPoint(0, 1) << "focus button Add";
    QTest::newRow("two buttons") << Setup([](Hosted& h) {
        h.item(1, 2).itemControls().add(9).setCaption(QStringLiteral("Undo"));
    }) << QPoint(2, 1) << "focus button Remove";
    QTest::newRow("its first button disabled") << Setup([](Hosted& h) {
        h.item(1, 2).itemControls().add(9).setCaption(QStringLiteral("Undo"));
        h.item(1, 2).itemControls().at(0).setEnabled(false);
    }) << QPoint(2, 1) << "focus button Undo";
    QTest::newRow("no button enabled")
        << Setup([](Hosted& h) { h.item(1, 0).itemControls().at(0).setEnabled(false); })
        << QPoint(0, 1) << "focus cell 1,0";
    QTest::newRow("a widget laid over it")
        << Setup([](Hosted& h) { h.layOver(0, 1); }) << QPoint(1, 0) << "focus progress bar";
    QTest::newRow("a widget laid over another")
        << Setup([](Hosted& h) { h.layOver(0, 2); }) << QPoint(1, 0) << "focus cell 0,1";
}

// The table keeps the cell as its current one; the focus event names what Space presses or what
// the user sees there, and that is focused with the cell.
void TestGridReader::focusGoesToWhatTheUserMeetsInTheCell() {
    QFETCH(Setup, setup);
    QFETCH(QPoint, cell);
    QFETCH(QString, focus);
    Hosted hosted;
    setup(hosted);
    heard().clear();
    hosted.grid->setFocusedCell({cell.y(), cell.x()});
    QCOMPARE(heard(), QStringList{focus});
    QAccessibleInterface* current = hosted.table()->focusChild();
    QCOMPARE(current, hosted.cellAt(cell.y(), cell.x()));
    QVERIFY(current->state().focused);
    // What the event names is focused with the cell, and nothing else in it is.
    for (int i = 0; i < current->childCount(); ++i) {
        QAccessibleInterface* child = current->child(i);
        QCOMPARE(child->state().focused, focus == "focus " + a11ytest::what(child));
    }
    hosted.grid->clearFocus();
    for (int i = 0; i < current->childCount(); ++i)
        QVERIFY(!current->child(i)->state().focused);
}

void TestGridReader::aWidgetLaidOverACellIsItsChild_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("children"); // of the cell (0, 1), then of (1, 0)
    const QStringList button{"button Add"};
    QTest::newRow("raised over it")
        << Setup([](Hosted& h) { h.layOver(0, 1); }) << (QStringList{"progress bar"} + button);
    QTest::newRow("right to left, beside a scroll bar") << Setup([](Hosted& h) {
        h.grid->setLayoutDirection(Qt::RightToLeft);
        h.grid->resize(460, 120); // too low for every row: the scroll bar on the left
        if (!QTest::qWaitFor([&] { return h.grid->verticalScrollBar()->isVisible(); }))
            qWarning("no vertical scroll bar");
        h.layOver(0, 1);
    }) << (QStringList{"progress bar"} + button);
    QTest::newRow("behind the grid") << Setup([](Hosted& h) {
        h.layOver(0, 1);
        h.bar->lower();
    }) << button;
    QTest::newRow("masked away") << Setup([](Hosted& h) {
        h.layOver(0, 1);
        h.bar->setMask(QRegion(-1, -1, 1, 1));
    }) << button;
    QTest::newRow("hidden") << Setup([](Hosted& h) {
        h.layOver(0, 1);
        h.bar->hide();
    }) << button;
    QTest::newRow("gone") << Setup([](Hosted& h) {
        h.layOver(0, 1);
        h.cellAt(0, 1)->child(0); // known to assistive technology before it goes
        delete std::exchange(h.bar, nullptr);
    }) << button;
    // Buttons cover their cell themselves.
    QTest::newRow("over a cell of buttons") << Setup([](Hosted& h) { h.layOver(1, 0); }) << button;
}

void TestGridReader::aWidgetLaidOverACellIsItsChild() {
    QFETCH(Setup, setup);
    QFETCH(QStringList, children);
    Hosted hosted;
    setup(hosted);
    QStringList found;
    for (const QPoint cell : {QPoint(1, 0), QPoint(0, 1)}) {
        QAccessibleInterface* iface = hosted.cellAt(cell.y(), cell.x());
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            QCOMPARE(child->parent(), iface);
            QVERIFY(iface->rect().contains(child->rect()));
            QCOMPARE(iface->indexOfChild(child), i);
            QCOMPARE(iface->childAt(child->rect().center().x(), child->rect().center().y()), child);
            found << a11ytest::what(child);
        }
    }
    QCOMPARE(found, children);
    if (children.size() == 2) { // what it is and holds is the widget's own
        QAccessibleInterface* cover = hosted.cellAt(0, 1)->child(0);
        QCOMPARE(cover->text(QAccessible::Name), QStringLiteral("Progress"));
        QCOMPARE(cover->valueInterface()->currentValue().toInt(), 75);
        QCOMPARE(cover->rect(), QAccessible::queryAccessibleInterface(hosted.bar)->rect());
    }
}

void TestGridReader::newsOfTheUsersRowIsHeard_data() {
    QTest::addColumn<bool>("read"); // the screen reader read every cell beforehand
    QTest::addColumn<Setup>("change");
    QTest::addColumn<QStringList>("news");
    const auto caption = [](int row, int index, const char* text) {
        return Setup([=](Hosted& h) { h.item(row, index).setCaption(QString::fromUtf8(text)); });
    };
    QTest::newRow("a cell of the user's row")
        << true << caption(1, 3, "Third") << QStringList{"notice Third"};
    QTest::newRow("one the reader never read")
        << false << caption(1, 3, "Third") << QStringList{"notice Third"};
    QTest::newRow("the cell the user is on")
        << true << caption(1, 1, "50%") << QStringList{"notice 50%"};
    QTest::newRow("two cells at once") << true << Setup([=](Hosted& h) {
        caption(1, 1, "50%")(h);
        caption(1, 3, "Third")(h);
    }) << QStringList{"notice 50%, Third"};
    QTest::newRow("another row") << true << caption(2, 3, "Elsewhere") << QStringList{};
    QTest::newRow("the same text in markup") << true << Setup([](Hosted& h) {
        h.grid->setMarkupEnabled(true);
        h.item(1, 3).setCaption(QStringLiteral("<TextBlock>Second caption</TextBlock>"));
    }) << QStringList{};
    QTest::newRow("without the focus") << true << Setup([=](Hosted& h) {
        h.grid->clearFocus();
        caption(1, 3, "Third")(h);
    }) << QStringList{};
}

// Screen readers drop what a table cell says of a new name; what the user's row reads anew is
// told as one notification for each pass of the event loop.
void TestGridReader::newsOfTheUsersRowIsHeard() {
    QFETCH(bool, read);
    QFETCH(Setup, change);
    QFETCH(QStringList, news);
    Hosted hosted;
    hosted.grid->setFocusedCell({1, 1});
    QAccessibleInterface* table = hosted.table();
    for (int i = 0; read && i < table->childCount(); ++i)
        table->child(i)->text(QAccessible::Name);
    change(hosted);
    QTest::qWait(20);
    QCOMPARE(notices(), news);
}

void TestGridReader::checkBoxTogglesByEitherName_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("Qt's name") << QAccessibleActionInterface::toggleAction();
    QTest::newRow("AT-SPI's name") << QStringLiteral("toggle");
}

void TestGridReader::checkBoxTogglesByEitherName() {
    QFETCH(QString, action);
    Hosted hosted;
    gridtest::Recorder recorder(*hosted.grid);
    hosted.cellAt(2, 2)->actionInterface()->doAction(action);
    QCOMPARE(recorder.log, QStringList{"check 2 2 1"});
    QVERIFY(hosted.cellAt(2, 2)->state().checked);
}

QTEST_MAIN(TestGridReader)
#include "test_gridkit_reader.moc"
