#pragma once

// The markup engine: a caption written in a small layout vocabulary (Border, StackPanel, Grid,
// TextBlock, Rectangle, Ellipse, brushes) is parsed once into a document, laid out in a box and
// painted. It knows nothing of where the box comes from.

#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include "gridgauge/markup/markup_export.h"
#include "gridgauge/markup/text_measurer.h"

#include <memory>

class QPainter;

namespace markup {

class Document;
struct LayoutResult;
using DocumentPtr = std::shared_ptr<const Document>;

// The document the text describes, or null when the text is not markup (then it is plain text).
// Documents are immutable once parsed and may be shared between threads.
GRIDGAUGE_MARKUP_EXPORT DocumentPtr parse(QStringView text);

// How many texts parse() has read in this process: lets a caller see that a repaint parsed nothing.
GRIDGAUGE_MARKUP_EXPORT quint64 parseCount();

// The document's text, in reading order ("75%"), a line break as a newline, for accessibility
// and tooltips.
GRIDGAUGE_MARKUP_EXPORT QString textContent(const Document& document);

// Lays the document out in box (device-independent pixels) with font as the base font, and paints
// it clipped to box. The painter's state is left as it was. Lays out afresh on every call; an owner
// that paints the same document again and again keeps a Drawing instead.
GRIDGAUGE_MARKUP_EXPORT void render(QPainter& painter, const Document& document, const QRectF& box,
                                    const QFont& font);

// A document together with its last layout, kept by whoever paints it repeatedly (a grid cell):
// painting again in a box of the same size with the same font lays out nothing. A Drawing belongs
// to its owner and is not shared between threads; the document it holds may be.
class GRIDGAUGE_MARKUP_EXPORT Drawing {
public:
    Drawing() = default;
    explicit Drawing(DocumentPtr document);
    ~Drawing();
    Drawing(Drawing&&) noexcept;
    Drawing& operator=(Drawing&&) noexcept;

    const DocumentPtr& document() const { return document_; }
    // As render(), reusing the last layout when box has the size and font the last paint had,
    // on a device of the same resolution.
    void paint(QPainter& painter, const QRectF& box, const QFont& font);
    // How many times this drawing has laid its document out.
    quint64 layoutCount() const { return layouts_; }

private:
    DocumentPtr document_;
    std::unique_ptr<const LayoutResult> layout_;
    quint64 layouts_ = 0;
};

enum class ElementKind { Border, StackPanel, Grid, TextBlock, Rectangle, Ellipse };

// One line of a TextBlock as laid out: its box and what it shows (an ellipsis included).
struct TextLineBox {
    QRectF rect;
    QString text;
};

// Where layout put one element. Rectangles are relative to the top-left of the laid-out area,
// before snapping to pixels.
struct ElementBox {
    ElementKind kind;
    int depth;     // 0 for the root
    QRectF bounds; // its box as arranged; it may be larger than its slot, and then is clipped
    QRectF clip;   // what of it may show: empty when it is hidden, collapsed or clipped away
    QRectF text;   // a TextBlock's text, all lines together (it may overhang bounds)
    QList<TextLineBox> lines; // a TextBlock's lines
};

// The boxes render() would paint for a box of this size, in document order, text measured with
// the font engine at the resolution of an image, or with measurer.
GRIDGAUGE_MARKUP_EXPORT QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size,
                                                      const QFont& font);
GRIDGAUGE_MARKUP_EXPORT QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size,
                                                      const QFont& font,
                                                      const TextMeasurer& measurer);

// Parsed documents for texts seen before, bounded; texts that are not markup are remembered too.
class GRIDGAUGE_MARKUP_EXPORT DocumentCache {
public:
    explicit DocumentCache(int capacity = 512);
    ~DocumentCache();
    DocumentCache(const DocumentCache&) = delete;
    DocumentCache& operator=(const DocumentCache&) = delete;

    // The document for text (null when it is not markup), parsing only on a miss.
    DocumentPtr find(const QString& text);
    // How many texts were parsed since construction: a repaint of unchanged content adds none.
    quint64 parseCount() const;
    void clear();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace markup
