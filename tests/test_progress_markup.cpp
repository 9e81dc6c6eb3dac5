// The two progress markup texts, byte for byte.
#include "progress/markup.h"

#include "gridgauge/host/runtime_error.h"

#include "markup_samples.h"

#include <QTest>

#include <limits>

namespace {

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const host::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestProgressMarkup : public QObject {
    Q_OBJECT

private slots:
    void workedExamplesMatchByteForByte();
    void nestedBarWidthIsFlooredFromTheDoubleProduct_data();
    void nestedBarWidthIsFlooredFromTheDoubleProduct();
    void layeredBarWidthRoundsHalfToEven_data();
    void layeredBarWidthRoundsHalfToEven();
    void overflowingArithmeticGivesNoText_data();
    void overflowingArithmeticGivesNoText();
};

void TestProgressMarkup::workedExamplesMatchByteForByte() {
    QCOMPARE(samples::nested.size(), 724);
    QCOMPARE(samples::layered.size(), 892);
    QCOMPARE(BuildNestedMarkup(100, 20, 75), samples::nested);
    QCOMPARE(BuildProgressMarkup(100, 75), samples::layered);
}

void TestProgressMarkup::nestedBarWidthIsFlooredFromTheDoubleProduct_data() {
    QTest::addColumn<int>("cellWidth");
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("width");
    QTest::newRow("57% of 100 is 56.99999999999999") << 108 << 20 << 57 << "18"
                                                     << "56";
    QTest::newRow("29% of 100 is 28.999999999999996") << 108 << 20 << 29 << "18"
                                                      << "28";
    QTest::newRow("58% of 100") << 108 << 20 << 58 << "18"
                                << "57";
    QTest::newRow("inner width 0") << 8 << 20 << 75 << "18"
                                   << "0";
    QTest::newRow("inner width 0 at 100%") << 8 << 20 << 100 << "18"
                                           << "0";
    QTest::newRow("5 wide: floor(-2.25)") << 5 << 20 << 75 << "18"
                                          << "-3";
    QTest::newRow("0 wide at 75%") << 0 << 20 << 75 << "18"
                                   << "-6";
    QTest::newRow("0 wide at 0%: negative zero") << 0 << 20 << 0 << "18"
                                                 << "0";
    QTest::newRow("1 high") << 100 << 1 << 75 << "-1"
                            << "69";
    QTest::newRow("100% fills the inner width") << 100 << 20 << 100 << "18"
                                                << "92";
    QTest::newRow("150% is not clamped") << 100 << 20 << 150 << "18"
                                         << "138";
    QTest::newRow("negative percent") << 100 << 20 << -10 << "18"
                                      << "-10";
    QTest::newRow("0%") << 100 << 20 << 0 << "18"
                        << "0";
    QTest::newRow("huge cell") << std::numeric_limits<int>::max() << 20 << 100 << "18"
                               << "2147483639";
}

void TestProgressMarkup::nestedBarWidthIsFlooredFromTheDoubleProduct() {
    QFETCH(int, cellWidth);
    QFETCH(int, cellHeight);
    QFETCH(int, percent);
    QFETCH(QString, height);
    QFETCH(QString, width);
    QCOMPARE(BuildNestedMarkup(cellWidth, cellHeight, percent),
             samples::nestedWith(width, height, QString::number(percent)));
}

void TestProgressMarkup::layeredBarWidthRoundsHalfToEven_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("track");
    QTest::addColumn<QString>("bar");
    QTest::newRow("2.5 gives 2") << 14 << 25 << "10"
                                 << "2";
    QTest::newRow("3.5 gives 4") << 18 << 25 << "14"
                                 << "4";
    QTest::newRow("56.99999999999999 gives 57") << 104 << 57 << "100"
                                                << "57";
    QTest::newRow("track 0") << 4 << 75 << "0"
                             << "0";
    QTest::newRow("width 0: track -4") << 0 << 50 << "-4"
                                       << "-2";
    QTest::newRow("-1.5 gives -2") << 2 << 75 << "-2"
                                   << "-2";
    QTest::newRow("-0.5 gives 0") << 3 << 50 << "-1"
                                  << "0";
    QTest::newRow("0%") << 100 << 0 << "96"
                        << "0";
    QTest::newRow("100%") << 128 << 100 << "124"
                          << "124";
    QTest::newRow("percent out of range is written as given") << 100 << 250 << "96"
                                                              << "240";
}

void TestProgressMarkup::layeredBarWidthRoundsHalfToEven() {
    QFETCH(int, width);
    QFETCH(int, percent);
    QFETCH(QString, track);
    QFETCH(QString, bar);
    QCOMPARE(BuildProgressMarkup(width, percent),
             samples::layeredWith(track, bar, QString::number(percent)));
}

void TestProgressMarkup::overflowingArithmeticGivesNoText_data() {
    QTest::addColumn<int>("variant"); // 0 nested, 1 layered
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("percent");
    const int min = std::numeric_limits<int>::min();
    const int max = std::numeric_limits<int>::max();
    QTest::newRow("nested: cellWidth - 8") << 0 << min + 7 << 20 << 50;
    QTest::newRow("nested: cellHeight - 2") << 0 << 100 << min + 1 << 50;
    QTest::newRow("layered: width - 4") << 1 << min + 3 << 0 << 50;
    QTest::newRow("layered: bar beyond 32 bits") << 1 << max << 0 << 200;
}

void TestProgressMarkup::overflowingArithmeticGivesNoText() {
    QFETCH(int, variant);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, percent);
    QString text = QStringLiteral("unchanged");
    const int error = errorOf([&] {
        text = variant == 0 ? BuildNestedMarkup(a, b, percent) : BuildProgressMarkup(a, percent);
    });
    QCOMPARE(error, 6);
    QCOMPARE(text, QStringLiteral("unchanged"));
}

QTEST_APPLESS_MAIN(TestProgressMarkup)
#include "test_progress_markup.moc"
