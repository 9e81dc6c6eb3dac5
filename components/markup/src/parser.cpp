// Which element may stand where, and what each one adds to the document. The XML itself is read
// by XmlReader; a text it finds malformed is refused here as well.
#include "parser.h"

#include "properties.h"
#include "xml_reader.h"

#include <optional>
#include <vector>

namespace markup {
namespace {

enum class Tag : quint8 {
    // Visual elements, in the order of ElementKind
    Border,
    StackPanel,
    Grid,
    TextBlock,
    Rectangle,
    Ellipse,
    WrapPanel,
    DockPanel,
    Canvas,
    Image,
    // Inlines
    Run,
    Bold,
    Italic,
    Underline,
    Hyperlink,
    LineBreak,
    // Brushes
    SolidColorBrush,
    LinearGradientBrush,
    RadialGradientBrush,
    GradientStop,
    ColumnDefinition,
    RowDefinition,
    // Property elements: Border.Background and the like, Grid.ColumnDefinitions, ...
    BrushProperty,
    ColumnDefinitions,
    RowDefinitions,
    GradientStops,
};

// Where a brush property element puts its brush.
enum class Slot : quint8 { Background, BorderBrush, Foreground };

bool isVisual(Tag t) {
    return t <= Tag::Image;
}
// The elements that hold visual elements: a Border one, the panels any number.
bool holdsVisuals(Tag t) {
    return t == Tag::Border || t == Tag::StackPanel || t == Tag::Grid || t == Tag::WrapPanel ||
           t == Tag::DockPanel || t == Tag::Canvas;
}
bool isShape(Tag t) {
    return t == Tag::Rectangle || t == Tag::Ellipse;
}
bool isInline(Tag t) {
    return t >= Tag::Run && t <= Tag::LineBreak;
}
bool isSpan(Tag t) {
    return t == Tag::Bold || t == Tag::Italic || t == Tag::Underline || t == Tag::Hyperlink;
}
bool isGradient(Tag t) {
    return t == Tag::LinearGradientBrush || t == Tag::RadialGradientBrush;
}
bool isBrush(Tag t) {
    return t == Tag::SolidColorBrush || isGradient(t);
}
bool holdsText(Tag t) {
    return t == Tag::TextBlock || (isInline(t) && t != Tag::LineBreak);
}

std::optional<Tag> elementTag(QStringView name) {
    static constexpr std::pair<QStringView, Tag> names[] = {
        {u"Border", Tag::Border},
        {u"StackPanel", Tag::StackPanel},
        {u"Grid", Tag::Grid},
        {u"TextBlock", Tag::TextBlock},
        {u"Rectangle", Tag::Rectangle},
        {u"Ellipse", Tag::Ellipse},
        {u"WrapPanel", Tag::WrapPanel},
        {u"DockPanel", Tag::DockPanel},
        {u"Canvas", Tag::Canvas},
        {u"Image", Tag::Image},
        {u"Run", Tag::Run},
        {u"Bold", Tag::Bold},
        {u"Italic", Tag::Italic},
        {u"Underline", Tag::Underline},
        {u"Hyperlink", Tag::Hyperlink},
        {u"LineBreak", Tag::LineBreak},
        {u"SolidColorBrush", Tag::SolidColorBrush},
        {u"LinearGradientBrush", Tag::LinearGradientBrush},
        {u"RadialGradientBrush", Tag::RadialGradientBrush},
        {u"GradientStop", Tag::GradientStop},
        {u"ColumnDefinition", Tag::ColumnDefinition},
        {u"RowDefinition", Tag::RowDefinition},
    };
    for (const auto& [n, tag] : names) {
        if (n == name)
            return tag;
    }
    return std::nullopt;
}

// A TextBlock or an inline: what it sets itself, the rest coming from its parent. Styles are
// resolved when the TextBlock closes, so that a Foreground property element may come last.
struct StyleNode {
    int parent;
    TextStyle own;
};

struct Frame {
    Tag tag;
    QStringView name;
    int index = -1; // the element, the brush, or the Grid of a definition list
    int node = -1;  // a TextBlock's or an inline's style node
    Slot slot{};    // BrushProperty: which property of the enclosing frame receives the brush
    int values = 0; // children a Border or a property element has received
};

// A message with %1 and %2 replaced, in one pass so that a name holding "%2" stays as written;
// only ever made for a caller that asked what was wrong.
QString format(const char* message, QStringView first = {}, QStringView second = {}) {
    const QString pattern = QString::fromUtf8(message);
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u'1' || pattern[i + 1] == u'2')) {
            text.append(pattern[++i] == u'1' ? first : second);
            continue;
        }
        text.append(pattern[i]);
    }
    return text;
}

