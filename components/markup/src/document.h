#pragma once

// The parsed form of a caption: flat tables the parser fills once and the layout and the painter
// only read. Elements are stored in document order (a parent before its children, siblings in
// the order written), which is also the order they are painted in; an element's descendants are
// the elements that follow it up to its subtreeEnd.

#include "gridgauge/markup/markup.h"

#include <QColor>
#include <QGradient>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <limits>
#include <vector>

namespace markup {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Width and Height left unset (or "Auto") size to content.
constexpr double kAuto = std::numeric_limits<double>::quiet_NaN();
// No caption is a million pixels wide; confining every length to this keeps all sums in the
// layout finite, so no infinity minus infinity can reach the painter.
constexpr double kMaxLength = 1e6;
// Deeper documents are refused by the parser, so the layout may recurse without a stack worry.
constexpr int kMaxDepth = 256;

struct Thickness {
    double left = 0, top = 0, right = 0, bottom = 0;
    double horizontal() const { return left + right; }
    double vertical() const { return top + bottom; }
    bool isZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

struct CornerRadius {
    double topLeft = 0, topRight = 0, bottomRight = 0, bottomLeft = 0;
    bool isZero() const {
        return topLeft == 0 && topRight == 0 && bottomRight == 0 && bottomLeft == 0;
    }
};

// In the order of the parser's tags for them.
enum class ElementKind : quint8 {
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
};

// Start is Left or Top, End is Right or Bottom.
enum class Align : quint8 { Stretch, Start, Center, End };
enum class Orientation : quint8 { Vertical, Horizontal };
enum class Visibility : quint8 { Visible, Hidden, Collapsed };
// FlowDirection: Inherit takes the parent's, or at the root the host's.
enum class Flow : quint8 { Inherit, LeftToRight, RightToLeft };
enum class Stretch : quint8 { Fill, None, Uniform, UniformToFill };
// Which way an Image's Stretch may scale its picture.
enum class StretchDirection : quint8 { Both, UpOnly, DownOnly };
enum class Wrapping : quint8 { NoWrap, Wrap, WrapWithOverflow };
enum class Trimming : quint8 { None, CharacterEllipsis, WordEllipsis };
// DockPanel.Dock: the side of what is left that a child takes.
enum class Dock : quint8 { Left, Top, Right, Bottom };

struct GradientStop {
    QColor color = QColor(0, 0, 0, 0);
    double offset = 0;
};

struct Brush {
    enum class Kind : quint8 { Solid, LinearGradient, RadialGradient };
    Kind kind = Kind::Solid;
    // Points and radii are fractions of the box the brush fills ((0,0) its top-left, (1,1) its
    // bottom-right), or with absolute mapping pixels from the top-left of the element painted.
    bool absolute = false;
    QColor color = QColor(0, 0, 0, 0);
    QPointF start{0, 0};
    QPointF end{1, 1};
    QPointF center{0.5, 0.5};
    QPointF origin{0.5, 0.5};
    double radiusX = 0.5, radiusY = 0.5;
    double opacity = 1;
    // Sorted, confined to [0, 1] and with the opacity applied, once the document is complete.
    QGradientStops stops;
};

// A ColumnDefinition or a RowDefinition: Width or Height, and its limits.
struct Definition {
    enum class Unit : quint8 { Pixel, Auto, Star };
    Unit unit = Unit::Star;
    double value = 1; // pixels, or the star weight
    double min = 0;
    double max = kInfinity;
};

enum Decoration : quint8 { Underline = 1, Strikethrough = 2, OverLine = 4, Baseline = 8 };

// A foreground not given: the enclosing inline's, the TextBlock's, and finally the host's text
// colour.
constexpr int kInheritedForeground = -1;
// A Hyperlink's own: the host's link colour, unless the Hyperlink or an inline in it gives one.
constexpr int kLinkForeground = -2;

// Unset members inherit: from the enclosing inline, the TextBlock, and finally the host font.
struct TextStyle {
    int weight = -1;
    qint8 style = -1; // QFont::Style
    double size = kAuto;
    int family = -1;                       // index into Document::families
    int foreground = kInheritedForeground; // a brush index, or one of the two below
    int link = -1; // the Hyperlink it lies in: an index into Document::links
    quint8 decorations = 0;
    bool operator==(const TextStyle&) const = default;
};

// A stretch of text in one style; a line break is a Run of its own, without text.
struct Run {
    QString text;
    TextStyle style;
    bool lineBreak = false;
};

struct Element {
    ElementKind kind = ElementKind::Border;
    int parent = -1;
    int firstChild = -1;
    int lastChild = -1;
    int nextSibling = -1;
    int subtreeEnd = -1; // one past the last descendant

    double width = kAuto, height = kAuto;
    double minWidth = 0, minHeight = 0;
    double maxWidth = kInfinity, maxHeight = kInfinity;
    Thickness margin, padding, border;
    CornerRadius corners;
    Align horizontal = Align::Stretch, vertical = Align::Stretch;
    Orientation orientation = Orientation::Vertical;
    Visibility visibility = Visibility::Visible;
    Flow flow = Flow::Inherit;
    double opacity = 1;
    int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
    // In a DockPanel; and in a Canvas, its offsets from the Canvas's edges (kAuto: not given).
    Dock dock = Dock::Left;
    double canvasLeft = kAuto, canvasTop = kAuto, canvasRight = kAuto, canvasBottom = kAuto;
    int background = -1;  // Background, or a shape's Fill
    int borderBrush = -1; // BorderBrush, or a shape's Stroke

    // Rectangle and Ellipse
    double strokeThickness = 1; // as written; stroke() is what is drawn
    double radiusX = 0, radiusY = 0;
    Stretch stretch = Stretch::Fill;

    // WrapPanel: every child's slot, kAuto for each child's own size
    double itemWidth = kAuto, itemHeight = kAuto;
    // DockPanel
    bool lastChildFill = true;

    // Image: its picture, an index into Document::sources, or -1; and how it scales (Stretch
    // above, with Uniform as its default)
    int source = -1;
    StretchDirection stretchDirection = StretchDirection::Both;

    // Grid: its slices of Document::definitions
    int firstColumn = 0, columnCount = 0;
    int firstRow = 0, rowCount = 0;

    // TextBlock: the style its runs inherit, and its slice of Document::runs
    TextStyle text;
    Align textAlignment = Align::Start;
    Wrapping wrapping = Wrapping::NoWrap;
    Trimming trimming = Trimming::None;
    int firstRun = 0, runCount = 0;

    // A shape's stroke as drawn and laid out: none without a Stroke brush.
    double stroke() const { return borderBrush >= 0 ? strokeThickness : 0; }
};

class Document {
public:
    std::vector<Element> elements; // [0] is the root
    std::vector<Brush> brushes;
    std::vector<Definition> definitions;
    std::vector<Run> runs;
    std::vector<QStringList> families;
    std::vector<QString> sources; // of Image elements, each once
    std::vector<QString> links;   // each Hyperlink's NavigateUri, in document order
};

} // namespace markup
