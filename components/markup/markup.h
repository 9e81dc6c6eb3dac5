#pragma once

// The markup engine: a caption written in a small layout vocabulary (Border, StackPanel, Grid,
// TextBlock, brushes) is parsed once into a document, laid out in a box and painted. It knows
// nothing of where the box comes from.

#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <memory>

class QPainter;

namespace markup {

class Document;
using DocumentPtr = std::shared_ptr<const Document>;

// The document the text describes, or null when the text is not markup (then it is plain text).
DocumentPtr parse(QStringView text);

// The document's text, in reading order ("75%"), for accessibility and tooltips.
QString textContent(const Document& document);

// Lays the document out in box (device-independent pixels) with font as the base font, and paints
// it clipped to box. The painter's state is left as it was.
void render(QPainter& painter, const Document& document, const QRectF& box, const QFont& font);

enum class ElementKind { Border, StackPanel, Grid, TextBlock };

// Where layout put one element.
struct ElementBox {
    ElementKind kind;
    int depth;     // 0 for the root
    QRectF bounds; // relative to the top-left of the laid-out area, before snapping to pixels
    QRectF text;   // a TextBlock's line of text (it may overhang bounds); empty for the others
};

// The boxes render() would paint for a box of this size, in document order.
QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font);

// Parsed documents for texts seen before, bounded; texts that are not markup are remembered too.
class DocumentCache {
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
