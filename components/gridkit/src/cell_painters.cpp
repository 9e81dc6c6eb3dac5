// Lines and frames are filled one-pixel rectangles at whole coordinates, which stay crisp at any
// device pixel ratio.
#include "cell_painters.h"

#include "gridgauge/markup/markup.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>

namespace gridgauge::gridkit::detail {

namespace {

Qt::Alignment buttonAlignment(qint16 bits, Qt::LayoutDirection direction) {
    const Qt::Alignment given = Qt::Alignment(int(bits));
    Qt::Alignment horizontal = given & (Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute);
    Qt::Alignment vertical = given & Qt::AlignVertical_Mask;
    if (!horizontal)
        horizontal = Qt::AlignHCenter;
    if (!vertical)
        vertical = Qt::AlignVCenter;
    const Qt::Alignment alignment = horizontal | vertical;
    if (given & Qt::AlignAbsolute)
        return alignment;
    return QStyle::visualAlignment(direction, alignment);
}

void frame(QPainter& painter, const QRect& rect, const QBrush& brush) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), brush);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), brush);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), brush);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), brush);
}

} // namespace

void TextCell::paint(QPainter& painter, const QRect& box) const {
    if (text.isEmpty() || box.width() <= 0)
        return;
    painter.setPen(color);
    // elidedText hands back the text itself when it fits, so one measuring pass decides both;
    // shaping the text is most of what a caption costs to paint.
    painter.drawText(box, int(alignment) | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(text, Qt::ElideRight, box.width()));
}

// Measured as elidedText measures, so that a width found to fit is one it leaves whole.
int TextCell::widthFor(const QFontMetricsF& metrics, const QString& text) {
    return qCeil(metrics.horizontalAdvance(text));
}

bool TextCell::fits(const QFontMetrics& metrics, const QString& text, int width) {
    return metrics.elidedText(text, Qt::ElideRight, std::max(0, width)) == text;
}

int HeaderCaption::room(const QSize& section) const {
    return section.width() - 2 * margin - (sorted ? section.height() / 2 + margin : 0);
}

int HeaderCaption::sectionWidthFor(int textWidth, int sectionHeight) const {
    return textWidth + 2 * margin + (sorted ? sectionHeight / 2 + margin : 0);
}

void MarkupCell::paint(QPainter& painter, const QRect& box, const QFont& font,
                       Qt::LayoutDirection direction,
                       const gridgauge::markup::HostStyle& host) const {
    drawing.paint(painter, QRectF(box), font, direction, host);
}

namespace {

// What a focus frame's pixels depend on.
struct FrameLook {
    const QStyle* style = nullptr;
    qint64 palette = 0;
    QSize size;
    qreal ratio = 1;
    QRgb background = 0;
    uint state = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    bool operator==(const FrameLook&) const = default;
};

// The frames drawn last, held by Qt's pixmap cache, which owns the memory and may drop them; each
// is found again by its look without making a text key at every paint.
class RecentFrames {
public:
    bool find(const FrameLook& look, QPixmap& frame) const {
        for (const Entry& entry : entries_) {
            if (entry.look == look && QPixmapCache::find(entry.key, &frame))
                return true;
        }
        return false;
    }
    void insert(const FrameLook& look, const QPixmap& frame) {
        Entry& oldest = entries_[next_];
        QPixmapCache::remove(oldest.key);
        oldest = {look, QPixmapCache::insert(frame)};
        next_ = (next_ + 1) % entries_.size();
    }

private:
    struct Entry {
        FrameLook look;
        QPixmapCache::Key key;
    };
    std::array<Entry, 4> entries_{};
    std::size_t next_ = 0;
};

RecentFrames recentFrames; // GUI thread only, as painting on widgets is

} // namespace

