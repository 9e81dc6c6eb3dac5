// The window as a person meets it: pointer and keys arrive at the top-level window at window
// coordinates and Qt routes them to whatever lies there, as a real pointer's are.
#include "app_fixture.h"
#include "placement.h"

#include "progress/markup.h"

#include "gridgauge/controlkit/label.h"
#include "gridgauge/host/form.h"

#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

using namespace app_fixture;

namespace {

// A point of the grid's client area, in the window's coordinates.
// Resized as a person's drag leaves it, with every consequence through the event loop.
void resizeTo(frmMain& f, int width, int height) {
    f.resize(width, height);
    QTest::qWait(20);
    QVERIFY(settle(f));
}

QRect headerBand(const frmMain& f) {
    return QRect(0, 0, f.width(), f.wndReportControlData->headerHeight());
}

} // namespace

class TestWindowInput : public QObject {
    Q_OBJECT

private slots:
    void theHeaderEdgeUnderALabelCanBeDragged();
    void aWheelTurnOverTheBarScrollsTheGrid();
    void theBarStaysOutOfTheHeaderWhenScrolled();
    void theBarCoversNoScrollBarInANarrowWindow();
    void theBarNeverCoversTheLabels();
    void aFontChangeRearmsTheRefreshAndTheBarFollows();
    void returnAndEnterPressTheFocusedButton_data();
    void returnAndEnterPressTheFocusedButton();
    void theFocusedCellKeepsTheCaptionsColours_data();
    void theFocusedCellKeepsTheCaptionsColours();
    void theWindowOpensWhereItFitsTheScreen();
};

void TestWindowInput::theHeaderEdgeUnderALabelCanBeDragged() {
    const std::unique_ptr<frmMain> f = start();
    QWindow* window = f->windowHandle();
    const int y = f->wndReportControlData->headerHeight() / 2;
    const QPoint edge = inWindow(*f, QPoint(200, y)); // the progress column's right edge
    QVERIFY(f->Shape1[2]->geometry().contains(edge)); // under "Label 2"
    QTest::mousePress(window, Qt::LeftButton, {}, edge);
    QTest::mouseMove(window, edge + QPoint(40, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, edge + QPoint(40, 0));
    QCOMPARE(f->wndReportControlData->columns().column(1).width(), 140);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), BuildNestedMarkup(140, cell(*f, 1, 1).height(), 75));
    QCOMPARE(f->ProgressBar1->width(), 140);
}

void TestWindowInput::aWheelTurnOverTheBarScrollsTheGrid() {
    const std::unique_ptr<frmMain> f = start();
    resizeTo(*f, 400, 120); // fewer rows than there are: the view scrolls
    QScrollBar* bar = f->wndReportControlData->verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    const QPoint over = f->ProgressBar1->geometry().center();
    QWheelEvent wheel(over, f->mapToGlobal(over), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(f->windowHandle(), &wheel);
    QVERIFY(bar->value() > 0);
}

void TestWindowInput::theBarStaysOutOfTheHeaderWhenScrolled() {
    const std::unique_ptr<frmMain> f = start();
    resizeTo(*f, 400, 150);
    QVERIFY(!barPixels(*f).isEmpty()); // the bar shows while its cell does
    f->wndReportControlData->verticalScrollBar()->triggerAction(
        QAbstractSlider::SliderSingleStepAdd); // one row
    QVERIFY(settle(*f));
    QCOMPARE(barPixels(*f) & headerBand(*f), QRegion());
    QCOMPARE(barPixels(*f), QRegion()); // its cell is out of view: so is the bar
    // Half a row: the bar shows only in its cell's visible part.
    f->wndReportControlData->verticalScrollBar()->setValue(10);
    QVERIFY(settle(*f));
    const QRect visible = cell(*f, 0, 1).intersected(
        QRect(0, f->wndReportControlData->headerHeight(), f->width(), f->height()));
    QVERIFY(!barPixels(*f).isEmpty());
    QCOMPARE(barPixels(*f) - visible, QRegion());
}

void TestWindowInput::theBarCoversNoScrollBarInANarrowWindow() {
    const std::unique_ptr<frmMain> f = start();
    resizeTo(*f, 160, 150);
    report::Grid& grid = *f->wndReportControlData;
    const auto inForm = [&](const QWidget* bar) {
        return QRect(bar->mapTo(f.get(), QPoint(0, 0)), bar->size());
    };
    const QRect vertical = inForm(grid.verticalScrollBar());
    QVERIFY(grid.verticalScrollBar()->isVisible());
    QVERIFY(f->ProgressBar1->geometry().intersects(vertical)); // it would
    const QRegion shown = barPixels(*f);
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown & vertical, QRegion());
    QCOMPARE(shown & inForm(grid.horizontalScrollBar()), QRegion());
}

void TestWindowInput::theBarNeverCoversTheLabels() {
    const std::unique_ptr<frmMain> f = start();
    QRegion labels;
    for (const controlkit::Label* label : f->Shape1)
        labels += label->geometry();
    QVERIFY(f->ProgressBar1->geometry().intersects(labels.boundingRect())); // it would
    QCOMPARE(barPixels(*f) & labels, QRegion());
}

