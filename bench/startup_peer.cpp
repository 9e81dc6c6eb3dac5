// The least a Qt program does to get as far as Gridgauge's first refresh: open a window of the
// same size and set its caption on the first tick of a 1 ms timer, then report "done".
// With --with-font it also measures its font first, as any window that shows text must, which
// brings up the font system before the caption instead of at exit.
#include <QApplication>
#include <QFontMetrics>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(523, 382);
    QObject::connect(&window, &QWidget::windowTitleChanged, &app, [] {
        std::fputs("done\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, &window, [&] {
        timer.stop();
        window.setWindowTitle(QStringLiteral("Progress percent: 75 %"));
    });
    if (QCoreApplication::arguments().contains(QStringLiteral("--with-font")))
        std::printf("font height %d\n", QFontMetrics(window.font()).height());
    // Armed last before the window shows, as Gridgauge's load arms its refresh: the timer then
    // becomes due with the window's first expose, and the window paints first, as Gridgauge's
    // does. Armed before the font was measured, it was overdue by the time the loop ran, and the
    // caption came before the window had painted anything.
    timer.start();
    window.show();
    return app.exec();
}
