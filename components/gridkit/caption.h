#pragma once

#include "markup/markup.h"

#include <QString>

#include <memory>

namespace gridkit::detail {

// A cell's caption and what the grid has learned of it. Whether the text is markup is found out
// the first time someone asks, and a markup caption's drawing (its parsed document and last
// layout) is kept with it, so painting the cell again neither parses nor lays out; writing another
// text forgets both.
class Caption {
public:
    const QString& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }
    // Whether the text changed.
    bool set(const QString& text);

    // The drawing when the text is markup, null when it is plain text.
    markup::Drawing* drawing() const;
    // The text as read: a markup caption's text content, or the text itself.
    QString readable() const;

private:
    enum class Kind : quint8 { Unknown, Plain, Markup };
    QString text_;
    mutable Kind kind_ = Kind::Plain; // an empty text is plain
    mutable std::unique_ptr<markup::Drawing> drawing_;
};

} // namespace gridkit::detail
