// Every fill of the gradient bar is a rectangle at whole coordinates, which stays crisp at any
// device pixel ratio and mirrors pixel for pixel.
#include "progress_bar.h"

#include <QApplication>
#include <QLinearGradient>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gridgauge::gridkit::detail {

namespace {

const QColor kFrame(0x5E, 0x72, 0x93);
const QColor kTrackTop(0xC0, 0xCB, 0xDF);
const QColor kTrackBottom(0xDC, 0xE9, 0xFA);
const QColor kBarStart(0x65, 0x8C, 0x4B);
const QColor kBarEnd(0xA4, 0xDB, 0x64);

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
    const QPointF start(inside.x(), inside.y());
    QLinearGradient gradient(
        start, start + QPointF(towards.x() * inside.width(), towards.y() * inside.height()));
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(inside, gradient);
}

// The part of a track of the given width that the fill takes, left to right.
QRect leadingPart(const QRect& track, int width) {
    return QRect(track.x(), track.y(), width, track.height());
}

// What draw paints left to right, mirrored in box right to left: pixel for pixel, for whole
// coordinates and for pixmaps drawn at them.
template <typename Draw>
void mirroredIn(QPainter& painter, const QRect& box, Qt::LayoutDirection direction, Draw draw) {
    if (direction != Qt::RightToLeft) {
        draw();
        return;
    }
    painter.save();
    painter.translate(box.left() + box.right() + 1, 0);
    painter.scale(-1, 1);
    draw();
    painter.restore();
}

// The style's bar for an option at the origin, drawn once for each look it comes back in (its
// size, fill, palette, state and style) and kept in Qt's pixmap cache: the style's antialiased
// frames and gradients cost far more than a copy, and a column of bars shows few looks.
QPixmap drawnOnce(QStyle& style, const QStyleOptionProgressBar& bar, const QWidget* widget,
                  qreal ratio) {
    char key[160];
    std::snprintf(key, sizeof key, "gridgauge-delegate-bar-%p-%llx-%d-%dx%d@%g-%d-%d-%x",
                  static_cast<const void*>(&style),
                  static_cast<unsigned long long>(bar.palette.cacheKey()),
                  int(bar.palette.currentColorGroup()), bar.rect.width(), bar.rect.height(), ratio,
                  bar.progress, bar.maximum, uint(bar.state));
    const QString name = QString::fromLatin1(key);
    QPixmap drawn;
    if (QPixmapCache::find(name, &drawn))
        return drawn;
    drawn = QPixmap(bar.rect.size() * ratio);
    drawn.setDevicePixelRatio(ratio);
    drawn.fill(Qt::transparent);
    QPainter onPixmap(&drawn);
    style.drawControl(QStyle::CE_ProgressBar, &bar, &onPixmap, widget);
    onPixmap.end();
    QPixmapCache::insert(name, drawn);
    return drawn;
}

// The label centred in area, in one colour over the columns the fill takes and in the other
// beyond them: each part is the same text clipped to its side, so that a glyph the fill's edge
// cuts reads on both halves.
void drawLabel(QPainter& painter, const QRect& area, const QRect& fill,
               const ProgressLabel& label) {
    if (label.text.isEmpty() || area.isEmpty())
        return;
    const QRect over = QRect(fill.x(), area.y(), fill.width(), area.height()) & area;
    QRect beyond = area;
    if (!over.isEmpty()) {
        if (over.left() > area.left())
            beyond.setRight(over.left() - 1);
        else
            beyond.setLeft(over.right() + 1);
    }
    painter.save();
    painter.setFont(label.font);
    for (const auto& [part, colour] :
         {std::pair{over, label.overFill}, {beyond, label.overTrack}}) {
        if (part.isEmpty())
            continue;
        painter.save();
        painter.setClipRect(part, Qt::IntersectClip);
        painter.setPen(colour);
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, label.text);
        painter.restore();
    }
    painter.restore();
}

QString number(double value, const QLocale& locale) {
    if (std::abs(value) < 1e15 && value == std::floor(value))
        return locale.toString(qint64(value));
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

// As WCAG 2 reckons it: sRGB decoded to linear light, weighted by how bright each primary looks.
double luminance(const QColor& color) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double one = luminance(a), other = luminance(b);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

} // namespace

QColor readableOn(const QColor& preferred, const QColor& background) {
    if (contrast(preferred, background) >= 4.5)
        return preferred;
    const QColor black(Qt::black), white(Qt::white);
    return contrast(black, background) >= contrast(white, background) ? black : white;
}

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

double ProgressRange::clamped(double value) const {
    return std::clamp(value, double(minimum), double(maximum));
}

