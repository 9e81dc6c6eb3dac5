#pragma once

// The markup a view draws in its cells. Parsed documents are shared by text, in one bounded cache
// for every view in the process: a bar going back to a value it showed (a drag sweeping to and
// fro, Up then Down) or a second cell showing the same text reads nothing again. Each cell keeps
// its own drawing, the document with the layout it was last painted with, so that equal texts in
// cells of different sizes lay out once each, and painting a cell again neither parses nor lays
// out. Whether a caption is markup at all is found out the first time it is painted or read.

#include "gridgauge/markup/markup.h"

#include <QCache>
#include <QString>

#include <memory>

namespace gridkit::detail {

// The documents every view and delegate shares, by text (null for a text that is not markup).
markup::DocumentCache& sharedDocuments();

// What a caption reads as: a markup caption's text content ("75%"), or the text itself.
QString readableText(const QString& caption);

class CellDrawings {
public:
    // The drawing for the cell of a row in a column showing caption, or null when the caption is
    // not markup. Valid until the next call.
    markup::Drawing* find(qint32 row, qint32 columnId, const QString& caption);
    // The cell's caption changed, or it shows nowhere any more.
    void forget(qint32 row, qint32 columnId);
    void clear();

private:
    struct Entry {
        QString caption; // what it was made for: a cell whose caption changed is made anew
        std::unique_ptr<markup::Drawing> drawing; // null: plain text
    };
    static quint64 key(qint32 row, qint32 columnId) {
        return (quint64(quint32(row)) << 32) | quint32(columnId);
    }
    // More than any screen shows, so that scrolling back and forth keeps what it showed.
    QCache<quint64, Entry> cells_{4096};
};

} // namespace gridkit::detail
