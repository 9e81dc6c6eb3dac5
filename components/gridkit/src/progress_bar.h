#pragma once

// The progress bar a ProgressDelegate draws in a cell, and how a pointer's position in the cell
// reads as a value. Nothing here knows of models or views.

#include <QFont>
#include <QRect>
#include <QVariant>

#include <optional>

class QPainter;

namespace gridkit::detail {

// The number a cell's value holds, or nothing when it holds none: a value of a numeric type, or a
// text that reads wholly as a number; NaN is no number. Truth values are not numbers either.
std::optional<double> progressValue(const QVariant& value);

// The value a pointer at x stands for in a cell: its share of the cell's width from the leading
// edge, times 100, rounded to the nearest whole number (a tie to the even one) and clamped to
// 0..100. The cell must have a width.
int progressAt(double x, const QRect& cell, Qt::LayoutDirection direction);

// A value drawn as a track with a bar as long as its share of it, and its percentage.
struct ProgressBarCell {
    double value = 0; // drawn clamped to 0..100
    Qt::LayoutDirection direction = Qt::LeftToRight;

    // The track, inside the cell less its padding.
    static QRect trackIn(const QRect& cell) { return cell.adjusted(2, 1, -2, -1); }
    // The percentage's text, "75%".
    QString label() const;
    // The bar's width on a track of the given width.
    int barWidth(int trackWidth) const;
    void paint(QPainter& painter, const QRect& cell, const QFont& font) const;
};

} // namespace gridkit::detail
