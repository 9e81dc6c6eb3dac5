#pragma once

#include <QtGlobal>

class QWidget;

// Twips (1/1440 inch) and device-independent pixels meet here and nowhere else.
namespace host::units {

inline constexpr double TwipsPerInch = 1440.0;

// Twips per pixel of the screen the widget is on (the primary screen without a widget):
// 1440 / logical DPI, 15 at 96 dpi.
float twipsPerPixelX(const QWidget* widget = nullptr);
float twipsPerPixelY(const QWidget* widget = nullptr);

// A twips position or size in whole pixels, rounded half to even; throws 6 when it does not fit.
int twipsToPixelsX(double twips, const QWidget* widget = nullptr);
int twipsToPixelsY(double twips, const QWidget* widget = nullptr);
double pixelsToTwipsX(int pixels, const QWidget* widget = nullptr);
double pixelsToTwipsY(int pixels, const QWidget* widget = nullptr);

} // namespace host::units
