#pragma once

#include "gridgauge/markup/markup.h"

#include <QCache>
#include <QString>

#include <memory>

namespace gridkit::detail {

// Drawings of the markup captions seen lately, by their text, shared by every cell that shows the
// same text: a bar that goes back to a value it showed before (a drag sweeping to and fro, Up then
// Down) is neither parsed nor laid out again. Bounded; a drawing still shown outlives its entry.
class DrawingCache {
public:
    // The drawing for text, parsing it only when it is not in the cache; null when the text is
    // not markup.
    std::shared_ptr<markup::Drawing> find(const QString& text);

private:
    struct Entry {
        std::shared_ptr<markup::Drawing> drawing;
    };
    QCache<QString, Entry> entries_{128};
};

// A cell's caption and what the grid has learned of it. Whether the text is markup is found out
// the first time someone asks, and a markup caption's drawing (its parsed document and last
// layout) is kept with it, so painting the cell again neither parses, looks up nor lays out;
// writing another text forgets both.
class Caption {
public:
    const QString& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }
    // Whether the text changed.
    bool set(const QString& text);

    // The drawing when the text is markup, null when it is plain text.
    markup::Drawing* drawing(DrawingCache& cache) const;
    // The text as read: a markup caption's text content, or the text itself.
    QString readable(DrawingCache& cache) const;

private:
    enum class Kind : quint8 { Unknown, Plain, Markup };
    QString text_;
    mutable Kind kind_ = Kind::Plain; // an empty text is plain
    mutable std::shared_ptr<markup::Drawing> drawing_;
};

} // namespace gridkit::detail
