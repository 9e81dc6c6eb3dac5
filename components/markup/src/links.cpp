#include "links.h"

#include "gridgauge/markup/markup.h"
#include "mirror.h"

#include <algorithm>

namespace markup {

std::vector<LayoutResult::LinkPiece> linkPieces(const Document& document,
                                                const LayoutResult& layout, bool rightToLeft) {
    std::vector<LayoutResult::LinkPiece> pieces;
    if (document.links.empty())
        return pieces;
    const Mirrors mirrors = mirrorsFor(document, layout, rightToLeft);
    for (size_t i = 0; i < document.elements.size(); ++i) {
        const ElementLayout& l = layout.elements[i];
        if (document.elements[i].kind != ElementKind::TextBlock || l.lineCount == 0)
            continue;
        const Mirror& mirror = mirrors.at(i);
        const QRectF visible =
            (mirrors.clips.empty() ? l.clip : mirrors.clips[i]).intersected(mirror.rect(l.bounds));
        if (visible.isEmpty())
            continue;
        for (int k = l.firstLine; k < l.firstLine + l.lineCount; ++k) {
            const TextLine& line = layout.lines[size_t(k)];
            const QRectF shown = mirror.rect(line.rect);
            int open = -1; // the link of the piece being gathered on this line
            QRectF rect;
            const auto close = [&] {
                if (open >= 0 && !(rect &= visible).isEmpty())
                    pieces.push_back({open, rect});
                open = -1;
            };
            for (int f = line.firstFragment; f < line.firstFragment + line.fragmentCount; ++f) {
                const TextFragment& fragment = layout.fragments[size_t(f)];
                const int link =
                    fragment.run >= 0 ? document.runs[size_t(fragment.run)].style.link : -1;
                if (link != open)
                    close();
                if (link < 0)
                    continue;
                const QRectF piece(shown.left() + fragment.x, shown.top(), fragment.width,
                                   shown.height());
                rect = open < 0 ? piece : rect.united(piece);
                open = link;
            }
            close();
        }
    }
    return pieces;
}

std::vector<QString> linkTexts(const Document& document) {
    std::vector<QString> texts(document.links.size());
    for (const Run& run : document.runs) {
        if (run.style.link >= 0)
            texts[size_t(run.style.link)].append(run.lineBreak ? QStringLiteral("\n") : run.text);
    }
    return texts;
}

Link::Link() = default;
Link::~Link() = default;
Link::Link(const Link& other) = default;
Link::Link(Link&& other) noexcept = default;
Link& Link::operator=(const Link& other) = default;
Link& Link::operator=(Link&& other) noexcept = default;

QString Link::target() const {
    return d ? d->target : QString();
}

QString Link::text() const {
    return d ? d->text : QString();
}

QList<QRectF> Link::rects() const {
    return d ? d->rects : QList<QRectF>();
}

bool Link::contains(const QPointF& point) const {
    if (!d)
        return false;
    return std::any_of(d->rects.begin(), d->rects.end(),
                       [&](const QRectF& r) { return r.contains(point); });
}

bool Link::operator==(const Link& other) const {
    return target() == other.target() && text() == other.text() && rects() == other.rects();
}

} // namespace markup
