#pragma once

// What a cell can hold, each as a small value that paints itself into a rectangle with the
// style and palette it is given, and knows nothing of rows, columns or the model.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;
class QStyle;
class QWidget;

namespace markup {
class Drawing;
}

namespace gridkit::detail {

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

// A caption as one line of text, vertically centred, elided with "…" when it does not fit.
struct TextCell {
    const QString& text;
    QColor color;
    void paint(QPainter& painter, const QRect& box) const;
};

// A caption in the markup vocabulary, laid out in the box.
struct MarkupCell {
    markup::Drawing& drawing;
    void paint(QPainter& painter, const QRect& box, const QFont& font) const;
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

} // namespace gridkit::detail
