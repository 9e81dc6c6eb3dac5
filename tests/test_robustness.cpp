// The real window under hostile conditions: nothing crashes, everything is drawn sanely.
#include "app_fixture.h"
#include "dispatcher_testing.h"

#include "progress/markup.h"

#include <QImage>

#include <algorithm>
#include <iterator>

using namespace app_fixture;

namespace {

// The window as drawn: a grab of its whole area, whose rows below the progress cells (clear of
// the labels and the bar that lie over the grid) show more than one colour; or nothing at all for
// a window without area.
bool paints(const frmMain& f, const QImage& grabbed) {
    if (f.size().isEmpty())
        return grabbed.isNull();
    if (grabbed.isNull() || grabbed.size() != f.size() * grabbed.devicePixelRatio())
        return false;
    const QImage image = grabbed.convertToFormat(QImage::Format_ARGB32);
    const qreal ratio = image.devicePixelRatio();
    const QWidget* body = surface(f);
    const int top = inWindow(f, QPoint(0, cell(f, 3, 0).top())).y();
    const QRect rows =
        QRect(QPoint(0, top), body->mapTo(&f, body->rect().bottomRight())).intersected(f.rect());
    if (rows.width() < 2 || rows.height() < 2)
        return true; // too small to show two colours
    const QRgb first = image.pixel(int(rows.left() * ratio), int(rows.top() * ratio));
    for (int y = int(rows.top() * ratio); y < int((rows.bottom() + 1) * ratio); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(line + int(rows.left() * ratio), line + int((rows.right() + 1) * ratio),
                        [&](QRgb pixel) { return pixel != first; }))
            return true;
    }
    return false;
}

bool paints(frmMain& f) {
    return paints(f, f.grab().toImage());
}

// Pixels that differ between two grabs of the window, outside the given cells.
int changedOutside(const QImage& before, const QImage& after, const QRegion& cells) {
    if (before.size() != after.size())
        return -1;
    const QImage a = before.convertToFormat(QImage::Format_ARGB32);
    const QImage b = after.convertToFormat(QImage::Format_ARGB32);
    const qreal ratio = a.devicePixelRatio();
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (lineA[x] != lineB[x] && !cells.contains(QPoint(int(x / ratio), int(y / ratio))))
                ++changed;
        }
    }
    return changed;
}

// The cells that take the hostile captions, in window coordinates.
QRegion hostileCells(const frmMain& f) {
    QRegion cells;
    for (int r = 3; r < 6; ++r)
        cells += QRect(inWindow(f, cell(f, r, 1).topLeft()), cell(f, r, 1).size());
    return cells;
}

void setHostile(frmMain& f, const QString& text) {
    for (int r = 3; r < 6; ++r)
        item(f, r, 1).setCaption(text);
}

} // namespace

class TestRobustness : public QObject {
    Q_OBJECT

private slots:
    void aZeroSizedWindowStillRefreshes_data();
    void aZeroSizedWindowStillRefreshes();
    void aColumnAtItsMinimumWidthStillWorks();
    void hostileCaptionsReadBackAndDraw_data();
    void hostileCaptionsReadBackAndDraw();
};

void TestRobustness::aZeroSizedWindowStillRefreshes_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("0 x 0") << QSize(0, 0);
    QTest::newRow("0 wide") << QSize(0, 200);
    QTest::newRow("0 high") << QSize(300, 0);
    QTest::newRow("1 x 1") << QSize(1, 1);
}

void TestRobustness::aZeroSizedWindowStillRefreshes() {
    QFETCH(QSize, size);
    auto f = start();
    f->resize(size);
    QTest::qWait(20);
    QCOMPARE(f->wndReportControlData->size(), size);
    f->wndReportControlData->columns().column(3).setWidth(80); // arms the refresh
    QVERIFY(settle(*f));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 75 %"));
    const QRect overlay = cell(*f, 0, 1);
    QCOMPARE(f->ProgressBar1->geometry(),
             QRect(overlay.left(), overlay.top(), overlay.width(), 20));
    QVERIFY(paints(*f));
    QVERIFY(!host::testing::failed());
}