// Namespace declarations say how a caption was written, not what it shows: nothing is lost by
// leaving them out.
bool isNamespaceDeclaration(QStringView name) {
    return name == u"xmlns" || name.startsWith(u"xmlns:");
}

class Parser {
public:
    Parser(QStringView in, Problems* problems)
        : reader_(in)
        , doc_(std::make_shared<Document>())
        , problems_(problems) {}

    std::shared_ptr<Document> run();

private:
    // Returns false, having told problems_ (when there is one) why the text is not markup.
    bool refuse(qsizetype at, const char* why, QStringView first = {}, QStringView second = {});
    // Tells problems_ of an attribute that changed nothing.
    void note(const XmlReader::Attribute& attribute, properties::Outcome outcome);
    void note(const XmlReader::Attribute& attribute, const char* why);
    // Where the tag just read begins, at its '<'.
    qsizetype tagStart() const { return reader_.offsetOf(reader_.name()) - 1; }
    qsizetype endTagStart() const { return reader_.offsetOf(reader_.name()) - 2; }

    bool open();
    bool openProperty(QStringView name, Frame& frame);
    bool openVisual(Tag tag, Frame& frame);
    bool openInline(Tag tag, Frame& frame);
    bool openBrush(Tag tag, Frame& frame);
    bool close();
    bool text();
    void addText(QStringView text, int node);
    void addLineBreak(int node);
    void dropTrailingBlank();
    void finishTextBlock(Element& block);
    int newNode(int parent, const TextStyle& own) {
        nodes_.push_back({parent, own});
        return int(nodes_.size()) - 1;
    }

    XmlReader reader_;
    std::shared_ptr<Document> doc_;
    std::vector<Frame> stack_;
    std::vector<GradientStop> stops_; // of the brush being read; brushes do not nest
    std::vector<StyleNode> nodes_;    // of the open TextBlock; TextBlocks do not nest
    std::vector<int> runNodes_;       // the node of each run of the open TextBlock
    int textBlock_ = -1;
    bool lastBlank_ = false;
    Problems* problems_;
};

bool Parser::refuse(qsizetype at, const char* why, QStringView first, QStringView second) {
    if (problems_ && !problems_->error)
        problems_->error = Problem{at, format(why, first, second)};
    return false;
}

void Parser::note(const XmlReader::Attribute& attribute, const char* why) {
    if (++problems_->ignoredCount > kMaxIgnored)
        return;
    const bool unknown = !why;
    const QStringView at = unknown ? attribute.name : attribute.value;
    problems_->ignored.push_back(
        {reader_.offsetOf(at),
         unknown ? format("unknown attribute '%1' on '%2', ignored", attribute.name, reader_.name())
                 : format("%1='%2' ignored: %1 takes ", attribute.name, attribute.value) +
                       QString::fromUtf8(why)});
}

void Parser::note(const XmlReader::Attribute& attribute, properties::Outcome outcome) {
    if (!problems_ || outcome.kind == properties::Outcome::Applied ||
        isNamespaceDeclaration(attribute.name))
        return;
    note(attribute, outcome.kind == properties::Outcome::Unreadable ? outcome.syntax : nullptr);
}