void TestWindowInput::aFontChangeRearmsTheRefreshAndTheBarFollows() {
    const std::unique_ptr<frmMain> f = start();
    QFont big = f->wndReportControlData->font();
    big.setPixelSize(30);
    f->wndReportControlData->setFont(big);
    QVERIFY(f->Timer1->enabled());
    QVERIFY(settle(*f));
    const QRect overlay = cell(*f, 0, 1);
    QVERIFY(overlay.height() > 30);
    QCOMPARE(f->ProgressBar1->geometry(), QRect(overlay.topLeft(), QSize(overlay.width(), 20)));
    QCOMPARE(caption(*f, 1, 1),
             BuildNestedMarkup(cell(*f, 1, 1).width(), cell(*f, 1, 1).height(), 75));
}

void TestWindowInput::returnAndEnterPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestWindowInput::returnAndEnterPressTheFocusedButton() {
    QFETCH(int, key);
    const std::unique_ptr<frmMain> f = start();
    QWindow* window = f->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, inWindow(*f, cell(*f, 3, 0).center()));
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Up); // on "Up"
    QCOMPARE(f->ProgressBar1->value(), 75);
    QTest::keyClick(window, Qt::Key(key));
    QCOMPARE(f->ProgressBar1->value(), 76);
    QVERIFY(settle(*f));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 76 %"));
    // On the check box, the same keys tick it.
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Right);
    QTest::keyClick(window, Qt::Key_Right); // on "Allow drag"
    QTest::keyClick(window, Qt::Key(key));
    QVERIFY(item(*f, 2, 2).checked());
    QVERIFY(frmMainProbe::AllowDrag(*f));
}

void TestWindowInput::theFocusedCellKeepsTheCaptionsColours_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("pressed, dragged and released") << false;
    QTest::newRow("reached by an arrow key") << true;
}

// Row 2's progress cell, focused on its highlighted row, shows the dragged bar in the very pixels
// the same caption has on a row without focus; a mouse press shows no frame, an arrow key does.
void TestWindowInput::theFocusedCellKeepsTheCaptionsColours() {
    QFETCH(bool, byKey);
    const std::unique_ptr<frmMain> f = start();
    QWindow* window = f->windowHandle();
    const QRect seeded = cell(*f, 2, 1);
    const QPoint box = cell(*f, 2, 2).topLeft() + QPoint(8, 10); // on "Allow drag"'s indicator
    QTest::mouseClick(window, Qt::LeftButton, {}, inWindow(*f, box));
    QVERIFY(frmMainProbe::AllowDrag(*f));
    QTest::keyClick(window, Qt::Key_Left); // the frame shows, until the press
    const QPoint from = inWindow(*f, seeded.center());
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    const QPoint to = inWindow(*f, QPoint(seeded.left() + 40, seeded.center().y()));
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 40%"));
    if (byKey) {
        QTest::keyClick(window, Qt::Key_Right);
        QTest::keyClick(window, Qt::Key_Left);
    }
    item(*f, 6, 1).setCaption(caption(*f, 2, 1)); // the same bar where nothing has focus
    QVERIFY(settle(*f));
    const QImage image = shot(*f);
    const QPoint apart = cell(*f, 6, 1).topLeft() - seeded.topLeft();
    const QColor base = f->palette().color(QPalette::Active, QPalette::Base);
    int barPixels = 0;
    for (int y = seeded.top(); y <= seeded.bottom(); ++y) {
        for (int x = seeded.left(); x <= seeded.right(); ++x) {
            const QColor unfocused = image.pixelColor(QPoint(x, y) + apart);
            if (unfocused == base)
                continue; // the background, which the highlight takes on a focused row
            ++barPixels;
            QCOMPARE(image.pixelColor(x, y).name(), unfocused.name());
        }
    }
    QVERIFY(barPixels > seeded.width() * 10);
    const QColor highlight = f->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor edge = image.pixelColor(seeded.left(), seeded.center().y());
    QCOMPARE(edge != highlight, byKey); // the frame's ring, where the keys put it
}

// Run on a large screen and on one smaller than the design's placement (see the test list).
void TestWindowInput::theWindowOpensWhereItFitsTheScreen() {
    const std::unique_ptr<frmMain> f = start();
    const QRect available = f->screen()->availableGeometry();
    const QRect design(242, 110, 523, 382); // the client area where the design puts it
    QCOMPARE(f->size(), design.size());     // moved, never resized
    QVERIFY2(available.contains(f->frameGeometry()), "the window does not fit the screen");
    const QPoint frameOffset = f->geometry().topLeft() - f->frameGeometry().topLeft();
    const QRect designFrame(design.topLeft() - frameOffset, f->frameGeometry().size());
    if (available.contains(designFrame))
        QCOMPARE(f->geometry(), design);
    else
        QCOMPARE(f->frameGeometry().topLeft(), host::detail::placeWithin(designFrame, available));
}

QTEST_MAIN(TestWindowInput)
#include "test_window_input.moc"
