#pragma once

// What a cell can hold, each as a small value that paints itself into a rectangle with the
// style and palette it is given, and knows nothing of rows, columns or the model.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QFontMetrics;
class QFontMetricsF;
class QPainter;
class QStyle;
class QWidget;

namespace gridgauge::markup {
class Drawing;
class HostStyle;
} // namespace gridgauge::markup

namespace gridgauge::gridkit::detail {

// The look every cell painter draws with.
struct CellStyle {
    QStyle* style = nullptr;
    const QWidget* widget = nullptr; // what the style draws for
    QPalette palette;
    QPalette::ColorGroup group = QPalette::Active;
    QFont font;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    bool themed = true; // drawn by the platform style, or flat
};

// A caption as one line of text, aligned as asked (to the reading side and vertically centred at
// first), elided with "…" when it does not fit.
struct TextCell {
    const QString& text;
    QColor color;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    void paint(QPainter& painter, const QRect& box) const;
    // The width that shows it whole, and whether it shows whole in a width.
    static int widthFor(const QFontMetricsF& metrics, const QString& text);
    static bool fits(const QFontMetrics& metrics, const QString& text, int width);
};

// A header section's caption: inside the style's margin either side, and, in the section sorted
// by, beside the sort indicator's room.
struct HeaderCaption {
    int margin = 0;
    bool sorted = false;
    int room(const QSize& section) const;
    int sectionWidthFor(int textWidth, int sectionHeight) const;
};

// A caption in the markup vocabulary, laid out in the box, with what it leaves to its host.
struct MarkupCell {
    gridgauge::markup::Drawing& drawing;
    void paint(QPainter& painter, const QRect& box, const QFont& font,
               Qt::LayoutDirection direction, const gridgauge::markup::HostStyle& host) const;
};

// A push button with its caption; a disabled one is greyed and never sunken. The focused one
// (the button the keys press) shows the style's focus frame.
struct PushButtonCell {
    const QString& caption;
    bool enabled = true;
    bool sunken = false;
    qint16 alignment = 0; // Qt::Alignment bits, see ItemControl::setAlignment
    bool focused = false;
    void paint(QPainter& painter, const QRect& rect, const CellStyle& style) const;
    // Where the caption goes in the button's rect, and the button width that shows it whole.
    static QRect captionBox(const QRect& rect) { return rect.adjusted(3, 1, -3, -1); }
    static int widthFor(int textWidth) { return textWidth + 6; }
};

// The style's focus frame round rect, on a background of the given colour.
void drawFocusFrame(QPainter& painter, const QRect& rect, const QColor& background,
                    const CellStyle& style);

// A check box's indicator.
struct CheckBoxCell {
    bool checked = false;
    void paint(QPainter& painter, const QRect& rect, const CellStyle& style) const;
    static QSize indicatorSize(const CellStyle& style);
};

} // namespace gridgauge::gridkit::detail