std::shared_ptr<Document> Parser::run() {
    for (;;) {
        bool ok = false;
        switch (reader_.next()) {
        case XmlReader::Token::StartTag:
            ok = open() && (!reader_.selfClosing() || close());
            break;
        case XmlReader::Token::EndTag:
            if (stack_.empty())
                ok = refuse(endTagStart(), "the end tag '</%1>' closes nothing", reader_.name());
            else if (stack_.back().name != reader_.name())
                ok = refuse(endTagStart(), "the end tag '</%1>' does not close '<%2>'",
                            reader_.name(), stack_.back().name);
            else
                ok = close();
            break;
        case XmlReader::Token::Text:
            ok = text();
            break;
        case XmlReader::Token::End:
            if (!stack_.empty()) {
                const QStringView open = stack_.back().name;
                refuse(reader_.offsetOf(open) - 1, "'<%1>' is never closed", open);
                return nullptr;
            }
            if (doc_->elements.empty()) {
                refuse(reader_.position(), "no element: a caption is one element, such as a "
                                           "Border or a TextBlock");
                return nullptr;
            }
            return doc_;
        case XmlReader::Token::Malformed:
            refuse(reader_.errorAt(), reader_.error(), reader_.errorName());
            return nullptr;
        }
        if (!ok) {
            refuse(reader_.position(), "not markup here"); // should a refusal not have said why
            return nullptr;
        }
    }
}

// Text in a TextBlock, its blanks collapsed to one and trimmed at both ends of the TextBlock and
// around line breaks, the way layout markup treats whitespace. Anything but blanks elsewhere is
// refused.
bool Parser::text() {
    if (stack_.empty() || !holdsText(stack_.back().tag)) {
        const QStringView raw = reader_.rawText();
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (!isXmlBlank(raw[i]))
                return refuse(reader_.offsetOf(raw) + i,
                              "text outside a TextBlock (only blanks may stand between elements)");
        }
        return true;
    }
    addText(reader_.decodedText(), stack_.back().node);
    return true;
}

void Parser::addText(QStringView text, int node) {
    Document& d = *doc_;
    const Element& block = d.elements[size_t(textBlock_)];
    const bool continues =
        int(d.runs.size()) > block.firstRun && runNodes_.back() == node && !d.runs.back().lineBreak;
    Run* run = continues ? &d.runs.back() : nullptr;
    for (QChar c : text) {
        if (isXmlBlank(c)) {
            if (lastBlank_)
                continue;
            c = u' ';
            lastBlank_ = true;
        } else {
            lastBlank_ = false;
        }
        if (!run) {
            d.runs.push_back(Run{});
            runNodes_.push_back(node);
            run = &d.runs.back();
        }
        run->text.append(c);
    }
}

void Parser::addLineBreak(int node) {
    Document& d = *doc_;
    dropTrailingBlank();
    Run lineBreak;
    lineBreak.lineBreak = true;
    d.runs.push_back(lineBreak);
    runNodes_.push_back(node);
    lastBlank_ = true;
}

