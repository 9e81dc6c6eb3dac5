#pragma once

// A TextBlock's runs in lines: broken at its line breaks, wrapped at a width when it wraps, and
// ended with an ellipsis where it trims and the text does not fit. Where lines may break comes
// from QTextBoundaryFinder; the lines themselves are made here rather than by QTextLayout, so
// that every width goes through the TextMeasurer (a layout can then be worked out with made-up
// metrics), and QFontMetrics::elidedText knows only one font, where a line here may hold many.

#include "layout.h"

#include <QSizeF>
#include <QTextBoundaryFinder>

#include <optional>

#include <vector>

namespace gridgauge::markup::layout {

class TextLines {
public:
    TextLines(const Document& document, int block, const TextMeasurer& measurer, LayoutResult& out);

    // Lays the text out and appends the lines to the result as the block's slice, each placed
    // relative to the text's top-left: wrapped at wrapWidth, lines wider than trimWidth trimmed.
    // A block that trims shows only the lines that fit height (the first always), and, when
    // showEllipsis, the last of them ends with an ellipsis if any were left out. Returns the size
    // the lines take: the widest, and the height of those that fit.
    QSizeF build(double wrapWidth, double trimWidth, double height, bool showEllipsis);

private:
    // The runs of one paragraph (between line breaks) as one text, for finding where lines may
    // break and measuring any stretch of it.
    struct Paragraph {
        int first = 0, last = 0; // runs
        QString text;
        std::vector<qsizetype> starts; // where each run starts; its end as the last
        // Made when first asked for: finding boundaries reads the whole text.
        mutable std::optional<QTextBoundaryFinder> lines, graphemes;
        QTextBoundaryFinder& finder(QTextBoundaryFinder::BoundaryType type) const;
    };
    // A line while pieces are put on it: where the next one goes, and the largest ascent and
    // descent of those put so far.
    struct Extent {
        double x = 0, ascent = 0, descent = 0;
    };
    struct Origin {
        int first, last; // the paragraph's runs; for an empty line, both its line break
        qsizetype start; // where the line starts in the paragraph's text
    };

    void addParagraph(int first, int last);
    void addWholeRuns(int first, int last, const std::vector<double>& widths);
    void wrap(const Paragraph& p);
    void appendPieces(const Paragraph& p, qsizetype from, qsizetype to, Extent& line);
    void appendFragment(const QString& text, int run, double width, Extent& line);
    void addLine(const Paragraph& p, qsizetype from, qsizetype to);
    void addTrimmedLine(const Paragraph& p, qsizetype from, qsizetype to);
    void addEmptyLine(int lineBreak);
    void closeLine(int firstFragment, const Extent& line);
    void endWithEllipsis(int last);

    Paragraph paragraph(int first, int last) const;
    double measure(const Paragraph& p, qsizetype from, qsizetype to) const;
    std::vector<qsizetype> boundaries(const Paragraph& p, qsizetype from, qsizetype to,
                                      QTextBoundaryFinder::BoundaryType type) const;
    int runAt(const Paragraph& p, qsizetype position) const;
    const QFont& font(int run) const { return out_.fonts[size_t(run)]; }
    const FontMetrics& metricsOf(int run) const { return metrics_[size_t(run - block_.firstRun)]; }

    const Document& d_;
    int index_;
    const Element& block_;
    const TextMeasurer& measurer_;
    LayoutResult& out_;
    std::vector<FontMetrics> metrics_; // of the block's runs
    FontMetrics blockMetrics_;
    double wrapWidth_ = kInfinity, trimWidth_ = kInfinity;
    double top_ = 0, widest_ = 0;
    int firstLine_ = 0;
    std::vector<Origin> origins_; // of each line, should an ellipsis end the text early
};

} // namespace gridgauge::markup::layout
