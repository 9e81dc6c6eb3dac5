#pragma once

// Where a laid-out document's Hyperlinks show, and what they say.

#include "document.h"
#include "layout.h"

#include <QList>
#include <QSharedData>

#include <vector>

namespace markup {

class LinkPrivate : public QSharedData {
public:
    QString target;
    QString text;
    QList<QRectF> rects;
};

// The pieces of every link as painted in that direction, in the laid-out area: for each line, a
// rectangle around each run of its fragments in one link, cut to what of its block shows. In
// paint order, the last drawn last.
std::vector<LayoutResult::LinkPiece> linkPieces(const Document& document,
                                                const LayoutResult& layout, bool rightToLeft);

// The text of each link, parallel to Document::links.
std::vector<QString> linkTexts(const Document& document);

} // namespace markup
