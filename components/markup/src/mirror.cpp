#include "mirror.h"

#include <algorithm>

namespace markup {

namespace {

bool rightToLeft(Flow flow, bool inherited) {
    return flow == Flow::Inherit ? inherited : flow == Flow::RightToLeft;
}

} // namespace

Mirrors mirrorsFor(const Document& document, const LayoutResult& layout, bool hostRightToLeft) {
    const size_t count = document.elements.size();
    const bool anyOwn = std::any_of(document.elements.begin(), document.elements.end(),
                                    [](const Element& e) { return e.flow != Flow::Inherit; });
    Mirrors mirrors;
    if (!hostRightToLeft && !anyOwn)
        return mirrors;
    mirrors.of.resize(count);
    mirrors.clips.resize(count);
    std::vector<bool> reversed(count, false);
    // Parents come before their children in document order.
    for (size_t i = 0; i < count; ++i) {
        const Element& e = document.elements[i];
        const ElementLayout& l = layout.elements[i];
        const bool outer = e.parent < 0 ? false : reversed[size_t(e.parent)];
        const Mirror parent = e.parent < 0 ? Mirror{} : mirrors.of[size_t(e.parent)];
        reversed[i] = rightToLeft(e.flow, e.parent < 0 ? hostRightToLeft : outer);
        Mirror& m = mirrors.of[i];
        if (e.kind == ElementKind::Image) {
            // An Image takes no direction from its parent: its picture shows flipped only when it
            // says RightToLeft itself, and its box lies where its parent, or the host, puts it.
            const Mirror around = e.parent >= 0     ? parent
                                  : hostRightToLeft ? Mirror{-1, layout.size.width()}
                                                    : Mirror{};
            const bool flipped = e.flow == Flow::RightToLeft;
            const double axis = l.bounds.left() + l.bounds.right();
            m = around.flipped() == flipped
                    ? around
                    : Mirror{-around.scale, around.scale * axis + around.shift};
            QRectF clip = around.rect(l.clip);
            if (e.parent >= 0)
                clip &= mirrors.clips[size_t(e.parent)];
            mirrors.clips[i] = l.clip.isEmpty() ? QRectF() : clip;
            continue;
        }
        if (reversed[i] == outer) {
            m = parent;
        } else if (e.parent < 0) {
            m = Mirror{-1, layout.size.width()}; // the whole area, as the host gives it
        } else {
            // Mirrored within its own box, which therefore stays where its parent put it.
            const double axis = l.bounds.left() + l.bounds.right();
            m = Mirror{-parent.scale, parent.scale * axis + parent.shift};
        }
        // An element mirrored within its own box paints where its parent's mirror shows that box.
        QRectF clip = (e.parent < 0 ? m : parent).rect(l.clip);
        if (e.parent >= 0)
            clip &= mirrors.clips[size_t(e.parent)];
        mirrors.clips[i] = l.clip.isEmpty() ? QRectF() : clip;
    }
    return mirrors;
}

} // namespace markup
