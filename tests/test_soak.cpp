// Long runs through the real handlers: memory stays flat and the last events decide what shows.
#include "app_fixture.h"

#include "progress/markup.h"

#include <QFile>
#include <QStyle>

#include <cmath>

#include <malloc.h>

using namespace app_fixture;

namespace {

// Resident set size in KiB, from /proc, after the allocator has handed back the pages it keeps
// free: what is left is what the program holds.
long residentKiB() {
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void dragsAndClicksKeepMemoryFlat();
};

void TestSoak::dragsAndClicksKeepMemoryFlat() {
    auto f = start();
    const Pointer s = pointer(*f);
    const QRect seeded = cell(*f, 2, 1);
    const int y = seeded.center().y();
    const QRect box = cell(*f, 2, 2);
    mouseClick(s, Qt::LeftButton, {},
               QPoint(box.left() + 2 + f->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2,
                      box.center().y()));
    QVERIFY(frmMainProbe::AllowDrag(*f));

    const QPoint up = cell(*f, 1, 0).center();
    const QPoint down = cell(*f, 1, 2).center();
    int expectedValue = 75;
    int lastPercent = -1;

    // One round: a press in the seeded cell, a hundred moves across it, a release, then an Up or
    // a Down click and the refresh it arms, with a paint of the window now and then.
    auto round = [&](int r) {
        mousePress(s, Qt::LeftButton, {}, QPoint(seeded.left() + 1, y));
        int x = seeded.left() + 1;
        for (int m = 0; m < 100; ++m) {
            x = seeded.left() - 10 + (m * 7 + r) % (seeded.width() + 20);
            mouseMove(s, QPoint(x, y));
            lastPercent = qBound(
                0, int(std::nearbyint(double(x - seeded.left()) / seeded.width() * 100.0)), 100);
        }
        // Released where the pointer is: a release elsewhere is a move there first.
        mouseRelease(s, Qt::LeftButton, {}, QPoint(x, y));
        const bool goUp = (r / 7) % 2 == 0;
        mouseClick(s, Qt::LeftButton, {}, goUp ? up : down);
        expectedValue = qBound(0, expectedValue + (goUp ? 1 : -1), 100);
        if (!settle(*f))
            QFAIL("a refresh did not come");
        if (r % 50 == 0)
            f->grab();
    };

    constexpr int Rounds = 1000;  // 100,000 moves and 1,000 clicks ...
    for (int r = 0; r < 100; ++r) // warm-up: caches, glyphs, allocator pools
        round(r);
    const long before = residentKiB();
    for (int r = 100; r < Rounds; ++r)
        round(r);
    for (int c = 0; c < 9000; ++c) { // ... and 9,000 more clicks, refreshed every tenth
        const bool goUp = c % 2 == 0;
        mouseClick(s, Qt::LeftButton, {}, goUp ? up : down);
        expectedValue = qBound(0, expectedValue + (goUp ? 1 : -1), 100);
        if (c % 10 == 9 && !settle(*f))
            QFAIL("a refresh did not come");
    }
    QVERIFY(settle(*f));
    const long after = residentKiB();

    QCOMPARE(f->ProgressBar1->value(), expectedValue);
    QCOMPARE(caption(*f, 1, 1),
             BuildNestedMarkup(cell(*f, 1, 1).width(), cell(*f, 1, 1).height(), expectedValue));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: %1 %").arg(expectedValue));
    // The seeded cell shows the last drag, which no refresh overwrites.
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(seeded.width(), lastPercent));

    qInfo("resident memory: %ld KiB before, %ld KiB after (%+ld KiB)", before, after,
          after - before);
    if (Sanitized)
        QSKIP("the sanitizer's quarantine holds freed memory on purpose; growth is not measured");
    QVERIFY2(after - before < 1024, "resident memory grew by 1 MiB or more");
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
