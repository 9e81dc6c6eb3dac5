// The real window as a screen reader meets it: what each control is called and holds, and what
// acting through assistive technology does to the program. Runs under a11y_session.sh (see
// accessibility_recorder.h).
#include "accessibility_recorder.h"
#include "app_fixture.h"

#include <QWindow>

using namespace app_fixture;
using a11ytest::heard;

namespace {

QAccessibleInterface* table(const frmMain& f) {
    return QAccessible::queryAccessibleInterface(f.wndReportControlData);
}

QAccessibleInterface* cellAt(const frmMain& f, int row, int column) {
    return table(f)->tableInterface()->cellAt(row, column);
}

QAccessibleInterface* bar(const frmMain& f) {
    return QAccessible::queryAccessibleInterface(f.ProgressBar1);
}

QString roleAndName(QAccessibleInterface* iface) {
    return QStringLiteral("%1 '%2' '%3'")
        .arg(iface->role())
        .arg(iface->text(QAccessible::Name), iface->text(QAccessible::Description));
}

// Events of the progress bar, the window and the row 1 and 2 progress cells only.
QStringList heardOfProgress() {
    QStringList kept;
    for (const QString& event : heard()) {
        if (event.contains(QLatin1String("progress bar")) ||
            event.contains(QLatin1String("window")) || event.contains(QLatin1String("cell 1,1")) ||
            event.contains(QLatin1String("cell 2,1")) || event.startsWith(QLatin1String("reset")))
            kept << event;
    }
    return kept;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(a11ytest::listen()); }
    void init() {
        f = start();
        // A screen reader reads the progress cells before anything happens.
        cellAt(*f, 1, 1)->text(QAccessible::Name);
        cellAt(*f, 2, 1)->text(QAccessible::Name);
        heard().clear();
    }
    void cleanup() { f.reset(); }

    void windowAndControlsAreNamedForPeople();
    void progressBarReadsItsValue_data();
    void progressBarReadsItsValue();
    void pressingAButtonStepsTheBar_data();
    void pressingAButtonStepsTheBar();
    void togglingAllowDragAllowsDragging();
    void dragIsHeardWithoutLosingThePlace();
    void theBarIsMetInTheCellItLiesOver();
    void eachPressOfUpIsHeard();

private:
    // The keyboard on the grid, as a user who brought the window to the front has it.
    bool keysToTheGrid() {
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f.get()))
            return false;
        f->wndReportControlData->setFocus();
        return f->wndReportControlData->hasFocus();
    }

    std::unique_ptr<frmMain> f;
};

void TestAccessibility::windowAndControlsAreNamedForPeople() {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(f.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Progress percent: 75 %"));
    QStringList children;
    for (int i = 0; i < window->childCount(); ++i)
        children << roleAndName(window->child(i));
    const auto line = [](QAccessible::Role role, const char* name, const char* description = "") {
        return QStringLiteral("%1 '%2' '%3'").arg(role).arg(name, description);
    };
    QCOMPARE(children, (QStringList{line(QAccessible::Table, "Progress grid"),
                                    line(QAccessible::StaticText, "Label 0", "EAN On"),
                                    line(QAccessible::StaticText, "Label 1", "Label 1"),
                                    line(QAccessible::StaticText, "Label 2", "Label 2"),
                                    line(QAccessible::ProgressBar, "Progress")}));
    QStringList headers;
    for (int column = 0; column < 4; ++column)
        headers << table(*f)->tableInterface()->columnDescription(column);
    QCOMPARE(headers, (QStringList{"Col 0", "Col 1", "Col 2", "Col 3"}));
    QCOMPARE(cellAt(*f, 1, 1)->text(QAccessible::Name), QStringLiteral("75%"));
}

void TestAccessibility::progressBarReadsItsValue_data() {
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("a new value") << 76 << 76 << QStringList{"value progress bar 76"};
    QTest::newRow("the same value") << 75 << 75 << QStringList{};
    QTest::newRow("above the maximum") << 101 << 100 << QStringList{"value progress bar 100"};
    QTest::newRow("below the minimum") << -1 << 0 << QStringList{"value progress bar 0"};
}

void TestAccessibility::progressBarReadsItsValue() {
    QFETCH(int, written);
    QFETCH(int, value);
    QFETCH(QStringList, events);
    QAccessibleValueInterface* values = bar(*f)->valueInterface();
    QVERIFY(values);
    QCOMPARE(values->minimumValue().toInt(), 0);
    QCOMPARE(values->maximumValue().toInt(), 100);
    QCOMPARE(values->currentValue().toInt(), 75);
    f->ProgressBar1->setValue(written);
    QCOMPARE(values->currentValue().toInt(), value);
    QCOMPARE(heard(), events);
}

void TestAccessibility::pressingAButtonStepsTheBar_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("value");
    QTest::newRow("Up") << 0 << 76;
    QTest::newRow("Down") << 2 << 74;
}

