#include "text_lines.h"

#include <algorithm>
#include <cmath>

namespace gridgauge::markup::layout {
namespace {

const QString& ellipsis() {
    static const QString text(QChar(0x2026));
    return text;
}

// The parser leaves a single space wherever the markup had blanks.
bool isBlank(QChar c) {
    return c == u' ';
}

} // namespace

TextLines::TextLines(const Document& document, int block, const TextMeasurer& measurer,
                     LayoutResult& out)
    : d_(document)
    , index_(block)
    , block_(document.elements[size_t(block)])
    , measurer_(measurer)
    , out_(out) {
    metrics_.reserve(size_t(block_.runCount));
    for (int r = block_.firstRun; r < block_.firstRun + block_.runCount; ++r)
        metrics_.push_back(measurer_.metrics(font(r)));
}

QSizeF TextLines::build(double wrapWidth, double trimWidth, double height, bool showEllipsis) {
    wrapWidth_ = wrapWidth;
    trimWidth_ = trimWidth;
    top_ = widest_ = 0;
    firstLine_ = int(out_.lines.size());
    origins_.clear();
    const int first = block_.firstRun, end = first + block_.runCount;
    if (first == end)
        addEmptyLine(-1);
    for (int start = first, r = first; r < end + (first < end); ++r) {
        if (r < end && !d_.runs[size_t(r)].lineBreak)
            continue;
        if (start == r) // nothing between two line breaks, or before the first
            addEmptyLine(r < end ? r : r - 1);
        else
            addParagraph(start, r);
        start = r + 1;
    }
    // Lines below the height are left out of a block that trims, and then the last shown one
    // says so, as text trimming is meant to.
    int shown = int(out_.lines.size()) - firstLine_;
    double bottom = top_;
    if (block_.trimming != Trimming::None) {
        shown = 1;
        while (shown < int(out_.lines.size()) - firstLine_ &&
               out_.lines[size_t(firstLine_ + shown)].rect.bottom() <= height + 1e-9)
            ++shown;
        bottom = out_.lines[size_t(firstLine_ + shown - 1)].rect.bottom();
        if (showEllipsis && shown < int(out_.lines.size()) - firstLine_)
            endWithEllipsis(shown - 1);
    }
    ElementLayout& layout = out_.elements[size_t(index_)];
    layout.firstLine = firstLine_;
    layout.lineCount = int(out_.lines.size()) - firstLine_;
    return {widest_, bottom};
}

void TextLines::addParagraph(int first, int last) {
    std::vector<double> widths;
    double total = 0;
    for (int r = first; r < last; ++r) {
        widths.push_back(measurer_.advance(font(r), d_.runs[size_t(r)].text));
        total += widths.back();
    }
    const bool wraps = block_.wrapping != Wrapping::NoWrap && total > wrapWidth_;
    const bool trims = block_.trimming != Trimming::None && total > trimWidth_;
    if (!wraps && !trims) {
        addWholeRuns(first, last, widths);
        return;
    }
    const Paragraph p = paragraph(first, last);
    if (wraps)
        wrap(p);
    else
        addLine(p, 0, p.text.size());
}

// The common case: the paragraph on one line, each run one piece, measured once.
void TextLines::addWholeRuns(int first, int last, const std::vector<double>& widths) {
    const int firstFragment = int(out_.fragments.size());
    Extent line;
    for (int r = first; r < last; ++r)
        appendFragment(d_.runs[size_t(r)].text, r, widths[size_t(r - first)], line);
    origins_.push_back({first, last, 0});
    closeLine(firstFragment, line);
}

// Greedy: each line takes words while they fit; a word wider than a whole line is broken between
// characters, or with WrapWithOverflow left to overflow.
void TextLines::wrap(const Paragraph& p) {
    const qsizetype size = p.text.size();
    std::vector<qsizetype> breaks;
    QTextBoundaryFinder& finder = p.finder(QTextBoundaryFinder::Line);
    finder.toStart();
    for (qsizetype b; (b = finder.toNextBoundary()) > 0;)
        breaks.push_back(b);
    if (breaks.empty() || breaks.back() != size)
        breaks.push_back(size);
    qsizetype start = 0, end = 0;
    double width = 0; // of [start, end), blanks at its end included
    for (size_t i = 0; i < breaks.size();) {
        const qsizetype b = breaks[i];
        qsizetype word = b;
        while (word > end && isBlank(p.text[word - 1]))
            --word;
        const double visible = width + measure(p, end, word);
        if (visible > wrapWidth_ && end > start) {
            addLine(p, start, end);
            start = end;
            width = 0;
            continue; // the same word, on a line of its own
        }
        if (visible > wrapWidth_ && block_.wrapping == Wrapping::Wrap) {
            // Pieces as long as fit, and at least one character each. Each character is
            // measured once, so that a long word costs in proportion to its length.
            double piece = 0;
            qsizetype at = start;
            for (qsizetype cut : boundaries(p, start, word, QTextBoundaryFinder::Grapheme)) {
                const double w = measure(p, at, cut);
                if (piece + w > wrapWidth_ && at > start) {
                    addLine(p, start, at);
                    start = at;
                    piece = 0;
                }
                piece += w;
                at = cut;
            }
            width = piece + measure(p, word, b);
        } else {
            width = visible + measure(p, word, b);
        }
        end = b;
        ++i;
    }
    if (start < size)
        addLine(p, start, size);
}

// Appends the pieces of [from, to) to line.
void TextLines::appendPieces(const Paragraph& p, qsizetype from, qsizetype to, Extent& line) {
    for (size_t k = size_t(runAt(p, from) - p.first); k + 1 < p.starts.size() && p.starts[k] < to;
         ++k) {
        const qsizetype s = std::max(from, p.starts[k]), e = std::min(to, p.starts[k + 1]);
        if (s >= e)
            continue;
        const int r = p.first + int(k);
        const QString& whole = d_.runs[size_t(r)].text;
        const QString text = e - s == whole.size() ? whole : p.text.mid(s, e - s);
        appendFragment(text, r, measurer_.advance(font(r), text), line);
    }
}

// A fragment in run's font at the end of line, which grows to hold it.
void TextLines::appendFragment(const QString& text, int run, double width, Extent& line) {
    out_.fragments.push_back({text, run, line.x, width, {}});
    line.x += width;
    line.ascent = std::max(line.ascent, metricsOf(run).ascent);
    line.descent = std::max(line.descent, metricsOf(run).descent);
}

void TextLines::addLine(const Paragraph& p, qsizetype from, qsizetype to) {
    while (to > from && isBlank(p.text[to - 1]))
        --to; // blanks where a line breaks take no room
    if (block_.trimming != Trimming::None && measure(p, from, to) > trimWidth_) {
        addTrimmedLine(p, from, to);
        return;
    }
    const int firstFragment = int(out_.fragments.size());
    Extent line;
    appendPieces(p, from, to, line);
    origins_.push_back({p.first, p.last, from});
    closeLine(firstFragment, line);
}

// As much of [from, to) as fits with an ellipsis after it, cut between characters or after a
// word as the block asks.
void TextLines::addTrimmedLine(const Paragraph& p, qsizetype from, qsizetype to) {
    while (to > from && isBlank(p.text[to - 1]))
        --to;
    const auto ellipsisRun = [&](qsizetype cut) { return runAt(p, cut > from ? cut - 1 : from); };
    const auto ellipsisWidth = [&](qsizetype cut) {
        return measurer_.advance(font(ellipsisRun(cut)), ellipsis());
    };
    const std::vector<qsizetype> cuts =
        boundaries(p, from, to,
                   block_.trimming == Trimming::WordEllipsis ? QTextBoundaryFinder::Line
                                                             : QTextBoundaryFinder::Grapheme);
    const auto fits = std::partition_point(cuts.begin(), cuts.end(), [&](qsizetype c) {
        return measure(p, from, c) + ellipsisWidth(c) <= trimWidth_;
    });
    const qsizetype cut = fits == cuts.begin() ? from : *(fits - 1);
    const int firstFragment = int(out_.fragments.size());
    Extent line;
    appendPieces(p, from, cut, line);
    appendFragment(ellipsis(), ellipsisRun(cut), ellipsisWidth(cut), line);
    origins_.push_back({p.first, p.last, from});
    closeLine(firstFragment, line);
}

// A line with no text: as high as the line break beside it, or the block's own font.
void TextLines::addEmptyLine(int lineBreak) {
    FontMetrics m;
    if (lineBreak >= 0)
        m = metricsOf(lineBreak);
    else
        m = measurer_.metrics(fontFor(out_.font, block_.text, out_.families, out_.dotsPerInch));
    origins_.push_back({lineBreak, lineBreak, 0});
    closeLine(int(out_.fragments.size()), {0, m.ascent, m.descent});
}

void TextLines::closeLine(int firstFragment, const Extent& extent) {
    const double height = extent.ascent + extent.descent;
    TextLine line;
    line.rect = QRectF(0, top_, extent.x, height);
    line.ascent = extent.ascent;
    line.firstFragment = firstFragment;
    line.fragmentCount = int(out_.fragments.size()) - firstFragment;
    out_.lines.push_back(line);
    top_ += height;
    widest_ = std::max(widest_, extent.x);
}

// Line last ends the text shown: it takes as much of the rest of its paragraph as fits, and an
// ellipsis; the lines after it go.
void TextLines::endWithEllipsis(int last) {
    const TextLine& line = out_.lines[size_t(firstLine_ + last)];
    const Origin origin = origins_[size_t(last)];
    top_ = line.rect.top();
    out_.fragments.resize(size_t(line.firstFragment));
    out_.lines.resize(size_t(firstLine_ + last));
    origins_.resize(size_t(last));
    widest_ = 0;
    for (int i = firstLine_; i < firstLine_ + last; ++i)
        widest_ = std::max(widest_, out_.lines[size_t(i)].rect.width());
    if (origin.first == origin.last) { // an empty line: the ellipsis alone
        const FontMetrics m = metricsOf(origin.first);
        const int firstFragment = int(out_.fragments.size());
        const double w = measurer_.advance(font(origin.first), ellipsis());
        out_.fragments.push_back({ellipsis(), origin.first, 0, w, {}});
        closeLine(firstFragment, {w, m.ascent, m.descent});
        return;
    }
    const Paragraph p = paragraph(origin.first, origin.last);
    addTrimmedLine(p, origin.start, p.text.size());
}

TextLines::Paragraph TextLines::paragraph(int first, int last) const {
    Paragraph p;
    p.first = first;
    p.last = last;
    for (int r = first; r < last; ++r) {
        p.starts.push_back(p.text.size());
        p.text.append(d_.runs[size_t(r)].text);
    }
    p.starts.push_back(p.text.size());
    return p;
}

double TextLines::measure(const Paragraph& p, qsizetype from, qsizetype to) const {
    double width = 0;
    for (size_t k = size_t(runAt(p, from) - p.first); k + 1 < p.starts.size() && p.starts[k] < to;
         ++k) {
        const qsizetype s = std::max(from, p.starts[k]), e = std::min(to, p.starts[k + 1]);
        if (s < e)
            width +=
                measurer_.advance(font(p.first + int(k)), QStringView(p.text).sliced(s, e - s));
    }
    return width;
}

QTextBoundaryFinder& TextLines::Paragraph::finder(QTextBoundaryFinder::BoundaryType type) const {
    std::optional<QTextBoundaryFinder>& f = type == QTextBoundaryFinder::Line ? lines : graphemes;
    if (!f)
        f.emplace(type, text);
    return *f;
}

// Where text may be cut within (from, to]: between characters, or, at word ends, before blanks.
std::vector<qsizetype> TextLines::boundaries(const Paragraph& p, qsizetype from, qsizetype to,
                                             QTextBoundaryFinder::BoundaryType type) const {
    std::vector<qsizetype> found;
    QTextBoundaryFinder& finder = p.finder(type);
    finder.setPosition(from);
    for (qsizetype b; (b = finder.toNextBoundary()) >= 0 && b <= to;) {
        if (type == QTextBoundaryFinder::Line) {
            while (b > from && isBlank(p.text[b - 1]))
                --b;
            if (b <= from || (!found.empty() && found.back() == b))
                continue;
        }
        found.push_back(b);
    }
    if (type == QTextBoundaryFinder::Line && (found.empty() || found.back() != to) && to > from)
        found.push_back(to);
    return found;
}

int TextLines::runAt(const Paragraph& p, qsizetype position) const {
    const auto next = std::upper_bound(p.starts.begin(), p.starts.end() - 1, position);
    return p.first + std::max(0, int(next - p.starts.begin()) - 1);
}

} // namespace gridgauge::markup::layout
