// The real binaries: Gridgauge runs until closed; whatever escapes a handler ends a program with
// its report and status 1.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A private runtime directory keeps Qt's own start-up notes off stderr, which the tests read.
void prepare(QProcess& p, const QTemporaryDir& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    p.setProcessEnvironment(env);
}

} // namespace

class TestProcess : public QObject {
    Q_OBJECT

private slots:
    void gridgaugeKeepsRunningUntilClosed();
    void escapingErrorIsReportedAndEndsWithStatusOne_data();
    void escapingErrorIsReportedAndEndsWithStatusOne();
};

void TestProcess::gridgaugeKeepsRunningUntilClosed() {
    QTemporaryDir runtime;
    QProcess p;
    prepare(p, runtime);
    p.start(QStringLiteral(GRIDGAUGE_BINARY), {"-platform", "offscreen"});
    QVERIFY(p.waitForStarted(5000));
    QVERIFY2(!p.waitForFinished(1500), "Gridgauge ended by itself");
    QCOMPARE(p.state(), QProcess::Running);
    p.terminate();
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.readAllStandardError(), QByteArray());
}

void TestProcess::escapingErrorIsReportedAndEndsWithStatusOne_data() {
    QTest::addColumn<QString>("thrown");
    QTest::addColumn<QByteArray>("report");
    QTest::newRow("run-time error") << "" << QByteArray("Run-time error '6':\n\nOverflow\n");
    QTest::newRow("out of memory")
        << "bad-alloc" << QByteArray("Run-time error '7':\n\nOut of memory\n");
    QTest::newRow("standard exception")
        << "std-exception" << QByteArray("Run-time error '51':\n\nInternal error\n");
    QTest::newRow("no exception class")
        << "int" << QByteArray("Run-time error '51':\n\nInternal error\n");
}

void TestProcess::escapingErrorIsReportedAndEndsWithStatusOne() {
    QFETCH(QString, thrown);
    QFETCH(QByteArray, report);
    QTemporaryDir runtime;
    QProcess p;
    prepare(p, runtime);
    QStringList arguments{"-platform", "offscreen"};
    if (!thrown.isEmpty())
        arguments << thrown;
    p.start(QStringLiteral(FAILING_HANDLER_BINARY), arguments);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(p.readAllStandardError(), report);
    QCOMPARE(p.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(TestProcess)
#include "test_process.moc"
