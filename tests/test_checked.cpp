// The numeric model: checked integer steps, half-to-even stores, finite floating results.
#include "gridgauge/host/checked.h"
#include "gridgauge/host/runtime_error.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace host;

class TestChecked : public QObject {
    Q_OBJECT

private slots:
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void refusesWhatDoesNotFit_data();
    void refusesWhatDoesNotFit();
    void integerStepsOverflowAtTheirEdges_data();
    void integerStepsOverflowAtTheirEdges();
    void divisionKeepsResultsFinite_data();
    void divisionKeepsResultsFinite();
    void errorsCarryTheirStandardText();
};

void TestChecked::roundsHalfToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("int32");
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-0.0") << -0.0 << 0;
    QTest::newRow("12.5") << 12.5 << 12;
    QTest::newRow("37.5") << 37.5 << 38;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("int32 max") << 2147483647.0 << std::numeric_limits<qint32>::max();
    QTest::newRow("int32 min") << -2147483648.0 << std::numeric_limits<qint32>::min();
    QTest::newRow("just under max") << 2147483647.4 << std::numeric_limits<qint32>::max();
}

void TestChecked::roundsHalfToEven() {
    QFETCH(double, value);
    QFETCH(int, int32);
    QCOMPARE(checked::toInt32(value), int32);
    if (std::abs(value) <= 32767)
        QCOMPARE(int(checked::toInt16(value)), int32);
}

void TestChecked::refusesWhatDoesNotFit_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("int16Only");
    QTest::newRow("int32 max + 1") << 2147483648.0 << false;
    QTest::newRow("int32 max + 0.5 rounds up") << 2147483647.5 << false;
    QTest::newRow("int32 min - 1") << -2147483649.0 << false;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false;
    QTest::newRow("+inf") << std::numeric_limits<double>::infinity() << false;
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << false;
    QTest::newRow("int16 max + 1") << 32768.0 << true;
    QTest::newRow("int16 min - 1") << -32769.0 << true;
    QTest::newRow("32767.5 rounds to 32768") << 32767.5 << true;
}

void TestChecked::refusesWhatDoesNotFit() {
    QFETCH(double, value);
    QFETCH(bool, int16Only);
    try {
        checked::toInt16(value);
        QFAIL("toInt16 accepted a value that does not fit");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), 6);
    }
    if (int16Only) {
        QCOMPARE(checked::toInt32(value), checked::toInt32(std::nearbyint(value)));
        return;
    }
    try {
        checked::toInt32(value);
        QFAIL("toInt32 accepted a value that does not fit");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), 6);
    }
}

void TestChecked::integerStepsOverflowAtTheirEdges_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<bool>("bits16");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<int>("result");
    const int max32 = std::numeric_limits<qint32>::max();
    const int min32 = std::numeric_limits<qint32>::min();
    QTest::newRow("75 + 1") << 75 << 1 << false << false << false << 76;
    QTest::newRow("0 - 1") << 0 << 1 << true << false << false << -1;
    QTest::newRow("max32 + 0") << max32 << 0 << false << false << false << max32;
    QTest::newRow("max32 + 1") << max32 << 1 << false << false << true << 0;
    QTest::newRow("min32 - 1") << min32 << 1 << true << false << true << 0;
    QTest::newRow("min32 + -1") << min32 << -1 << false << false << true << 0;
    QTest::newRow("0 - min32") << 0 << min32 << true << false << true << 0;
    QTest::newRow("-1 - min32") << -1 << min32 << true << false << false << max32;
    QTest::newRow("max16 + 1") << 32767 << 1 << false << true << true << 0;
    QTest::newRow("min16 - 1") << -32768 << 1 << true << true << true << 0;
    QTest::newRow("10 + 1 (16)") << 10 << 1 << false << true << false << 11;
    QTest::newRow("-32767 - 1 (16)") << -32767 << 1 << true << true << false << -32768;
}

void TestChecked::integerStepsOverflowAtTheirEdges() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, subtract);
    QFETCH(bool, bits16);
    QFETCH(bool, overflows);
    QFETCH(int, result);
    auto run = [&]() -> int {
        if (bits16)
            return subtract ? checked::subtract16(qint16(a), qint16(b))
                            : checked::add16(qint16(a), qint16(b));
        return subtract ? checked::subtract(a, b) : checked::add(a, b);
    };
    try {
        const int got = run();
        QVERIFY2(!overflows, "expected overflow error 6");
        QCOMPARE(got, result);
    } catch (const RuntimeError& e) {
        QVERIFY2(overflows, "unexpected run-time error");
        QCOMPARE(e.number(), 6);
        QCOMPARE(e.description(), QStringLiteral("Overflow"));
    }
}

void TestChecked::divisionKeepsResultsFinite_data() {
    QTest::addColumn<double>("numerator");
    QTest::addColumn<double>("denominator");
    QTest::addColumn<int>("error");
    QTest::addColumn<double>("result");
    QTest::newRow("16 / 128") << 16.0 << 128.0 << 0 << 0.125;
    QTest::newRow("-15 / 128") << -15.0 << 128.0 << 0 << -15.0 / 128.0;
    QTest::newRow("x / 0") << 5.0 << 0.0 << 11 << 0.0;
    QTest::newRow("x / -0") << -5.0 << -0.0 << 11 << 0.0;
    QTest::newRow("0 / 0") << 0.0 << 0.0 << 6 << 0.0;
    QTest::newRow("huge / tiny") << 1e308 << 1e-308 << 6 << 0.0;
    QTest::newRow("NaN / 1") << std::numeric_limits<double>::quiet_NaN() << 1.0 << 6 << 0.0;
}

void TestChecked::divisionKeepsResultsFinite() {
    QFETCH(double, numerator);
    QFETCH(double, denominator);
    QFETCH(int, error);
    QFETCH(double, result);
    try {
        const double got = checked::divide(numerator, denominator);
        QCOMPARE(error, 0);
        QCOMPARE(got, result);
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), error);
    }
}

void TestChecked::errorsCarryTheirStandardText() {
    QCOMPARE(RuntimeError(5).description(), QStringLiteral("Invalid procedure call or argument"));
    QCOMPARE(RuntimeError(9).description(), QStringLiteral("Subscript out of range"));
    QCOMPARE(RuntimeError(11).description(), QStringLiteral("Division by zero"));
    QCOMPARE(RuntimeError(91).description(),
             QStringLiteral("Object variable or With block variable not set"));
    QCOMPARE(QString::fromUtf8(RuntimeError(6).what()),
             QStringLiteral("Run-time error '6': Overflow"));
}

QTEST_APPLESS_MAIN(TestChecked)
#include "test_checked.moc"
