// The window as a Qt user expects it to look when they click and press keys: the stand-alone bar
// stands out from the selected row it lies on, and the focused cell shows where the keys act.
#include "app_fixture.h"

#include "gridgauge/controlkit/label.h"
#include "gridgauge/controlkit/progress_bar.h"

#include <QWindow>

#include <functional>

using namespace app_fixture;

namespace {

int distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

void click(frmMain& f, const QPoint& inGrid) {
    QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {},
                      f.wndReportControlData->mapTo(&f, inGrid));
}

// The share of the pixels along one edge line that stand apart from a colour.
double apart(const QImage& image, QPoint from, QPoint step, int count, const QColor& colour) {
    int standing = 0;
    for (int i = 0; i < count; ++i, from += step)
        standing += distance(image.pixelColor(from), colour) > 40 ? 1 : 0;
    return double(standing) / count;
}

qint64 area(const QRegion& region) {
    qint64 pixels = 0;
    for (const QRect& rect : region)
        pixels += qint64(rect.width()) * rect.height();
    return pixels;
}

} // namespace

class TestDesktopConventions : public QObject {
    Q_OBJECT

private slots:
    void theBarStandsOutFromASelectedRow_data();
    void theBarStandsOutFromASelectedRow();
    void theFocusShowsWhereTheKeysAct();
    void theBarShowsEachChangeAndComesBackAsItWas_data();
    void theBarShowsEachChangeAndComesBackAsItWas();
};

void TestDesktopConventions::theBarStandsOutFromASelectedRow_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << 0;
    QTest::newRow("half") << 50;
    QTest::newRow("full") << 100;
}

// It shows over all of its cell that nothing lies in front of, in a frame that stands apart from
// the row, though the row is in the very colour its fill takes.
void TestDesktopConventions::theBarStandsOutFromASelectedRow() {
    QFETCH(int, value);
    const std::unique_ptr<frmMain> f = start();
    f->ProgressBar1->setValue(value);
    click(*f, cell(*f, 0, 2).center()); // selects row 0, under the bar
    QVERIFY(settle(*f));
    const QImage image = shot(*f);
    const QColor selected = image.pixelColor(cell(*f, 0, 0).center()); // not the focused one
    QCOMPARE(selected.rgb(), f->palette().color(QPalette::Active, QPalette::Highlight).rgb());
    const QRect bar = f->ProgressBar1->geometry();
    QRegion uncovered(bar);
    for (const auto* label : f->Shape1)
        uncovered -= label->geometry();
    const QRegion shown = barPixels(*f) & uncovered;
    QVERIFY2(area(shown) > 0.9 * area(uncovered), "the bar hardly shows over its cell");
    const int top = uncovered.boundingRect().top() + 3;
    const int down = bar.bottom() - 3 - top;
    QVERIFY(apart(image, bar.bottomLeft() + QPoint(3, 0), {1, 0}, bar.width() - 6, selected) > 0.9);
    QVERIFY(apart(image, QPoint(bar.left(), top), {0, 1}, down, selected) > 0.9);
    QVERIFY(apart(image, QPoint(bar.right(), top), {0, 1}, down, selected) > 0.9);
}

// A click on a cell of row 1 shows no frame; Left puts it on the "Down" button, Right on the
// caption again, and Space after Left presses "Down".
void TestDesktopConventions::theFocusShowsWhereTheKeysAct() {
    const std::unique_ptr<frmMain> f = start();
    click(*f, cell(*f, 1, 3).center());
    QVERIFY(settle(*f));
    const QImage clicked = shot(*f);
    const auto keyShot = [&](Qt::Key key) {
        QTest::keyClick(f->windowHandle(), key);
        settle(*f);
        return shot(*f);
    };
    const QImage onButton = keyShot(Qt::Key_Left);
    QVERIFY2(clicked.copy(cell(*f, 1, 2)) != onButton.copy(cell(*f, 1, 2)),
             "the button shows no focus");
    QCOMPARE(onButton.copy(cell(*f, 1, 3)), clicked.copy(cell(*f, 1, 3)));
    const QImage onCaption = keyShot(Qt::Key_Right);
    QVERIFY2(clicked.copy(cell(*f, 1, 3)) != onCaption.copy(cell(*f, 1, 3)),
             "the caption shows no focus");
    QCOMPARE(onCaption.copy(cell(*f, 1, 2)), clicked.copy(cell(*f, 1, 2)));
    QTest::keyClick(f->windowHandle(), Qt::Key_Left);
    QTest::keyClick(f->windowHandle(), Qt::Key_Space);
    QCOMPARE(f->ProgressBar1->value(), 74);
}

using Change = std::function<void(controlkit::ProgressBar&, bool)>;
Q_DECLARE_METATYPE(Change)

void TestDesktopConventions::theBarShowsEachChangeAndComesBackAsItWas_data() {
    QTest::addColumn<Change>("change");
    QTest::newRow("value") << Change(
        [](controlkit::ProgressBar& bar, bool on) { bar.setValue(on ? 60 : 40); });
    QTest::newRow("a value apart by one")
        << Change([](controlkit::ProgressBar& bar, bool on) { bar.setValue(on ? 41 : 40); });
    QTest::newRow("bar colour") << Change([](controlkit::ProgressBar& bar, bool on) {
        bar.setBarColor(on ? 0x0000FFu : 0x000080FFu);
    });
    QTest::newRow("width") << Change(
        [](controlkit::ProgressBar& bar, bool on) { bar.resize(on ? 60 : 99, bar.height()); });
    QTest::newRow("direction") << Change([](controlkit::ProgressBar& bar, bool on) {
        bar.setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight);
    });
}

// What the window shows of the bar follows every change to what it draws, and a bar brought
// back to where it was looks as it did.
void TestDesktopConventions::theBarShowsEachChangeAndComesBackAsItWas() {
    QFETCH(Change, change);
    const std::unique_ptr<frmMain> f = start();
    controlkit::ProgressBar& bar = *f->ProgressBar1;
    bar.resize(99, bar.height());
    change(bar, false);
    QVERIFY(settle(*f));
    const QRect at = bar.geometry();
    const QImage before = shot(*f).copy(at);
    change(bar, true);
    QVERIFY(settle(*f));
    QVERIFY2(shot(*f).copy(at) != before, "the window still shows the bar as it was");
    change(bar, false);
    QVERIFY(settle(*f));
    QCOMPARE(shot(*f).copy(at), before);
}

QTEST_MAIN(TestDesktopConventions)
#include "test_desktop_conventions.moc"
