#pragma once

// Measure and arrange, in two passes: each element reports the size its content
// wants within what it is offered, then is given a slot and places itself in it by its alignment.
// The result is all the painter needs: boxes, clips and lines of text with their fonts.

#include "document.h"
#include "text_measurer.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QRectF>

#include <vector>

namespace markup {

struct ElementLayout {
    QRectF bounds; // as arranged, in the laid-out area
    // What it may paint: the area, narrowed by its own and its ancestors' layout clips; empty
    // when it is not shown.
    QRectF clip;
    int depth = 0;
    int firstLine = 0, lineCount = 0; // TextBlock: its slice of LayoutResult::lines
    QRectF figure; // Rectangle and Ellipse: the figure drawn, its stroke centred on its edge
};

// A piece of one run on one line, or the ellipsis that ends a trimmed line.
struct TextFragment {
    QString text;
    int run = -1; // the run whose font and brush it takes
    double x = 0; // from the line's left
    double width = 0;
    // Its glyphs, for the direction and resolution it was painted at, with their baseline at 0:
    // shaped and kept at its second paint, once the layout is plainly being kept for repainting,
    // and drawn from then on without shaping again.
    struct Shaped {
        QList<QGlyphRun> runs;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        int dotsPerInch = 0; // 0: not kept
        int paints = 0;      // painted without keeping its glyphs
    };
    mutable Shaped shaped;
};

struct TextLine {
    QRectF rect; // in the laid-out area once arranged; trailing blanks are not part of it
    double ascent = 0;
    int firstFragment = 0, fragmentCount = 0;
};

// An Image's picture as last painted: at the device pixels it was drawn at, to be drawn again
// without asking its resolver.
struct KeptPicture {
    int element = -1;
    QSize pixels;
    QImage image;
};

struct LayoutResult {
    QSizeF size;
    QFont font;
    double dotsPerInch = 96;
    // Where pictures come from: the resolver this layout measured them with.
    ImageResolver* resolver = nullptr;
    std::vector<QSizeF> naturalSizes; // parallel to Document::sources; negative: not yet asked
    mutable std::vector<KeptPicture> pictures;
    // Where a Drawing last painted this layout: the box's top-left and its direction (-1: never),
    // which its links are given in.
    mutable QPointF paintedAt;
    mutable int paintedDirection = -1;
    // Each link's pieces as shown in that direction, in the laid-out area, once asked for.
    struct LinkPiece {
        int link;
        QRectF rect;
    };
    mutable std::vector<LinkPiece> linkPieces;
    mutable int linkPiecesDirection = -1;
    std::vector<ElementLayout> elements; // parallel to Document::elements
    std::vector<QFont> fonts;            // parallel to Document::runs
    std::vector<QStringList> families;   // Document::families, each without what is not installed
    std::vector<TextLine> lines;
    std::vector<TextFragment> fragments;
};

// resolver gives Image elements their pictures; null is the built-in policy.
LayoutResult layOut(const Document& document, const QSizeF& size, const QFont& font,
                    const TextMeasurer& measurer, ImageResolver* resolver = nullptr);

// What the root wants with unbounded room: only measured, nothing arranged.
QSizeF measureUnbounded(const Document& document, const QFont& font, const TextMeasurer& measurer,
                        ImageResolver* resolver = nullptr);

// size with each side in [0, kMaxLength], one that is not finite as 0: a size any layout can
// be worked out in, and any caller can be given.
QSizeF confined(const QSizeF& size);

// The font a run is drawn in, from the caller's font and the run's style; families as in
// LayoutResult.
QFont fontFor(const QFont& base, const TextStyle& style, const std::vector<QStringList>& families,
              double dotsPerInch);

} // namespace markup
