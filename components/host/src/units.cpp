#include "gridgauge/host/units.h"

#include "gridgauge/host/checked.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace host::units {

namespace {

const QScreen* screenOf(const QWidget* widget) {
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

double dpiX(const QWidget* widget) {
    const QScreen* screen = screenOf(widget);
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

double dpiY(const QWidget* widget) {
    const QScreen* screen = screenOf(widget);
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

float twipsPerPixelX(const QWidget* widget) {
    return float(TwipsPerInch / dpiX(widget));
}
float twipsPerPixelY(const QWidget* widget) {
    return float(TwipsPerInch / dpiY(widget));
}

int twipsToPixelsX(double twips, const QWidget* widget) {
    return checked::toInt32(twips / twipsPerPixelX(widget));
}

int twipsToPixelsY(double twips, const QWidget* widget) {
    return checked::toInt32(twips / twipsPerPixelY(widget));
}

double pixelsToTwipsX(int pixels, const QWidget* widget) {
    return double(pixels) * twipsPerPixelX(widget);
}

double pixelsToTwipsY(int pixels, const QWidget* widget) {
    return double(pixels) * twipsPerPixelY(widget);
}

} // namespace host::units
