// The window host: creating controls by class name, twips placement, the timer, the dispatcher,
// colours, and the two ControlKit controls.
#include "dispatcher_testing.h"
#include "form_testing.h"
#include "placement.h"

#include "gridgauge/controlkit/controlkit.h"
#include "gridgauge/controlkit/label.h"
#include "gridgauge/controlkit/progress_bar.h"
#include "gridgauge/host/control_registry.h"
#include "gridgauge/host/dispatcher.h"
#include "gridgauge/host/form.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/system_colors.h"
#include "gridgauge/host/timer.h"
#include "gridgauge/host/units.h"

#include <QApplication>
#include <QPair>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <new>
#include <stdexcept>

using namespace host;

namespace {

FormDescription twoLabels() {
    FormDescription d{QStringLiteral("Host"), 1500, 1500, 3000, 1500, {}};
    d.controls.push_back({QStringLiteral("Back"),
                          -1,
                          ControlDescription::Kind::Hosted,
                          QStringLiteral("ControlKit.Label"),
                          0,
                          0,
                          1500,
                          300,
                          1,
                          {{"caption", QStringLiteral("back")}}});
    d.controls.push_back({QStringLiteral("Tick"),
                          -1,
                          ControlDescription::Kind::Timer,
                          {},
                          0,
                          0,
                          0,
                          0,
                          -1,
                          {{"enabled", false}, {"interval", 1}}});
    d.controls.push_back({QStringLiteral("Front"),
                          -1,
                          ControlDescription::Kind::Hosted,
                          QStringLiteral("ControlKit.Label"),
                          150,
                          0,
                          1500,
                          300,
                          0,
                          {{"caption", QStringLiteral("front")}}});
    return d;
}

// The control stacked front-most at p, whether or not it takes the pointer.
QWidget* frontAt(const QWidget& form, const QPoint& p) {
    const QObjectList children = form.children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto* widget = qobject_cast<QWidget*>(*it);
        if (widget && !widget->isHidden() && widget->geometry().contains(p))
            return widget;
    }
    return nullptr;
}

// Every colour property of both controls: the palette role it shows in, and a value it refuses.
void colourProperties() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::addColumn<uint>("invalid");
    const QString label = QStringLiteral("ControlKit.Label");
    const QString bar = QStringLiteral("ControlKit.ProgressBar");
    QTest::newRow("label fore") << label << QByteArray("foreColor") << QPalette::WindowText
                                << 0x01000000u;
    QTest::newRow("label back") << label << QByteArray("backColor") << QPalette::Window
                                << 0x80000019u;
    QTest::newRow("bar fore") << bar << QByteArray("foreColor") << QPalette::WindowText
                              << 0x8000010Fu;
    QTest::newRow("bar back") << bar << QByteArray("backColor") << QPalette::Window << 0x01000000u;
    QTest::newRow("bar") << bar << QByteArray("barColor") << QPalette::Highlight << 0x80000019u;
}

} // namespace

class TestHost : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { controlkit::registerControls(); }
    void cleanup() {
        testing::setReporter({});
        testing::setTerminator({});
        testing::reset();
    }

    void twipsPerPixelFollowsTheScreen();
    void moveRoundsTwipsToWholePixels_data();
    void moveRoundsTwipsToWholePixels();
    void formCreatesControlsInOrderLaterInFront();
    void formRefusesUnknownClassesAndProperties();
    void bringToFrontRaisesOverSiblings();
    void windowIsMovedJustEnoughToFit_data();
    void windowIsMovedJustEnoughToFit();
    void timerTicksOnlyThroughTheEventLoop();
    void timerArmedTwiceTicksOnceWhenDisarmedByItsHandler();
    void timerDisarmedDuringItsTickStaysQuiet();
    void timerArmedAgainKeepsCounting();
    void dispatcherReportsEndsAndRunsNothingAfterAFailure();
    void dispatcherReportsEveryEscapingException_data();
    void dispatcherReportsEveryEscapingException();
    void systemColorsFollowThePalette();
    void controlsRefuseAnInvalidColourAndKeepTheirOwn_data();
    void controlsRefuseAnInvalidColourAndKeepTheirOwn();
    void controlsFollowTheApplicationPalette_data();
    void controlsFollowTheApplicationPalette();
    void progressBarClampsIntoItsRange_data();
    void progressBarClampsIntoItsRange();
    void labelKeepsTagAsItsDescription();
    void progressBarFillsItsShareInItsOwnColours_data();
    void progressBarFillsItsShareInItsOwnColours();
};