// Styles draw the focus frame only once focus has moved by key (State_KeyboardFocusChange). The
// grid decides that itself (keys since the last press), so the frame asked for is always drawn.
void drawFocusFrame(QPainter& painter, const QRect& rect, const QColor& background,
                    const CellStyle& look) {
    QStyleOptionFocusRect option;
    option.initFrom(look.widget);
    option.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
    option.backgroundColor = background;
    constexpr int room = 3;
    const auto draw = [&](QPainter& on, const QRect& at) {
        option.rect = at;
        // Only the ring: some styles (Fusion) fill the inside with a tint of the highlight, which
        // would change the colours of what the cell shows.
        on.save();
        on.setClipRegion(QRegion(at.adjusted(-room, -room, room, room))
                             .subtracted(QRegion(at.adjusted(1, 1, -1, -1))),
                         Qt::IntersectClip);
        // Some styles (Fusion) draw it in a faint shade of the highlight colour whatever lies
        // under it, which on a highlighted row hardly shows. There they are given black or white
        // as their highlight, picked by the background's value as Qt's common style picks its
        // own frame's.
        if (background == option.palette.color(look.group, QPalette::Highlight)) {
            option.palette.setColor(QPalette::Highlight,
                                    background.value() >= 128 ? Qt::black : Qt::white);
        }
        look.style->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &on, look.widget);
        on.restore();
    };
    // A style's frame is an antialiased rounded path that costs more than the cell it goes round,
    // and the focused cell repaints at every change in it (each move of a drag). The frame looks
    // the same wherever it is, so it is drawn once into a transparent pixmap that Qt's pixmap
    // cache keeps, with room around for a style that draws a little outside. At a fractional
    // scale a copy would land between device pixels: there it is drawn each time.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    if (rect.isEmpty() || ratio != std::floor(ratio)) {
        draw(painter, rect);
        return;
    }
    const FrameLook wanted{look.style,        option.palette.cacheKey(), rect.size(),     ratio,
                           background.rgba(), uint(option.state),        option.direction};
    QPixmap frame;
    if (!recentFrames.find(wanted, frame)) {
        frame = QPixmap((rect.size() + QSize(2 * room, 2 * room)) * ratio);
        frame.setDevicePixelRatio(ratio);
        frame.fill(Qt::transparent);
        QPainter onFrame(&frame);
        draw(onFrame, QRect(QPoint(room, room), rect.size()));
        onFrame.end();
        recentFrames.insert(wanted, frame);
    }
    painter.drawPixmap(rect.topLeft() - QPoint(room, room), frame);
}

void PushButtonCell::paint(QPainter& painter, const QRect& rect, const CellStyle& look) const {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const bool down = sunken && enabled;
    const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
    QRect content = captionBox(rect);
    if (look.themed) {
        QStyleOptionButton option;
        option.initFrom(look.widget);
        option.rect = rect;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (focused)
            option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        option.state.setFlag(QStyle::State_Enabled, enabled);
        option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        look.style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, look.widget);
        if (focused) {
            drawFocusFrame(
                painter,
                look.style->subElementRect(QStyle::SE_PushButtonFocusRect, &option, look.widget),
                look.palette.color(group, QPalette::Button), look);
        }
        if (down) {
            content.translate(
                look.style->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, look.widget),
                look.style->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, look.widget));
        }
    } else {
        painter.fillRect(rect, look.palette.brush(group, down ? QPalette::Mid : QPalette::Button));
        frame(painter, rect, look.palette.brush(group, QPalette::Dark));
        if (focused) {
            drawFocusFrame(painter, rect.adjusted(2, 2, -2, -2),
                           look.palette.color(group, QPalette::Button), look);
        }
        if (down)
            content.translate(1, 1);
    }
    if (caption.isEmpty() || content.width() <= 0)
        return;
    painter.setPen(look.palette.color(group, QPalette::ButtonText));
    const QString text = painter.fontMetrics().elidedText(caption, Qt::ElideRight, content.width());
    painter.drawText(content, int(buttonAlignment(alignment, look.direction)) | Qt::TextSingleLine,
                     text);
}

QSize CheckBoxCell::indicatorSize(const CellStyle& look) {
    if (!look.themed)
        return QSize(13, 13);
    return QSize(look.style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, look.widget),
                 look.style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, look.widget));
}

void CheckBoxCell::paint(QPainter& painter, const QRect& rect, const CellStyle& look) const {
    if (look.themed) {
        QStyleOptionButton option;
        option.initFrom(look.widget);
        option.rect = rect;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state |= checked ? QStyle::State_On : QStyle::State_Off;
        look.style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, look.widget);
        return;
    }
    painter.fillRect(rect, look.palette.brush(QPalette::Base));
    frame(painter, rect, look.palette.brush(QPalette::Text));
    if (checked) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(look.palette.color(QPalette::Text), 2));
        const QRectF inner = QRectF(rect).adjusted(3, 3, -3, -3);
        const QPointF mark[] = {{inner.left(), inner.center().y()},
                                {inner.left() + inner.width() * 0.4, inner.bottom()},
                                {inner.right(), inner.top()}};
        painter.drawPolyline(mark, 3);
        painter.restore();
    }
}

} // namespace gridgauge::gridkit::detail