void TestAccessibility::pressingAButtonStepsTheBar() {
    QFETCH(int, column);
    QFETCH(int, value);
    QAccessibleInterface* button = cellAt(*f, 1, column)->child(0);
    QVERIFY(button);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(f->ProgressBar1->value(), value); // at once, as with a click
    QVERIFY(settle(*f));
    const QString percent = QString::number(value);
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: ") + percent + QStringLiteral(" %"));
    // The bar, the follower cell that shows it and the caption are heard; the table stays put.
    QCOMPARE(heardOfProgress(),
             (QStringList{QStringLiteral("value progress bar ") + percent,
                          QStringLiteral("name cell 1,1 ") + percent + QStringLiteral("%"),
                          QStringLiteral("name window Progress percent: ") + percent +
                              QStringLiteral(" %")}));
}

void TestAccessibility::togglingAllowDragAllowsDragging() {
    QAccessibleInterface* box = cellAt(*f, 2, 2);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Allow drag"));
    QVERIFY(!box->state().checked);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(box->state().checked);
    QVERIFY(frmMainProbe::AllowDrag(*f));
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!frmMainProbe::AllowDrag(*f));
    QCOMPARE(heard(), (QStringList{"checked 1 cell 2,2", "checked 0 cell 2,2"}));
}

void TestAccessibility::dragIsHeardWithoutLosingThePlace() {
    cellAt(*f, 2, 2)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    heard().clear();
    // Press at a quarter of the seeded cell, drag to the half: each step rebuilds the grid.
    const QRect seeded = cell(*f, 2, 1);
    const QPoint from =
        inWindow(*f, QPoint(seeded.left() + seeded.width() / 4, seeded.center().y()));
    QWindow* window = f->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, from + QPoint(seeded.width() / 4, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, from + QPoint(seeded.width() / 4, 0));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 50%"));
    QCOMPARE(heardOfProgress(),
             (QStringList{"name cell 2,1 25%", "name window Progress percent: 25%",
                          "name cell 2,1 50%", "name window Progress percent: 50%"}));
}

// The host lays ProgressBar1 over the row 0 progress cell: arriving there is arriving on the bar.
void TestAccessibility::theBarIsMetInTheCellItLiesOver() {
    QVERIFY(keysToTheGrid());
    QAccessibleInterface* under = cellAt(*f, 0, 1);
    QCOMPARE(under->childCount(), 1);
    QAccessibleInterface* shown = under->child(0);
    QCOMPARE(roleAndName(shown), roleAndName(bar(*f)));
    QCOMPARE(shown->valueInterface()->currentValue().toInt(), 75);
    heard().clear();
    QTest::keyClick(f->windowHandle(), Qt::Key_Down); // where focus starts: (0, 0)
    QTest::keyClick(f->windowHandle(), Qt::Key_Right);
    QCOMPARE(heard(), (QStringList{"focus cell 0,0", "focus progress bar"}));
    QCOMPARE(table(*f)->focusChild(), under);
}

// On the Up button, each press is heard as the follower cell's new text.
void TestAccessibility::eachPressOfUpIsHeard() {
    QVERIFY(keysToTheGrid());
    QWindow* window = f->windowHandle();
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Down);
    heard().clear();
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(window, Qt::Key_Space);
        QVERIFY(settle(*f));
        QTest::qWait(20); // the news goes out once the refresh is over
    }
    QStringList notices;
    for (const QString& event : heard()) {
        if (event.startsWith(QLatin1String("notice")))
            notices << event;
    }
    QCOMPARE(notices, (QStringList{"notice 76%", "notice 77%"}));
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
