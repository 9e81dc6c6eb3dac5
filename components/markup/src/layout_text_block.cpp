// A TextBlock: its lines of text inside its padding, each placed by TextAlignment.
#include "chrome.h"
#include "layout_pass.h"
#include "text_lines.h"

namespace gridgauge::markup::layout {

QSizeF measureTextBlock(Pass& pass, int e, const QSizeF& available) {
    const Element& el = pass.element(e);
    const QSizeF room = deflate(available, el.padding);
    pass.linesWidth(e) = room.width();
    const QSizeF text = TextLines(pass.document(), e, pass.measurer(), pass.result())
                            .build(room.width(), room.width(), room.height(), false);
    return inflate(text, el.padding);
}

void arrangeTextBlock(Pass& pass, int e, const QRectF& box) {
    const Element& el = pass.element(e);
    const QRectF content = deflate(box, el.padding);
    // Lines break where measuring broke them; what they are trimmed to, and whether an
    // ellipsis ends them early, depends on the box they finally have.
    if (el.trimming != Trimming::None) {
        TextLines(pass.document(), e, pass.measurer(), pass.result())
            .build(pass.linesWidth(e), content.width(), content.height(), true);
    }
    const ElementLayout& layout = pass.result().elements[size_t(e)];
    for (int i = layout.firstLine; i < layout.firstLine + layout.lineCount; ++i) {
        QRectF& line = pass.result().lines[size_t(i)].rect;
        // A line wider than the block starts where the block starts, whatever its alignment.
        const double room = content.width() - line.width();
        double x = 0;
        if (room > 0 && el.textAlignment == Align::Center)
            x = room / 2;
        else if (room > 0 && el.textAlignment == Align::End)
            x = room;
        line.moveTo(content.x() + x, content.y() + line.y());
    }
}

} // namespace gridgauge::markup::layout
