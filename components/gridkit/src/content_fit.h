#pragma once

// What a header shows and whether it fits: the width a column's header caption needs (part of
// what a double click on its divider fits the column to; its cells' delegates tell the rest),
// and what a header's tooltip tells: its column's tooltip while a click sorts, else the whole of
// a caption that shows cut off.

#include <QRect>
#include <QString>

#include <optional>

namespace gridgauge::gridkit {

class ReportGridPrivate;

namespace detail {

// The width that shows the column's header caption whole.
int headerWidthFor(const ReportGridPrivate& view, int column);

struct CutText {
    QString text;
    QRect area; // laid out left to right, in the band
};
// The tooltip for a point of the band, laid out left to right; nothing where it has none.
std::optional<CutText> headerTipAt(const ReportGridPrivate& view, const QPoint& at);

} // namespace detail
} // namespace gridgauge::gridkit