double ProgressRange::share(double value) const {
    const double steps = double(maximum) - double(minimum);
    return steps > 0 ? (clamped(value) - minimum) / steps : 0.0;
}

int progressAt(double x, const QRect& cell, Qt::LayoutDirection direction,
               const ProgressRange& range) {
    // Counted in whole pixels, the one under the pointer from the leading edge's own: right to
    // left is then left to right mirrored pixel for pixel, the last pixel 0 as the first one is,
    // and a report grid's drag reads the same.
    const int pixel = int(std::floor(x));
    const double fromEdge = direction == Qt::RightToLeft ? cell.right() - pixel : pixel - cell.x();
    const double share = std::clamp(fromEdge / cell.width(), 0.0, 1.0);
    const double steps = double(range.maximum) - double(range.minimum);
    return int(range.clamped(std::nearbyint(range.minimum + share * steps)));
}

QString progressText(const QString& format, double value, const ProgressRange& range,
                     const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    const double shown = range.clamped(value);
    const qint64 steps = qint64(range.maximum) - range.minimum;
    // As QProgressBar reckons it, the difference times 100 before the division, which keeps a
    // whole percentage whole.
    const int percent = steps > 0 ? int((shown - range.minimum) * 100.0 / double(steps)) : 0;
    QString text = format;
    text.replace(QLatin1String("%m"), plain.toString(steps));
    text.replace(QLatin1String("%v"), number(shown, plain));
    text.replace(QLatin1String("%p"), plain.toString(percent));
    return text;
}

QRect trackIn(const QRect& cell) {
    return cell.adjusted(2, 1, -2, -1);
}

namespace gradient_bar {

int barWidth(double share, int trackWidth) {
    return int(std::nearbyint(share * trackWidth));
}

QColor textColor() {
    return Qt::black;
}

void paint(QPainter& painter, const QRect& cell, double share, Qt::LayoutDirection direction,
           const ProgressLabel& label) {
    const QRect track = trackIn(cell);
    if (track.isEmpty())
        return;
    const QRect bar = leadingPart(track, barWidth(share, track.width()));
    mirroredIn(painter, track, direction, [&] {
        framed(painter, track, {0, 1}, kTrackTop, kTrackBottom);
        framed(painter, bar, {1, 0}, kBarStart, kBarEnd);
    });
    drawLabel(painter, track, QStyle::visualRect(direction, track, bar), label);
}

} // namespace gradient_bar

namespace style_bar {

void paint(QPainter& painter, const QStyleOptionViewItem& item, double share,
           const ProgressLabel& label) {
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect track = trackIn(item.rect);
    if (track.isEmpty())
        return;
    QStyleOptionProgressBar bar;
    bar.QStyleOption::operator=(item);
    // The cell's selection and focus are the item's, drawn under the bar; and with no object of
    // its own the bar starts none of the style's animations on the view.
    bar.state =
        (item.state & (QStyle::State_Enabled | QStyle::State_Active)) | QStyle::State_Horizontal;
    bar.styleObject = nullptr;
    bar.rect = QRect(QPoint(0, 0), track.size());
    bar.textVisible = false;
    // Drawn left to right and mirrored right to left: a style lays a bar filled from the right
    // out with other margins, and the label's two colours must part where the fill does.
    bar.direction = Qt::LeftToRight;
    // The range given to the style is the contents' width in pixels, so that the style fills
    // exactly the pixels the label's two colours are clipped to, and never sees the minimum
    // equal to the maximum, which it would draw as busy.
    const QRect contents = style->subElementRect(QStyle::SE_ProgressBarContents, &bar, widget);
    const int width = std::max(1, contents.width());
    const int filled = int(std::nearbyint(share * width));
    bar.minimum = 0;
    bar.maximum = width;
    bar.progress = filled;
    // The device the painting lands on, which a widget rendered into an image is not.
    const QPixmap drawn =
        drawnOnce(*style, bar, widget, painter.paintEngine()->paintDevice()->devicePixelRatioF());
    mirroredIn(painter, track, item.direction, [&] { painter.drawPixmap(track.topLeft(), drawn); });
    const QRect area = style->subElementRect(QStyle::SE_ProgressBarLabel, &bar, widget)
                           .translated(track.topLeft());
    const QRect fill = leadingPart(contents, filled).translated(track.topLeft());
    drawLabel(painter, QStyle::visualRect(item.direction, track, area),
              QStyle::visualRect(item.direction, track, fill), label);
}

} // namespace style_bar

} // namespace gridgauge::gridkit::detail
