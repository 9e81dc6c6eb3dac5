// The program as scripts/screenshots shows it in a dark palette: Qt's own Fusion style with dark
// colours, which no command-line option selects. Everything after that is the program's start-up.
#include "app/startup.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace {

QPalette darkPalette() {
    const QColor window(53, 53, 53);
    const QColor base(25, 25, 25);
    const QColor text(232, 232, 232);
    const QColor disabled(128, 128, 128);
    QPalette p(text, window, window.lighter(150), window.darker(200), window.darker(150), text,
               Qt::white, base, window);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Link, QColor(86, 156, 214));
    p.setColor(QPalette::PlaceholderText, disabled);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    return runGridgauge(app);
}