bool Parser::open() {
    const QStringView name = reader_.name();
    if (stack_.size() >= size_t(kMaxDepth))
        return refuse(tagStart(), "'<%1>' lies deeper than 256 elements", name);
    if (stack_.empty() && !doc_->elements.empty())
        return refuse(tagStart(), "a second root element '<%1>': a caption is one element", name);
    Frame frame{Tag::Border, name};
    if (name.contains(u'.')) {
        if (!openProperty(name, frame))
            return false;
        if (problems_) { // a property element's value is its child
            for (const XmlReader::Attribute& a : reader_.attributes())
                note(a, properties::Outcome{properties::Outcome::UnknownName});
        }
    } else {
        const std::optional<Tag> tag = elementTag(name);
        if (!tag)
            return refuse(tagStart(), "unknown element '<%1>'", name);
        frame.tag = *tag;
        const bool ok = isVisual(*tag)   ? openVisual(*tag, frame)
                        : isInline(*tag) ? openInline(*tag, frame)
                        : isBrush(*tag)  ? openBrush(*tag, frame)
                                         : true;
        if (!ok)
            return false;
        if (problems_ && !isVisual(*tag) && !isInline(*tag) && !isBrush(*tag) &&
            *tag != Tag::GradientStop && *tag != Tag::ColumnDefinition &&
            *tag != Tag::RowDefinition) {
            for (const XmlReader::Attribute& a : reader_.attributes())
                note(a, properties::Outcome{properties::Outcome::UnknownName});
        }
        const Tag within = stack_.empty() ? Tag::Border : stack_.back().tag;
        Document& d = *doc_;
        if (*tag == Tag::GradientStop) {
            if (!isGradient(within) && within != Tag::GradientStops)
                return refuse(tagStart(), "a GradientStop stands only in a gradient brush");
            GradientStop stop;
            for (const XmlReader::Attribute& a : reader_.attributes())
                note(a, properties::applyToStop(stop, a.name, reader_.decoded(a)));
            stops_.push_back(stop);
        } else if (*tag == Tag::ColumnDefinition || *tag == Tag::RowDefinition) {
            const bool row = *tag == Tag::RowDefinition;
            if (within != (row ? Tag::RowDefinitions : Tag::ColumnDefinitions))
                return refuse(tagStart(), "a %1 stands only in Grid.%1s", name);
            Definition definition;
            for (const XmlReader::Attribute& a : reader_.attributes())
                note(a, properties::applyToDefinition(definition, row, a.name, reader_.decoded(a)));
            d.definitions.push_back(definition);
            Element& grid = d.elements[size_t(stack_.back().index)];
            ++(row ? grid.rowCount : grid.columnCount);
        }
    }
    stack_.push_back(frame);
    return true;
}

// Owner.Property, where Owner is the enclosing element.
bool Parser::openProperty(QStringView name, Frame& frame) {
    const qsizetype dot = name.indexOf(u'.');
    if (stack_.empty())
        return refuse(tagStart(), "a property element '<%1>' has no element to belong to", name);
    if (stack_.back().name != name.first(dot))
        return refuse(tagStart(), "'<%1>' does not belong to the enclosing '<%2>'", name,
                      stack_.back().name);
    const Frame& parent = stack_.back();
    const QStringView property = name.sliced(dot + 1);
    const Tag owner = parent.tag;
    frame.index = parent.index;
    frame.node = parent.node;
    frame.tag = Tag::BrushProperty;
    if (property == u"Background" && isVisual(owner) && !isShape(owner) && owner != Tag::Image)
        frame.slot = Slot::Background;
    else if (property == u"Fill" && isShape(owner))
        frame.slot = Slot::Background;
    else if ((property == u"BorderBrush" && owner == Tag::Border) ||
             (property == u"Stroke" && isShape(owner)))
        frame.slot = Slot::BorderBrush;
    else if (property == u"Foreground" && holdsText(owner))
        frame.slot = Slot::Foreground;
    else if (property == u"GradientStops" && isGradient(owner))
        frame.tag = Tag::GradientStops;
    else if ((property == u"ColumnDefinitions" || property == u"RowDefinitions") &&
             owner == Tag::Grid) {
        const bool rows = property == u"RowDefinitions";
        frame.tag = rows ? Tag::RowDefinitions : Tag::ColumnDefinitions;
        Element& grid = doc_->elements[size_t(parent.index)];
        // A later list replaces an earlier one.
        (rows ? grid.firstRow : grid.firstColumn) = int(doc_->definitions.size());
        (rows ? grid.rowCount : grid.columnCount) = 0;
    } else {
        return refuse(tagStart(), "'%2' has no property element '<%1>'", name, parent.name);
    }
    return true;
}

