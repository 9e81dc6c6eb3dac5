// Every fill is a rectangle at whole coordinates, which stays crisp at any device pixel ratio.
#include "progress_bar.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace gridkit::detail {

namespace {

const QColor kFrame(0x5E, 0x72, 0x93);
const QColor kTrackTop(0xC0, 0xCB, 0xDF);
const QColor kTrackBottom(0xDC, 0xE9, 0xFA);
const QColor kBarStart(0x65, 0x8C, 0x4B);
const QColor kBarEnd(0xA4, 0xDB, 0x64);

double clamped(double value) {
    return std::clamp(value, 0.0, 100.0);
}

// A box framed by one pixel of kFrame, its inside filled with a gradient from one corner's colour
// to the other's along the given direction. Under an opaque gradient the frame is one fill of the
// whole box, as the markup engine paints a Border.
void framed(QPainter& painter, const QRect& box, const QPointF& towards, const QColor& from,
            const QColor& to) {
    if (box.isEmpty())
        return;
    painter.fillRect(box, kFrame);
    const QRect inside = box.adjusted(1, 1, -1, -1);
    if (inside.isEmpty())
        return;
    const QPointF start(towards.x() < 0 ? inside.x() + inside.width() : inside.x(), inside.y());
    QLinearGradient gradient(
        start, start + QPointF(towards.x() * inside.width(), towards.y() * inside.height()));
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(inside, gradient);
}

} // namespace

std::optional<double> progressValue(const QVariant& value) {
    bool ok = false;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        number = value.toDouble(&ok);
        break;
    case QMetaType::QString:
        number = value.toString().trimmed().toDouble(&ok);
        break;
    default:
        return std::nullopt;
    }
    if (!ok || std::isnan(number))
        return std::nullopt;
    return number;
}

int progressAt(double x, const QRect& cell, Qt::LayoutDirection direction) {
    const double fromEdge =
        direction == Qt::RightToLeft ? cell.x() + cell.width() - x : x - cell.x();
    const double share = std::nearbyint(fromEdge / cell.width() * 100.0);
    return int(std::clamp(share, 0.0, 100.0));
}

QString ProgressBarCell::label() const {
    return QString::number(int(std::nearbyint(clamped(value)))) + u'%';
}

int ProgressBarCell::barWidth(int trackWidth) const {
    return int(std::nearbyint(clamped(value) / 100.0 * trackWidth));
}

void ProgressBarCell::paint(QPainter& painter, const QRect& cell, const QFont& font) const {
    const QRect track = trackIn(cell);
    if (track.isEmpty())
        return;
    framed(painter, track, {0, 1}, kTrackTop, kTrackBottom);
    const int width = barWidth(track.width());
    const bool rtl = direction == Qt::RightToLeft;
    const QRect bar(rtl ? track.x() + track.width() - width : track.x(), track.y(), width,
                    track.height());
    framed(painter, bar, {rtl ? -1.0 : 1.0, 0}, kBarStart, kBarEnd);
    QFont bold = font;
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.setPen(Qt::white);
    painter.drawText(track, Qt::AlignCenter | Qt::TextSingleLine, label());
    painter.restore();
}

} // namespace gridkit::detail
