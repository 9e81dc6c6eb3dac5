#pragma once

// The markup a view draws in its cells. Parsed documents are shared by text, in one bounded cache
// for every view in the process: a bar going back to a value it showed (a drag sweeping to and
// fro, Up then Down) or a second cell showing the same text reads nothing again. Each cell keeps
// its own drawing, the document with the layout it was last painted with, so that equal texts in
// cells of different sizes lay out once each, and painting a cell again neither parses nor lays
// out. A drawing a cell no longer shows is set aside, with its layout, for the next cell of that
// size to show that caption: a bar has a hundred and one captions a cell can show, and a drag or
// Up and Down come back to them, so a bar returning to a value neither parses nor lays out.
// Whether a caption is markup at all is found out the first time it is painted or read.

#include "gridgauge/markup/markup.h"

#include <QCache>
#include <QHashFunctions>
#include <QModelIndex>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

namespace gridgauge::gridkit::detail {

// The documents every view and delegate shares, by text (null for a text that is not markup).
gridgauge::markup::DocumentCache& sharedDocuments();

// The longest text, in UTF-16 code units, that is read as markup: no cell can show more, and the
// bound keeps the work of a hostile text within a paint.
inline constexpr qsizetype kMaxMarkupLength = 32 * 1024;

// The document a cell's text reads as, or null when it is not markup or too long to be read as
// markup. The one way every view and delegate reads a caption.
gridgauge::markup::DocumentPtr markupDocument(const QString& text);

// What a caption reads as: a markup caption's text content ("75%"), or the text itself.
QString readableText(const QString& caption);

// A cell of one view: its row and column under a parent (a tree's items under another parent
// have other internal ids). A key that comes to name another cell only costs a drawing made anew:
// every entry remembers the caption it was made for.
struct CellKey {
    int row = -1;
    int column = -1;
    quintptr parent = 0;
    static CellKey of(const QModelIndex& index) {
        return {index.row(), index.column(), index.internalId()};
    }
    bool operator==(const CellKey&) const = default;
    friend size_t qHash(const CellKey& key, size_t seed = 0) {
        return qHashMulti(seed, key.row, key.column, key.parent);
    }
};

// The drawings of one view's cells.
class CellDrawings {
public:
    // The drawing for the cell showing caption, or null when the caption is not markup. Valid
    // until the next call. size is the box it is about to be painted in, if known: a drawing set
    // aside for that caption at that size is taken up again.
    gridgauge::markup::Drawing* find(const CellKey& cell, const QString& caption, QSize size = {});
    // The cell's caption changed, or it shows nowhere any more.
    void forget(const CellKey& cell);
    // Where the cell lay (its rectangle in the view) when its drawing was last painted: what the
    // drawing's link rectangles are relative to. Empty before the first paint of its caption.
    void setPainted(const CellKey& cell, const QRect& rect);
    QRect painted(const CellKey& cell) const;
    void clear();

private:
    struct Entry {
        QString caption; // what it was made for: a cell whose caption changed is made anew
        std::unique_ptr<gridgauge::markup::Drawing> drawing; // null: plain text
        QSize size;                                          // the box it was last asked for
        QRect painted;                                       // the cell at the drawing's last paint
        size_t captionHash = 0; // a caption is long: it is hashed once, when the entry is made
    };
    struct AsideKey {
        QString caption;
        QSize size;
        size_t captionHash = 0;
        bool operator==(const AsideKey& other) const {
            return size == other.size && captionHash == other.captionHash &&
                   caption == other.caption;
        }
        friend size_t qHash(const AsideKey& key, size_t seed = 0) {
            return qHashMulti(seed, key.captionHash, key.size.width(), key.size.height());
        }
    };
    // Lays a cell's drawing aside for another cell to take up.
    void setAside(Entry& entry);
    std::unique_ptr<gridgauge::markup::Drawing> takeUp(const AsideKey& key);

    // More than any screen shows, so that scrolling back and forth keeps what it showed.
    QCache<CellKey, Entry> cells_{4096};
    // Drawings no cell shows, by caption and size; a few bars' worth of values.
    QCache<AsideKey, gridgauge::markup::Drawing> aside_{512};
};

} // namespace gridgauge::gridkit::detail