void TestRobustness::aColumnAtItsMinimumWidthStillWorks() {
    auto f = start();
    const Pointer s = pointer(*f);
    const int y = f->wndReportControlData->headerHeight() / 2;
    const QPoint edge(cell(*f, 0, 1).right() + 1, y);
    mousePress(s, Qt::LeftButton, {}, edge);
    mouseMove(s, edge - QPoint(400, 0));
    mouseRelease(s, Qt::LeftButton, {}, edge - QPoint(400, 0));
    QCOMPARE(f->wndReportControlData->columns().column(1).width(), 10);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), BuildNestedMarkup(10, cell(*f, 1, 1).height(), 75));
    QVERIFY(paints(*f));

    const QRect box = cell(*f, 2, 2);
    mouseClick(s, Qt::LeftButton, {}, QPoint(box.left() + 8, box.center().y()));
    QVERIFY(frmMainProbe::AllowDrag(*f));
    const QRect seeded = cell(*f, 2, 1);
    mouseClick(s, Qt::LeftButton, {}, QPoint(seeded.left() + 5, seeded.center().y()));
    QCOMPARE(caption(*f, 2, 1), BuildProgressMarkup(10, 50));
    QCOMPARE(f->caption(), QStringLiteral("Progress percent: 50%"));
    QVERIFY(paints(*f));
}

void TestRobustness::hostileCaptionsReadBackAndDraw_data() {
    QTest::addColumn<QString>("text");
    QString deep;
    for (int i = 0; i < 20000; ++i)
        deep += QLatin1String("<Border>");
    QTest::newRow("nesting twenty thousand deep") << deep;
    QTest::newRow("a megabyte of text") << QString(1 << 20, QLatin1Char('x'));
    QTest::newRow("a megabyte of markup")
        << QStringLiteral("<StackPanel>") +
               QString(20000, QLatin1Char(' '))
                   .replace(QLatin1String(" "), QLatin1String("<Border/>")) +
               QStringLiteral("</StackPanel>");
    static constexpr char16_t controls[] = u"<TextBlock>\u0001\u0000\xD800</TextBlock>";
    QTest::newRow("control characters and a lone surrogate")
        << QString::fromUtf16(controls, qsizetype(std::size(controls) - 1));
    QTest::newRow("huge sizes") << QStringLiteral(
        "<Border Width='1e308' Height='1e308' BorderThickness='1e308' Padding='-1e308'>"
        "<TextBlock FontSize='1e308'>x</TextBlock></Border>");
    QTest::newRow("negative and nonsense sizes")
        << QStringLiteral("<Border Width='-5' Height='NaN' MinWidth='inf' MaxWidth='-inf' "
                          "Margin='1,2,3' CornerRadius='-4'/>");
    QTest::newRow("a bar wider than the cell") << BuildNestedMarkup(100000, 20, 100);
    QTest::newRow("a bar of negative width") << BuildProgressMarkup(0, 100);
    QTest::newRow("truncated markup") << BuildNestedMarkup(100, 20, 75).chopped(7);
}

void TestRobustness::hostileCaptionsReadBackAndDraw() {
    QFETCH(QString, text);
    auto f = start();
    // Each caption draws in its own cell and nowhere else, at the start-up widths and with the
    // progress column 3 pixels wide.
    for (const int width : {100, 3}) {
        f->wndReportControlData->columns().column(1).setWidth(width);
        QVERIFY(settle(*f));
        setHostile(*f, QString());
        QVERIFY(settle(*f));
        const QImage plain = f->grab().toImage();
        setHostile(*f, text);
        QVERIFY(settle(*f));
        QCOMPARE(caption(*f, 3, 1), text);
        const QImage hostile = f->grab().toImage();
        QVERIFY(paints(*f, hostile));
        QCOMPARE(changedOutside(plain, hostile, hostileCells(*f)), 0);
    }
    QVERIFY(!host::testing::failed());
}

QTEST_MAIN(TestRobustness)
#include "test_robustness.moc"