void TestHost::twipsPerPixelFollowsTheScreen() {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    QCOMPARE(double(units::twipsPerPixelX()), double(float(1440.0 / dpi)));
    QCOMPARE(dpi, 96.0); // the offscreen platform reports 96 dpi; the figures below rely on it
    QCOMPARE(units::twipsToPixelsX(7845), 523);
    QCOMPARE(units::twipsToPixelsY(5730), 382);
    QCOMPARE(units::pixelsToTwipsX(523), 7845.0);
}

void TestHost::moveRoundsTwipsToWholePixels_data() {
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("pixelLeft");
    QTest::addColumn<int>("pixelWidth");
    QTest::newRow("exact") << 300.0 << 1500.0 << 20 << 100;
    QTest::newRow("half rounds to even (down)") << 37.5 << 22.5 << 2 << 2;
    QTest::newRow("half rounds to even (up)") << 52.5 << 52.5 << 4 << 4;
    QTest::newRow("single precision value") << double(7.4f * 15.0f) << 15.0 << 7 << 1;
    QTest::newRow("negative width counts as 0") << -30.0 << -150.0 << -2 << 0;
}

void TestHost::moveRoundsTwipsToWholePixels() {
    QFETCH(double, left);
    QFETCH(double, width);
    QFETCH(int, pixelLeft);
    QFETCH(int, pixelWidth);
    QWidget parent;
    QWidget child(&parent);
    move(child, left, 150, width, 300);
    QCOMPARE(child.geometry(), QRect(pixelLeft, 10, pixelWidth, 20));
}

void TestHost::formCreatesControlsInOrderLaterInFront() {
    Form form(twoLabels());
    QCOMPARE(form.caption(), QStringLiteral("Host"));
    QCOMPARE(form.geometry(), QRect(100, 100, 200, 100));
    QCOMPARE(form.scaleWidth(), 3000.0f);
    QCOMPARE(form.scaleHeight(), 1500.0f);

    const QList<QWidget*> controls = form.controls();
    QCOMPARE(controls.size(), 2);
    QCOMPARE(controls[0]->objectName(), QStringLiteral("Back"));
    QCOMPARE(controls[1]->objectName(), QStringLiteral("Front"));
    QCOMPARE(controls[1]->geometry(), QRect(10, 0, 100, 20));
    // Children are stacked in creation order: the last one is in front.
    QCOMPARE(frontAt(form, QPoint(50, 5)), controls[1]);
    QCOMPARE(qobject_cast<controlkit::Label*>(controls[0])->caption(), QStringLiteral("back"));
    QCOMPARE(testing::tabIndex(*controls[0]), 1);
    QCOMPARE(testing::tabIndex(*controls[1]), 0);
    QVERIFY(!form.timer(QStringLiteral("Tick"))->enabled());
    QCOMPARE(form.timer(QStringLiteral("Tick"))->interval(), 1);
}

void TestHost::formRefusesUnknownClassesAndProperties() {
    auto expectError = [](int number, const FormDescription& d) {
        try {
            Form form(d);
            QFAIL("the form accepted a faulty description");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), number);
        }
    };
    FormDescription unknownClass = twoLabels();
    unknownClass.controls[0].className = QStringLiteral("NoKit.Nothing");
    expectError(429, unknownClass);
    FormDescription unknownProperty = twoLabels();
    unknownProperty.controls[2].settings.push_back({"noSuchProperty", 1});
    expectError(438, unknownProperty);

    Form form(twoLabels());
    try {
        form.control(QStringLiteral("Nothing"));
        QFAIL("an unknown control name was accepted");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), 91);
    }
    try {
        form.control(QStringLiteral("Back"), 3);
        QFAIL("an array index that does not exist was accepted");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), 9);
    }
}

void TestHost::bringToFrontRaisesOverSiblings() {
    Form form(twoLabels());
    QWidget* back = form.controls()[0];
    bringToFront(*back);
    QCOMPARE(frontAt(form, QPoint(50, 5)), back);
}

void TestHost::windowIsMovedJustEnoughToFit_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("placed");
    const QRect screen(0, 0, 640, 400);
    QTest::newRow("fits where designed") << QRect(50, 60, 300, 200) << screen << QPoint(50, 60);
    QTest::newRow("fits exactly") << QRect(340, 200, 300, 200) << screen << QPoint(340, 200);
    QTest::newRow("past the right") << QRect(400, 60, 300, 200) << screen << QPoint(340, 60);
    QTest::newRow("past the bottom") << QRect(50, 300, 300, 200) << screen << QPoint(50, 200);
    QTest::newRow("past both") << QRect(600, 390, 300, 200) << screen << QPoint(340, 200);
    QTest::newRow("left of the screen") << QRect(-20, -5, 300, 200) << screen << QPoint(0, 0);
    QTest::newRow("larger than the screen")
        << QRect(100, 100, 700, 500) << screen << QPoint(0, 0); // top left kept in reach
    QTest::newRow("second screen, beside a panel")
        << QRect(1800, 50, 300, 200) << QRect(1024, 30, 800, 570) << QPoint(1524, 50);
}

