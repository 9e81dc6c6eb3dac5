// The real binaries: Gridgauge runs until closed; an escaping run-time error ends a program with
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

void TestProcess::escapingErrorIsReportedAndEndsWithStatusOne() {
    QTemporaryDir runtime;
    QProcess p;
    prepare(p, runtime);
    p.start(QStringLiteral(FAILING_HANDLER_BINARY), {"-platform", "offscreen"});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(p.readAllStandardError(), QByteArray("Run-time error '6':\n\nOverflow\n"));
    QCOMPARE(p.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(TestProcess)
#include "test_process.moc"
