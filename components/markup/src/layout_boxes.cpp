#include "layout_boxes.h"

#include "layout.h"

namespace markup {

QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font) {
    return layoutBoxes(document, size, font, FontEngineMeasurer());
}

QList<ElementBox> layoutBoxes(const Document& document, const QSizeF& size, const QFont& font,
                              const TextMeasurer& measurer, ImageResolver* resolver) {
    QList<ElementBox> boxes;
    const LayoutResult layout = layOut(document, confined(size), font, measurer, resolver);
    boxes.reserve(qsizetype(document.elements.size()));
    for (size_t i = 0; i < document.elements.size(); ++i) {
        const ElementLayout& l = layout.elements[i];
        ElementBox box{document.elements[i].kind, l.depth, l.bounds, l.clip, {}, {}};
        for (int k = l.firstLine; k < l.firstLine + l.lineCount; ++k) {
            const TextLine& line = layout.lines[size_t(k)];
            TextLineBox lineBox{line.rect, {}};
            for (int f = line.firstFragment; f < line.firstFragment + line.fragmentCount; ++f)
                lineBox.text.append(layout.fragments[size_t(f)].text);
            box.text |= line.rect;
            box.lines.append(lineBox);
        }
        boxes.append(box);
    }
    return boxes;
}

} // namespace markup