void TestHost::windowIsMovedJustEnoughToFit() {
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, placed);
    QCOMPARE(detail::placeWithin(frame, available), placed);
}

void TestHost::timerTicksOnlyThroughTheEventLoop() {
    Timer timer;
    timer.setEnabled(false);
    timer.setInterval(1);
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setEnabled(true);
    QTest::qSleep(5); // time passes, but no event loop runs
    QCOMPARE(ticks.count(), 0);
    QVERIFY(ticks.wait(1000));
}

void TestHost::timerArmedTwiceTicksOnceWhenDisarmedByItsHandler() {
    Timer timer;
    timer.setEnabled(false);
    timer.setInterval(1);
    int runs = 0;
    connect(&timer, &Timer::tick, [&] {
        ++runs;
        timer.setEnabled(false);
    });
    timer.setEnabled(true);
    timer.setEnabled(true);
    timer.setEnabled(true);
    QTest::qWait(50);
    QCOMPARE(runs, 1);
}

void TestHost::timerDisarmedDuringItsTickStaysQuiet() {
    Timer timer;
    timer.setEnabled(false);
    timer.setInterval(1);
    int runs = 0;
    connect(&timer, &Timer::tick, [&] {
        ++runs;
        timer.setEnabled(true);  // an arming during the run ...
        timer.setEnabled(false); // ... is cancelled by the disarming that follows
    });
    timer.setEnabled(true);
    QTest::qWait(50);
    QCOMPARE(runs, 1);
    QVERIFY(!timer.enabled());
}

// Arming an armed timer does not restart its interval: a stream of armings, each sooner than
// the interval, still gets its tick.
void TestHost::timerArmedAgainKeepsCounting() {
    Timer timer;
    timer.setEnabled(false);
    timer.setInterval(100);
    QSignalSpy ticks(&timer, &Timer::tick);
    QTimer stream;
    connect(&stream, &QTimer::timeout, [&] { timer.setEnabled(true); });
    timer.setEnabled(true);
    stream.start(40);
    QVERIFY(ticks.wait(2000));
}

void TestHost::dispatcherReportsEndsAndRunsNothingAfterAFailure() {
    auto& dispatcher = Dispatcher::instance();
    QList<int> reported;
    QList<int> statuses;
    testing::setReporter([&](const RuntimeError& e) { reported.append(e.number()); });
    testing::setTerminator([&](int status) { statuses.append(status); });

    int steps = 0;
    QVERIFY(dispatcher.invoke([&] { ++steps; }));
    QVERIFY(!dispatcher.invoke([&] {
        ++steps;
        throw RuntimeError(Overflow);
        ++steps; // never reached
    }));
    QCOMPARE(steps, 2); // the step made before the error stays made
    QCOMPARE(reported, QList<int>{6});
    QCOMPARE(statuses, QList<int>{1});
    QVERIFY(!dispatcher.invoke([&] { ++steps; }));
    QCOMPARE(steps, 2);
}

void TestHost::dispatcherReportsEveryEscapingException_data() {
    QTest::addColumn<std::function<void()>>("thrower");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("run-time error")
        << std::function<void()>([] { throw RuntimeError(TypeMismatch); }) << 13
        << QStringLiteral("Type mismatch");
    QTest::newRow("out of memory") << std::function<void()>([] { throw std::bad_alloc(); }) << 7
                                   << QStringLiteral("Out of memory");
    QTest::newRow("standard exception")
        << std::function<void()>([] { throw std::out_of_range("vector"); }) << 51
        << QStringLiteral("Internal error");
    QTest::newRow("anything else")
        << std::function<void()>([] { throw 42; }) << 51 << QStringLiteral("Internal error");
}

void TestHost::dispatcherReportsEveryEscapingException() {
    QFETCH(std::function<void()>, thrower);
    QFETCH(int, number);
    QFETCH(QString, description);
    auto& dispatcher = Dispatcher::instance();
    QList<QPair<int, QString>> reported;
    QList<int> statuses;
    testing::setReporter([&](const RuntimeError& e) {
        reported.append({e.number(), e.description()});
    });
    testing::setTerminator([&](int status) { statuses.append(status); });
    QVERIFY(!dispatcher.invoke(thrower));
    QCOMPARE(reported, (QList<QPair<int, QString>>{{number, description}}));
    QCOMPARE(statuses, QList<int>{1});
    QVERIFY(testing::failed());
}