bool Parser::openVisual(Tag tag, Frame& frame) {
    Frame* parent = stack_.empty() ? nullptr : &stack_.back();
    if (parent) {
        if (parent->tag == Tag::Border && parent->values++ > 0)
            return refuse(tagStart(), "a Border holds one child: '<%1>' would be its second",
                          reader_.name());
        if (!holdsVisuals(parent->tag))
            return refuse(tagStart(), "'<%1>' cannot stand inside '<%2>'", reader_.name(),
                          parent->name);
    }
    Document& d = *doc_;
    Element e;
    e.kind = ElementKind(int(tag));
    e.parent = parent ? parent->index : -1;
    if (tag == Tag::WrapPanel)
        e.orientation = Orientation::Horizontal; // a WrapPanel's own default
    else if (tag == Tag::Image)
        e.stretch = Stretch::Uniform; // an Image's
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
    for (const XmlReader::Attribute& a : reader_.attributes())
        note(a, properties::applyToElement(d, index, a.name, reader_.decoded(a)));
    frame.index = index;
    if (tag == Tag::TextBlock) {
        Element& block = d.elements[size_t(index)];
        textBlock_ = index;
        lastBlank_ = true;
        block.firstRun = int(d.runs.size());
        nodes_.clear();
        runNodes_.clear();
        frame.node = newNode(-1, block.text);
        for (const XmlReader::Attribute& a : reader_.attributes()) {
            if (a.name == u"Text")
                addText(reader_.decoded(a), frame.node);
        }
    }
    return true;
}

bool Parser::openInline(Tag tag, Frame& frame) {
    if (stack_.empty())
        return refuse(tagStart(), "'<%1>' stands only inside a TextBlock", reader_.name());
    const Frame& parent = stack_.back();
    if (parent.tag != Tag::TextBlock && !isSpan(parent.tag))
        return refuse(tagStart(), "'<%1>' stands only inside a TextBlock, not inside '<%2>'",
                      reader_.name(), parent.name);
    TextStyle own;
    if (tag == Tag::Bold)
        own.weight = QFont::Bold;
    else if (tag == Tag::Italic)
        own.style = QFont::StyleItalic;
    else if (tag == Tag::Underline)
        own.decorations = Decoration::Underline;
    else if (tag == Tag::Hyperlink) {
        // Drawn as links are, unless it says otherwise: underlined, in the host's link colour.
        own.decorations = Decoration::Underline;
        own.foreground = kLinkForeground;
        own.link = int(doc_->links.size());
        doc_->links.emplace_back();
    }
    for (const XmlReader::Attribute& a : reader_.attributes()) {
        if (tag == Tag::Hyperlink && a.name == u"NavigateUri") {
            doc_->links.back() = reader_.decoded(a).toString(); // the host decides what it opens
            continue;
        }
        const bool text = tag == Tag::Run && a.name == u"Text"; // read below
        note(a, text ? properties::Outcome{}
                     : properties::applyToTextStyle(*doc_, own, a.name, reader_.decoded(a)));
    }
    frame.node = newNode(parent.node, own);
    if (tag == Tag::LineBreak) {
        addLineBreak(frame.node);
        return true;
    }
    for (const XmlReader::Attribute& a : reader_.attributes()) {
        if (tag == Tag::Run && a.name == u"Text")
            addText(reader_.decoded(a), frame.node);
    }
    return true;
}

bool Parser::openBrush(Tag tag, Frame& frame) {
    if (stack_.empty() || stack_.back().tag != Tag::BrushProperty)
        return refuse(tagStart(),
                      "a brush ('<%1>') stands only in a property element, such as "
                      "Border.Background",
                      reader_.name());
    Frame& parent = stack_.back();
    if (parent.values++ > 0)
        return refuse(tagStart(), "'<%1>' holds one brush: '<%2>' would be its second", parent.name,
                      reader_.name());
    Document& d = *doc_;
    Brush brush;
    brush.kind = tag == Tag::SolidColorBrush       ? Brush::Kind::Solid
                 : tag == Tag::LinearGradientBrush ? Brush::Kind::LinearGradient
                                                   : Brush::Kind::RadialGradient;
    for (const XmlReader::Attribute& a : reader_.attributes())
        note(a, properties::applyToBrush(brush, a.name, reader_.decoded(a)));
    frame.index = int(d.brushes.size());
    d.brushes.push_back(brush);
    stops_.clear();
    if (parent.slot == Slot::Foreground) {
        nodes_[size_t(parent.node)].own.foreground = frame.index;
    } else {
        Element& target = d.elements[size_t(parent.index)];
        (parent.slot == Slot::Background ? target.background : target.borderBrush) = frame.index;
    }
    return true;
}

