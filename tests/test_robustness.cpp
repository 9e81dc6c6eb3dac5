// The real window under hostile conditions: nothing crashes, everything is drawn sanely.
#include "app_fixture.h"

#include "progress/markup.h"

#include <QImage>

#include <iterator>

using namespace app_fixture;

namespace {

bool paints(frmMain& f) {
    const QImage image = f.grab().toImage();
    return !image.isNull() || f.size().isEmpty();
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
    QVERIFY(!host::Dispatcher::instance().failed());
}

void TestRobustness::aColumnAtItsMinimumWidthStillWorks() {
    auto f = start();
    QWidget* s = surface(*f);
    const int y = f->wndReportControlData->headerHeight() / 2;
    const QPoint edge(cell(*f, 0, 1).right() + 1, y);
    QTest::mousePress(s, Qt::LeftButton, {}, edge);
    QTest::mouseMove(s, edge - QPoint(400, 0));
    QTest::mouseRelease(s, Qt::LeftButton, {}, edge - QPoint(400, 0));
    QCOMPARE(f->wndReportControlData->columns().column(1).width(), 10);
    QVERIFY(settle(*f));
    QCOMPARE(caption(*f, 1, 1), BuildNestedMarkup(10, cell(*f, 1, 1).height(), 75));
    QVERIFY(paints(*f));

    const QRect box = cell(*f, 2, 2);
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(box.left() + 8, box.center().y()));
    QVERIFY(frmMainProbe::AllowDrag(*f));
    const QRect seeded = cell(*f, 2, 1);
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(seeded.left() + 5, seeded.center().y()));
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
    for (int r = 3; r < 6; ++r)
        item(*f, r, 1).setCaption(text);
    QCOMPARE(caption(*f, 3, 1), text);
    QVERIFY(paints(*f));
    f->wndReportControlData->columns().column(1).setWidth(3);
    QVERIFY(settle(*f));
    QVERIFY(paints(*f));
    QVERIFY(!host::Dispatcher::instance().failed());
}

QTEST_MAIN(TestRobustness)
#include "test_robustness.moc"
