// Written by hand rather than on QXmlStreamReader: captions in the wild put attributes with no
// blank between them (BorderThickness='1'BorderBrush='...'), which a conforming XML reader refuses.
// Everything else that is not well-formed is refused here too.
#include "parser.h"

#include "properties.h"

#include <vector>

namespace markup {
namespace {

enum class Tag : quint8 {
    Border,
    StackPanel,
    Grid,
    TextBlock,
    Bold,
    Italic,
    Run,
    LinearGradientBrush,
    SolidColorBrush,
    GradientStop,
    ColumnDefinition,
    BrushProperty,     // Border.Background and the like
    ColumnDefinitions, // Grid.ColumnDefinitions
    GradientStops,     // LinearGradientBrush.GradientStops
};

enum class Slot : quint8 { Background, BorderBrush, Foreground };

bool isVisual(Tag t) {
    return t <= Tag::TextBlock;
}
bool isInline(Tag t) {
    return t == Tag::Bold || t == Tag::Italic || t == Tag::Run;
}
bool isBrush(Tag t) {
    return t == Tag::LinearGradientBrush || t == Tag::SolidColorBrush;
}
bool holdsText(Tag t) {
    return t == Tag::TextBlock || isInline(t);
}

struct Frame {
    Tag tag;
    QStringView name;
    int index = -1;    // the element, the brush, or for ColumnDefinitions the Grid
    Slot slot{};       // BrushProperty: which property receives the brush
    int values = 0;    // children a Border or a property element has received
    TextStyle style{}; // text in a TextBlock or an inline
};

struct Attribute {
    QStringView name;
    QStringView value; // as written, quotes excluded
    bool entities;     // value holds references to decode
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}
bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u':';
}
bool isNameChar(QChar c) {
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

int digitValue(QChar c, int base) {
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        d = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        d = c.unicode() - u'A' + 10;
    return d < base ? d : -1;
}

std::optional<Tag> elementTag(QStringView name) {
    static constexpr std::pair<QStringView, Tag> names[] = {
        {u"Border", Tag::Border},
        {u"StackPanel", Tag::StackPanel},
        {u"Grid", Tag::Grid},
        {u"TextBlock", Tag::TextBlock},
        {u"Bold", Tag::Bold},
        {u"Italic", Tag::Italic},
        {u"Run", Tag::Run},
        {u"LinearGradientBrush", Tag::LinearGradientBrush},
        {u"SolidColorBrush", Tag::SolidColorBrush},
        {u"GradientStop", Tag::GradientStop},
        {u"ColumnDefinition", Tag::ColumnDefinition},
    };
    for (const auto& [n, tag] : names) {
        if (n == name)
            return tag;
    }
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(QStringView in)
        : in_(in)
        , doc_(std::make_shared<Document>()) {}

    std::shared_ptr<Document> run() {
        while (pos_ < in_.size()) {
            if (in_[pos_] != u'<') {
                if (!text())
                    return nullptr;
                continue;
            }
            const QChar next = pos_ + 1 < in_.size() ? in_[pos_ + 1] : QChar();
            bool ok;
            if (next == u'/')
                ok = endTag();
            else if (next == u'?')
                ok = skipPast(2, u"?>");
            else if (next != u'!')
                ok = startTag();
            else if (in_.sliced(pos_).startsWith(u"<!--"))
                ok = skipPast(4, u"-->");
            else if (in_.sliced(pos_).startsWith(u"<![CDATA["))
                ok = cdata();
            else
                ok = false; // declarations such as DOCTYPE have no place in a caption
            if (!ok)
                return nullptr;
        }
        if (!stack_.empty() || doc_->elements.empty())
            return nullptr;
        return doc_;
    }

private:
    bool skipBlanks() {
        const qsizetype start = pos_;
        while (pos_ < in_.size() && isBlank(in_[pos_]))
            ++pos_;
        return pos_ != start;
    }

    QStringView name() {
        const qsizetype start = pos_;
        if (pos_ < in_.size() && isNameStart(in_[pos_])) {
            ++pos_;
            while (pos_ < in_.size() && isNameChar(in_[pos_]))
                ++pos_;
        }
        return in_.sliced(start, pos_ - start);
    }

    // Comments and processing instructions: skipped wherever they are.
    bool skipPast(qsizetype opening, QStringView closing) {
        const qsizetype end = in_.indexOf(closing, pos_ + opening);
        if (end < 0)
            return false;
        pos_ = end + closing.size();
        return true;
    }

    // At '&': the referenced character, with pos moved past the ';', or -1 when malformed.
    char32_t reference(qsizetype& pos) const {
        const qsizetype n = in_.size();
        qsizetype i = pos + 1;
        if (i < n && in_[i] == u'#') {
            ++i;
            int base = 10;
            if (i < n && in_[i] == u'x') {
                base = 16;
                ++i;
            }
            char32_t value = 0;
            const qsizetype first = i;
            for (int d; i < n && (d = digitValue(in_[i], base)) >= 0; ++i)
                value = std::min<char32_t>(value * char32_t(base) + char32_t(d), 0x110000);
            if (i == first || i >= n || in_[i] != u';')
                return char32_t(-1);
            if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
                return char32_t(-1);
            pos = i + 1;
            return value;
        }
        static constexpr std::pair<QStringView, char16_t> names[] = {
            {u"lt;", u'<'}, {u"gt;", u'>'}, {u"amp;", u'&'}, {u"apos;", u'\''}, {u"quot;", u'"'},
        };
        const QStringView rest = in_.sliced(i);
        for (const auto& [entity, ch] : names) {
            if (rest.startsWith(entity)) {
                pos = i + entity.size();
                return ch;
            }
        }
        return char32_t(-1);
    }

    static void append(QString& out, char32_t c) {
        if (c > 0xFFFF) {
            out.append(QChar::highSurrogate(c));
            out.append(QChar::lowSurrogate(c));
        } else {
            out.append(QChar(char16_t(c)));
        }
    }

    // An attribute value as meant: references replaced.
    QStringView decoded(const Attribute& a) {
        if (!a.entities)
            return a.value;
        scratch_.clear();
        const qsizetype end = a.value.data() - in_.data() + a.value.size();
        for (qsizetype i = a.value.data() - in_.data(); i < end;) {
            if (in_[i] == u'&')
                append(scratch_, reference(i)); // checked when the tag was read
            else
                scratch_.append(in_[i++]);
        }
        return scratch_;
    }

    bool inText() const { return !stack_.empty() && holdsText(stack_.back().tag); }

    // Text in a TextBlock, its blanks collapsed to one and trimmed at both ends of the TextBlock,
    // the way layout markup treats whitespace.
    void addText(QStringView text, const TextStyle& style) {
        Document& d = *doc_;
        const Element& block = d.elements[size_t(textBlock_)];
        Run* run = nullptr;
        if (int(d.runs.size()) > block.firstRun && d.runs.back().style == style)
            run = &d.runs.back();
        for (QChar c : text) {
            if (isBlank(c)) {
                if (lastBlank_)
                    continue;
                c = u' ';
                lastBlank_ = true;
            } else {
                lastBlank_ = false;
            }
            if (!run) {
                d.runs.push_back(Run{QString(), style});
                run = &d.runs.back();
            }
            run->text.append(c);
        }
    }

    bool text() {
        const qsizetype start = pos_;
        const bool keep = inText();
        QString& buffer = textBuffer_;
        buffer.clear();
        while (pos_ < in_.size() && in_[pos_] != u'<') {
            const QChar c = in_[pos_];
            if (!keep) {
                if (!isBlank(c))
                    return false;
                ++pos_;
            } else if (c == u'&') {
                const char32_t ch = reference(pos_);
                if (ch == char32_t(-1))
                    return false;
                append(buffer, ch);
            } else {
                buffer.append(c);
                ++pos_;
            }
        }
        if (keep)
            addText(buffer, stack_.back().style);
        return pos_ > start;
    }

    bool cdata() {
        const qsizetype begin = pos_ + 9;
        if (!skipPast(9, u"]]>"))
            return false;
        const QStringView content = in_.sliced(begin, pos_ - 3 - begin);
        if (inText()) {
            addText(content, stack_.back().style);
            return true;
        }
        for (QChar c : content) {
            if (!isBlank(c))
                return false;
        }
        return true;
    }

    bool endTag() {
        pos_ += 2;
        const QStringView n = name();
        skipBlanks();
        if (n.isEmpty() || pos_ >= in_.size() || in_[pos_] != u'>')
            return false;
        ++pos_;
        if (stack_.empty() || stack_.back().name != n)
            return false;
        return close();
    }

    bool startTag() {
        ++pos_;
        const QStringView n = name();
        if (n.isEmpty())
            return false;
        attributes_.clear();
        bool selfClosing = false;
        for (;;) {
            skipBlanks();
            if (pos_ >= in_.size())
                return false;
            if (in_[pos_] == u'>') {
                ++pos_;
                break;
            }
            if (in_[pos_] == u'/') {
                if (pos_ + 1 >= in_.size() || in_[pos_ + 1] != u'>')
                    return false;
                pos_ += 2;
                selfClosing = true;
                break;
            }
            Attribute a{name(), {}, false};
            if (a.name.isEmpty())
                return false;
            skipBlanks();
            if (pos_ >= in_.size() || in_[pos_] != u'=')
                return false;
            ++pos_;
            skipBlanks();
            if (pos_ >= in_.size() || (in_[pos_] != u'\'' && in_[pos_] != u'"'))
                return false;
            const QChar quote = in_[pos_++];
            const qsizetype begin = pos_;
            while (pos_ < in_.size() && in_[pos_] != quote) {
                if (in_[pos_] == u'<')
                    return false;
                if (in_[pos_] == u'&') {
                    if (reference(pos_) == char32_t(-1))
                        return false;
                    a.entities = true;
                } else {
                    ++pos_;
                }
            }
            if (pos_ >= in_.size())
                return false;
            a.value = in_.sliced(begin, pos_ - begin);
            ++pos_;
            attributes_.push_back(a);
        }
        return open(n, selfClosing);
    }

    bool open(QStringView n, bool selfClosing);
    bool openProperty(QStringView n, Frame& frame);
    bool openElement(Tag tag, Frame& frame);
    bool close();

    QStringView in_;
    qsizetype pos_ = 0;
    std::shared_ptr<Document> doc_;
    std::vector<Frame> stack_;
    std::vector<Attribute> attributes_;
    std::vector<GradientStop> stops_; // of the brush being read; brushes do not nest
    QString scratch_;
    QString textBuffer_;
    int textBlock_ = -1; // the open TextBlock; they do not nest
    bool lastBlank_ = false;
};

bool Parser::open(QStringView n, bool selfClosing) {
    if (stack_.size() >= size_t(kMaxDepth))
        return false;
    if (stack_.empty() && !doc_->elements.empty())
        return false; // a second root
    Frame frame{Tag::Border, n};
    if (n.contains(u'.')) {
        if (!openProperty(n, frame))
            return false;
    } else {
        const std::optional<Tag> tag = elementTag(n);
        if (!tag || !openElement(*tag, frame))
            return false;
    }
    stack_.push_back(frame);
    return !selfClosing || close();
}

// Owner.Property, where Owner is the enclosing element.
bool Parser::openProperty(QStringView n, Frame& frame) {
    if (stack_.empty() || stack_.back().name != n.first(n.indexOf(u'.')))
        return false;
    Frame& parent = stack_.back();
    const QStringView property = n.sliced(n.indexOf(u'.') + 1);
    frame.index = parent.index;
    if (property == u"Background" && isVisual(parent.tag)) {
        frame.tag = Tag::BrushProperty;
        frame.slot = Slot::Background;
    } else if (property == u"BorderBrush" && parent.tag == Tag::Border) {
        frame.tag = Tag::BrushProperty;
        frame.slot = Slot::BorderBrush;
    } else if (property == u"Foreground" && parent.tag == Tag::TextBlock) {
        frame.tag = Tag::BrushProperty;
        frame.slot = Slot::Foreground;
    } else if (property == u"ColumnDefinitions" && parent.tag == Tag::Grid) {
        frame.tag = Tag::ColumnDefinitions;
        Element& grid = doc_->elements[size_t(parent.index)];
        grid.firstColumn = int(doc_->columns.size()); // a later list replaces an earlier one
        grid.columnCount = 0;
    } else if (property == u"GradientStops" && parent.tag == Tag::LinearGradientBrush) {
        frame.tag = Tag::GradientStops;
    } else {
        return false;
    }
    return true;
}

bool Parser::openElement(Tag tag, Frame& frame) {
    Frame* parent = stack_.empty() ? nullptr : &stack_.back();
    const Tag within = parent ? parent->tag : Tag::StackPanel; // the root may be any visual
    Document& d = *doc_;
    frame.tag = tag;
    if (isVisual(tag)) {
        if (within == Tag::Border && parent->values++ > 0)
            return false; // a Border holds one child
        if (within != Tag::Border && within != Tag::StackPanel && within != Tag::Grid)
            return false;
        Element e;
        e.kind = ElementKind(int(tag));
        e.parent = parent ? parent->index : -1;
        const int index = int(d.elements.size());
        d.elements.push_back(e);
        if (parent) {
            Element& p = d.elements[size_t(parent->index)];
            if (p.lastChild >= 0)
                d.elements[size_t(p.lastChild)].nextSibling = index;
            else
                p.firstChild = index;
            p.lastChild = index;
        }
        frame.index = index;
        for (const Attribute& a : attributes_)
            properties::applyToElement(d, index, a.name, decoded(a));
        if (tag == Tag::TextBlock) {
            frame.style = d.elements[size_t(index)].text;
            frame.style.foreground = -1; // resolved when painting: TextBlock.Foreground may follow
            textBlock_ = index;
            lastBlank_ = true;
            d.elements[size_t(index)].firstRun = int(d.runs.size());
            for (const Attribute& a : attributes_) {
                if (a.name == u"Text")
                    addText(decoded(a), frame.style);
            }
        }
        return true;
    }
    if (isInline(tag)) {
        if (within != Tag::TextBlock && within != Tag::Bold && within != Tag::Italic)
            return false;
        frame.style = parent->style;
        if (tag == Tag::Bold)
            frame.style.weight = QFont::Bold;
        else if (tag == Tag::Italic)
            frame.style.italic = 1;
        for (const Attribute& a : attributes_)
            properties::applyToTextStyle(d, frame.style, a.name, decoded(a));
        for (const Attribute& a : attributes_) {
            if (tag == Tag::Run && a.name == u"Text")
                addText(decoded(a), frame.style);
        }
        return true;
    }
    if (isBrush(tag)) {
        if (within != Tag::BrushProperty || parent->values++ > 0)
            return false; // a property takes one value
        Brush brush;
        brush.kind = tag == Tag::SolidColorBrush ? Brush::Kind::Solid : Brush::Kind::LinearGradient;
        for (const Attribute& a : attributes_)
            properties::applyToBrush(brush, a.name, decoded(a));
        frame.index = int(d.brushes.size());
        d.brushes.push_back(brush);
        stops_.clear();
        Element& target = d.elements[size_t(parent->index)];
        (parent->slot == Slot::Background    ? target.background
         : parent->slot == Slot::BorderBrush ? target.borderBrush
                                             : target.text.foreground) = frame.index;
        return true;
    }
    if (tag == Tag::GradientStop) {
        if (within != Tag::LinearGradientBrush && within != Tag::GradientStops)
            return false;
        GradientStop stop;
        for (const Attribute& a : attributes_)
            properties::applyToStop(stop, a.name, decoded(a));
        stops_.push_back(stop);
        return true;
    }
    // ColumnDefinition
    if (within != Tag::ColumnDefinitions)
        return false;
    ColumnDefinition column;
    for (const Attribute& a : attributes_)
        properties::applyToColumn(column, a.name, decoded(a));
    d.columns.push_back(column);
    ++d.elements[size_t(parent->index)].columnCount;
    return true;
}

bool Parser::close() {
    const Frame frame = stack_.back();
    stack_.pop_back();
    Document& d = *doc_;
    switch (frame.tag) {
    case Tag::BrushProperty:
        return frame.values == 1;
    case Tag::LinearGradientBrush:
        properties::finishGradient(d.brushes[size_t(frame.index)], stops_);
        return true;
    case Tag::SolidColorBrush:
        properties::finishSolid(d.brushes[size_t(frame.index)]);
        return true;
    case Tag::TextBlock: {
        Element& block = d.elements[size_t(frame.index)];
        if (int(d.runs.size()) > block.firstRun && d.runs.back().text.endsWith(u' ')) {
            d.runs.back().text.chop(1);
            if (d.runs.back().text.isEmpty())
                d.runs.pop_back();
        }
        block.runCount = int(d.runs.size()) - block.firstRun;
        textBlock_ = -1;
        return true;
    }
    default:
        return true;
    }
}

} // namespace

std::shared_ptr<Document> parseDocument(QStringView text) {
    return Parser(text).run();
}

} // namespace markup