bool Parser::close() {
    const Frame frame = stack_.back();
    stack_.pop_back();
    Document& d = *doc_;
    if (isVisual(frame.tag)) {
        Element& element = d.elements[size_t(frame.index)];
        element.subtreeEnd = int(d.elements.size());
        if (frame.tag == Tag::TextBlock)
            finishTextBlock(element);
        return true;
    }
    switch (frame.tag) {
    case Tag::BrushProperty:
        return frame.values == 1 || refuse(endTagStart(), "'<%1>' holds no brush", frame.name);
    case Tag::LinearGradientBrush:
    case Tag::RadialGradientBrush:
        properties::finishGradient(d.brushes[size_t(frame.index)], stops_);
        return true;
    case Tag::SolidColorBrush:
        properties::finishSolid(d.brushes[size_t(frame.index)]);
        return true;
    default:
        return true;
    }
}

// A blank that ends the open TextBlock's text, or its text before a line break, shows nothing:
// it goes, and the run it ends with it when that held nothing else. A run is only ever made
// with a character in it, so only this can leave one empty.
void Parser::dropTrailingBlank() {
    Document& d = *doc_;
    const Element& block = d.elements[size_t(textBlock_)];
    if (int(d.runs.size()) <= block.firstRun || !d.runs.back().text.endsWith(u' '))
        return;
    d.runs.back().text.chop(1);
    if (d.runs.back().text.isEmpty() && !d.runs.back().lineBreak) {
        d.runs.pop_back();
        runNodes_.pop_back();
    }
}

void Parser::finishTextBlock(Element& block) {
    Document& d = *doc_;
    dropTrailingBlank();
    // Nodes come after their parents, so one pass resolves them all.
    for (StyleNode& node : nodes_) {
        if (node.parent < 0)
            continue;
        const TextStyle& from = nodes_[size_t(node.parent)].own;
        TextStyle& own = node.own;
        own.weight = own.weight >= 0 ? own.weight : from.weight;
        own.style = own.style >= 0 ? own.style : from.style;
        own.size = own.size > 0 ? own.size : from.size;
        own.family = own.family >= 0 ? own.family : from.family;
        if (own.foreground == kInheritedForeground)
            own.foreground = from.foreground;
        own.link = own.link >= 0 ? own.link : from.link;
        own.decorations |= from.decorations;
    }
    block.text = nodes_.front().own;
    // Neighbours that end up alike are one run: fewer pieces to measure and draw.
    size_t kept = size_t(block.firstRun);
    for (size_t r = size_t(block.firstRun); r < d.runs.size(); ++r) {
        Run& run = d.runs[r];
        run.style = nodes_[size_t(runNodes_[r - size_t(block.firstRun)])].own;
        if (kept > size_t(block.firstRun) && !run.lineBreak && !d.runs[kept - 1].lineBreak &&
            d.runs[kept - 1].style == run.style) {
            d.runs[kept - 1].text.append(run.text);
            continue;
        }
        if (kept != r)
            d.runs[kept] = std::move(run);
        ++kept;
    }
    d.runs.resize(kept);
    block.runCount = int(kept) - block.firstRun;
    textBlock_ = -1;
}

} // namespace

std::shared_ptr<Document> parseDocument(QStringView text, Problems* problems) {
    return Parser(text, problems).run();
}

} // namespace markup
