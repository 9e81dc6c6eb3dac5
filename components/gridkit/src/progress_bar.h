#pragma once

// The progress bars a ProgressDelegate draws in a cell, their label, and how a pointer's position
// in the cell reads as a value. Nothing here knows of models or views.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QVariant>

#include <optional>

class QLocale;
class QPainter;
class QStyle;
class QStyleOptionViewItem;

namespace gridgauge::gridkit::detail {

// The number a cell's value holds, or nothing when it holds none: a value of a numeric type, or a
// text that reads wholly as a number; NaN is no number. Truth values are not numbers either.
std::optional<double> progressValue(const QVariant& value);

// The values a bar spans; minimum <= maximum, and both may be equal.
struct ProgressRange {
    int minimum = 0;
    int maximum = 100;

    double clamped(double value) const;
    // The clamped value's share of the range, 0 to 1: 0 when the range holds one value alone, so
    // that such a bar is drawn empty rather than divided by zero.
    double share(double value) const;
};

// The value a pointer at x stands for in a cell: the distance of the pixel under it from the
// leading edge's pixel (the left one left to right, the right one right to left) as a share of
// the cell's width, mapped onto the range, rounded to the nearest whole number (a tie to the even
// one) and clamped to it. The cell must have a width.
int progressAt(double x, const QRect& cell, Qt::LayoutDirection direction,
               const ProgressRange& range);

// The format with "%p" replaced by the value's whole percentage of the range, "%v" by the value
// and "%m" by the range's steps, as QProgressBar writes them: numbers in the locale without group
// separators, the percentage rounded towards zero, so that a bar says 100% only when it is full.
// The value is taken clamped; a range of one value is 0%.
QString progressText(const QString& format, double value, const ProgressRange& range,
                     const QLocale& locale);

// A bar's text and the two colours it is drawn in: one where it lies over the fill, one where it
// lies over the rest of the track, as QProgressBar's text is drawn, so that it reads on both.
struct ProgressLabel {
    QString text;
    QFont font;
    QColor overFill;
    QColor overTrack;
};

// Where either bar lies in a cell: the cell less 2 pixels left and right and 1 top and bottom.
QRect trackIn(const QRect& cell);

// preferred where it reads on background (a contrast of 4.5:1 or more, the least that body text
// asks for), else black or white, whichever reads better there.
QColor readableOn(const QColor& preferred, const QColor& background);

// The gradient bar: the track a vertical gradient in a one-pixel frame, with a horizontal
// gradient bar, framed alike, over its leading part.
namespace gradient_bar {

// The bar's width on a track of the given width for a share of 0 to 1, to the nearest pixel.
int barWidth(double share, int trackWidth);
// The colour its text takes where none is set, over the fill and over the track alike: the
// gradients are fixed, whatever the palette, and black reads on both of them.
QColor textColor();
void paint(QPainter& painter, const QRect& cell, double share, Qt::LayoutDirection direction,
           const ProgressLabel& label);

} // namespace gradient_bar

// The style's own progress bar (CE_ProgressBar through a QStyleOptionProgressBar) in the same
// track, for the view's palette and state as item holds them, its label drawn over it.
namespace style_bar {

void paint(QPainter& painter, const QStyleOptionViewItem& item, double share,
           const ProgressLabel& label);

} // namespace style_bar

} // namespace gridgauge::gridkit::detail