void TestHost::systemColorsFollowThePalette() {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    QCOMPARE(colors::resolve(colors::ButtonFace, palette), QColor(1, 2, 3));
    QCOMPARE(colors::resolve(colors::ButtonText, palette), QColor(4, 5, 6));
    QCOMPARE(colors::resolve(0x00FF8040u, palette), QColor(0x40, 0x80, 0xFF));
    for (quint32 bad : {0x80000019u, 0x8000010Fu, 0x01000000u}) {
        QVERIFY(!colors::isValid(bad));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, colors::resolve(bad, palette));
    }
}

void TestHost::controlsRefuseAnInvalidColourAndKeepTheirOwn_data() {
    colourProperties();
}

// Set by name, as a form's description sets them: the refusal leaves the colour it had, shown.
void TestHost::controlsRefuseAnInvalidColourAndKeepTheirOwn() {
    QFETCH(QString, className);
    QFETCH(QByteArray, property);
    QFETCH(QPalette::ColorRole, role);
    QFETCH(uint, invalid);
    QWidget parent;
    QWidget* control = ControlRegistry::instance().create(className, &parent);
    QVERIFY(control->setProperty(property.constData(), 0x0000FF00u)); // green
    try {
        control->setProperty(property.constData(), invalid);
        QFAIL("an invalid colour was taken");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), 380);
    }
    QCOMPARE(control->property(property.constData()).toUInt(), 0x0000FF00u);
    QCOMPARE(control->palette().color(role), QColor(Qt::green));
}

void TestHost::controlsFollowTheApplicationPalette_data() {
    colourProperties();
}

// A system colour is the application's as it is now, not as it was when set: also on a control in
// a shown window, where Qt tells only the window of the change.
void TestHost::controlsFollowTheApplicationPalette() {
    QFETCH(QString, className);
    QFETCH(QByteArray, property);
    QFETCH(QPalette::ColorRole, role);
    QWidget parent;
    QWidget* control = ControlRegistry::instance().create(className, &parent);
    QVERIFY(control->setProperty(property.constData(), colors::ButtonFace));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    const QColor shown = control->palette().color(role);
    QApplication::setPalette(before);
    QCOMPARE(shown, QColor(10, 20, 30));
}

void TestHost::progressBarClampsIntoItsRange_data() {
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("read");
    QTest::newRow("75") << 75 << 75;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("101 (Up at 100)") << 101 << 100;
    QTest::newRow("-1 (Down at 0)") << -1 << 0;
    QTest::newRow("int32 min") << std::numeric_limits<int>::min() << 0;
}

void TestHost::progressBarClampsIntoItsRange() {
    QFETCH(int, written);
    QFETCH(int, read);
    controlkit::ProgressBar bar;
    QCOMPARE(bar.value(), 0);
    QCOMPARE(bar.text(), QString());
    bar.setValue(written);
    QCOMPARE(bar.value(), read);
}

void TestHost::labelKeepsTagAsItsDescription() {
    controlkit::Label label;
    label.setCaption(QStringLiteral("Label 0"));
    label.setTag(QStringLiteral("EAN On"));
    QCOMPARE(label.tag(), QStringLiteral("EAN On"));
    QCOMPARE(label.accessibleDescription(), QStringLiteral("EAN On"));
    QCOMPARE(label.text(), QStringLiteral("Label 0"));
    label.setBackColor(colors::ButtonFace);
    QCOMPARE(label.palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Button));
}

void TestHost::progressBarFillsItsShareInItsOwnColours_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("filled"); // of the 151 pixels inside the frame
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("75") << 75 << 113;
    QTest::newRow("100") << 100 << 151;
}

void TestHost::progressBarFillsItsShareInItsOwnColours() {
    QFETCH(int, value);
    QFETCH(int, filled);
    controlkit::ProgressBar bar;
    bar.resize(153, 25);
    bar.setBackColor(0x00FFFFFFu);
    bar.setBarColor(0x000000FFu); // red
    bar.setValue(value);
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(153, 25));
    const int y = 12;
    // The style shades its chunk and rounds its ends: red is what the bar colour looks like in
    // it, and its end may blend into the groove over a pixel.
    const auto red = [&](int x) {
        const QColor c = image.pixelColor(x, y);
        return c.red() > 200 && c.green() < 100 && c.blue() < 100;
    };
    if (filled > 2) {
        QVERIFY(red(2));
        QVERIFY(red(filled - 1));
    }
    if (filled < 151)
        QCOMPARE(image.pixelColor(filled + 2, y), QColor(Qt::white));
    QVERIFY(image.pixelColor(0, y) != QColor(Qt::white)); // the frame
    QVERIFY(image.pixelColor(0, y) != image.pixelColor(2, y));
    QVERIFY(image.pixelColor(152, y) != image.pixelColor(150, y));
}

QTEST_MAIN(TestHost)
#include "test_host.moc"
