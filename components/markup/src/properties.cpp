#include "properties.h"

#include "images.h"
#include "values.h"

#include <algorithm>
#include <cmath>

namespace markup::properties {
namespace {

// What each reader takes, for the message about a value it could not read.
namespace syntax {
constexpr const char* length = "a length: a number of pixels, or of px, in, cm or pt";
constexpr const char* lengthOrAuto =
    "a length (a number of pixels, or of px, in, cm or pt), or Auto";
constexpr const char* offset = "a length, which may be negative, or Auto";
constexpr const char* signedLength = "a length, which may be negative";
constexpr const char* thickness = "one, two or four lengths, separated by commas or blanks";
constexpr const char* margin =
    "one, two or four lengths, which may be negative, separated by commas or blanks";
constexpr const char* corners = "one or four lengths, separated by commas or blanks";
constexpr const char* color = "a colour: #RGB, #ARGB, #RRGGBB, #AARRGGBB or a colour name";
constexpr const char* horizontal = "Left, Center, Right or Stretch";
constexpr const char* vertical = "Top, Center, Bottom or Stretch";
constexpr const char* textAlignment = "Left, Center, Right or Justify";
constexpr const char* orientation = "Horizontal or Vertical";
constexpr const char* visibility = "Visible, Hidden or Collapsed";
constexpr const char* flow = "LeftToRight or RightToLeft";
constexpr const char* stretch = "None, Fill, Uniform or UniformToFill";
constexpr const char* wrapping = "NoWrap, Wrap or WrapWithOverflow";
constexpr const char* trimming = "None, CharacterEllipsis or WordEllipsis";
constexpr const char* decorations =
    "None, or Underline, Strikethrough, OverLine and Baseline separated by commas";
constexpr const char* mapping = "Absolute or RelativeToBoundingBox";
constexpr const char* opacity = "a number, from 0 to 1";
constexpr const char* weight = "a weight such as Normal or Bold, or a number from 1 to 999";
constexpr const char* fontStyle = "Normal, Italic or Oblique";
constexpr const char* family = "font family names, separated by commas";
constexpr const char* fontSize = "a length greater than 0";
constexpr const char* index = "a whole number, 0 or more";
constexpr const char* span = "a whole number, 1 or more";
constexpr const char* gridLength = "a length, Auto, * or a number followed by *";
constexpr const char* point = "two numbers, x and y, separated by a comma or blanks";
constexpr const char* number = "a number";
constexpr const char* dock = "Left, Top, Right or Bottom";
constexpr const char* boolean = "True or False";
constexpr const char* stretchDirection = "Both, UpOnly or DownOnly";
constexpr const char* source =
    "the name of a picture, such as qrc:/icons/ok.png or icon:document-save";
} // namespace syntax

constexpr Outcome kApplied{};
constexpr Outcome kUnknown{Outcome::UnknownName};

Outcome unreadable(const char* what) {
    return {Outcome::Unreadable, what};
}

int addSolidBrush(Document& document, const QColor& color) {
    Brush brush;
    brush.color = color;
    document.brushes.push_back(brush);
    return int(document.brushes.size()) - 1;
}

template <typename T, typename Reader>
Outcome set(T& target, QStringView value, Reader reader, const char* what) {
    const auto v = reader(value);
    if (!v)
        return unreadable(what);
    target = *v;
    return kApplied;
}

// A brush written as a colour.
Outcome setColor(Document& document, int& brush, QStringView value) {
    const auto color = values::color(value);
    if (!color)
        return unreadable(syntax::color);
    brush = addSolidBrush(document, *color);
    return kApplied;
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto channel = [t](float x, float y) { return x + (y - x) * float(t); };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()), channel(a.alphaF(), b.alphaF()));
}

// stops is sorted by offset.
QColor colorAt(const std::vector<GradientStop>& stops, double t) {
    if (t <= stops.front().offset)
        return stops.front().color;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t < stops[i].offset) {
            const GradientStop& a = stops[i - 1];
            const GradientStop& b = stops[i];
            return mix(a.color, b.color, (t - a.offset) / (b.offset - a.offset));
        }
    }
    return stops.back().color;
}

// Readers with their options given, for set().
std::optional<double> length(QStringView text) {
    return values::length(text);
}
std::optional<double> lengthOrAuto(QStringView text) {
    return values::length(text, true);
}
std::optional<Thickness> thickness(QStringView text) {
    return values::thickness(text);
}
std::optional<Thickness> margin(QStringView text) {
    return values::thickness(text, true);
}
std::optional<QPointF> point(QStringView text) {
    return values::point(text);
}
// A number that a length can be made of.
std::optional<double> finite(QStringView text) {
    const auto value = values::number(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

// What every element has: its size and limits, margin, alignment, visibility, flow direction,
// opacity and place in a Grid, a DockPanel or a Canvas. UnknownName when it is none of them.
Outcome applyToLayout(Element& e, QStringView name, QStringView value) {
    if (name == u"Width")
        return set(e.width, value, lengthOrAuto, syntax::lengthOrAuto);
    if (name == u"Height")
        return set(e.height, value, lengthOrAuto, syntax::lengthOrAuto);
    if (name == u"MinWidth")
        return set(e.minWidth, value, length, syntax::length);
    if (name == u"MinHeight")
        return set(e.minHeight, value, length, syntax::length);
    if (name == u"MaxWidth")
        return set(e.maxWidth, value, length, syntax::length);
    if (name == u"MaxHeight")
        return set(e.maxHeight, value, length, syntax::length);
    if (name == u"Margin")
        return set(e.margin, value, margin, syntax::margin);
    if (name == u"HorizontalAlignment")
        return set(e.horizontal, value, values::horizontalAlignment, syntax::horizontal);
    if (name == u"VerticalAlignment")
        return set(e.vertical, value, values::verticalAlignment, syntax::vertical);
    if (name == u"Visibility")
        return set(e.visibility, value, values::visibility, syntax::visibility);
    if (name == u"FlowDirection")
        return set(e.flow, value, values::flowDirection, syntax::flow);
    if (name == u"Opacity")
        return set(e.opacity, value, values::opacity, syntax::opacity);
    if (name == u"Grid.Row")
        return set(e.row, value, values::index, syntax::index);
    if (name == u"Grid.Column")
        return set(e.column, value, values::index, syntax::index);
    if (name == u"Grid.RowSpan")
        return set(e.rowSpan, value, values::span, syntax::span);
    if (name == u"Grid.ColumnSpan")
        return set(e.columnSpan, value, values::span, syntax::span);
    if (name == u"DockPanel.Dock")
        return set(e.dock, value, values::dock, syntax::dock);
    if (name == u"Canvas.Left")
        return set(e.canvasLeft, value, values::offset, syntax::offset);
    if (name == u"Canvas.Top")
        return set(e.canvasTop, value, values::offset, syntax::offset);
    if (name == u"Canvas.Right")
        return set(e.canvasRight, value, values::offset, syntax::offset);
    if (name == u"Canvas.Bottom")
        return set(e.canvasBottom, value, values::offset, syntax::offset);
    return kUnknown;
}

// Rectangle and Ellipse: Fill and Stroke are their Background and BorderBrush.
Outcome applyToShape(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Fill")
        return setColor(document, e.background, value);
    if (name == u"Stroke")
        return setColor(document, e.borderBrush, value);
    if (name == u"StrokeThickness") {
        // A negative thickness draws as its magnitude, as the platform's shapes do.
        const auto t = values::signedLength(value);
        if (!t)
            return unreadable(syntax::signedLength);
        e.strokeThickness = std::abs(*t);
        return kApplied;
    }
    if (name == u"Stretch")
        return set(e.stretch, value, values::stretch, syntax::stretch);
    if (e.kind == ElementKind::Rectangle && name == u"RadiusX")
        return set(e.radiusX, value, length, syntax::length);
    if (e.kind == ElementKind::Rectangle && name == u"RadiusY")
        return set(e.radiusY, value, length, syntax::length);
    return kUnknown;
}

Outcome applyToBorder(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Padding")
        return set(e.padding, value, thickness, syntax::thickness);
    if (name == u"BorderThickness")
        return set(e.border, value, thickness, syntax::thickness);
    if (name == u"CornerRadius")
        return set(e.corners, value, values::cornerRadius, syntax::corners);
    if (name == u"BorderBrush")
        return setColor(document, e.borderBrush, value);
    return kUnknown;
}

// Text is read by the parser, as the first of the block's runs.
Outcome applyToTextBlock(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Padding")
        return set(e.padding, value, thickness, syntax::thickness);
    if (name == u"TextAlignment")
        return set(e.textAlignment, value, values::textAlignment, syntax::textAlignment);
    if (name == u"TextWrapping")
        return set(e.wrapping, value, values::wrapping, syntax::wrapping);
    if (name == u"TextTrimming")
        return set(e.trimming, value, values::trimming, syntax::trimming);
    if (name == u"Text")
        return kApplied;
    return applyToTextStyle(document, e.text, name, value);
}

Outcome applyToWrapPanel(Element& e, QStringView name, QStringView value) {
    if (name == u"Orientation")
        return set(e.orientation, value, values::orientation, syntax::orientation);
    if (name == u"ItemWidth")
        return set(e.itemWidth, value, lengthOrAuto, syntax::lengthOrAuto);
    if (name == u"ItemHeight")
        return set(e.itemHeight, value, lengthOrAuto, syntax::lengthOrAuto);
    return kUnknown;
}

// A Source is kept as written, once per document however many Images show it; past kMaxSources
// distinct ones it is refused, as a source the host does not allow would be.
Outcome applyToImage(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Stretch")
        return set(e.stretch, value, values::stretch, syntax::stretch);
    if (name == u"StretchDirection")
        return set(e.stretchDirection, value, values::stretchDirection, syntax::stretchDirection);
    if (name != u"Source")
        return kUnknown;
    const QStringView source = values::trimmed(value);
    if (source.isEmpty())
        return unreadable(syntax::source);
    const auto known = std::find(document.sources.begin(), document.sources.end(), source);
    if (known != document.sources.end()) {
        e.source = int(known - document.sources.begin());
        return kApplied;
    }
    if (int(document.sources.size()) >= kMaxSources)
        return {Outcome::Unreadable, "at most 64 different pictures in one caption, and this one "
                                     "is past them"};
    e.source = int(document.sources.size());
    document.sources.push_back(source.toString());
    return kApplied;
}

} // namespace

Outcome applyToElement(Document& document, int index, QStringView name, QStringView value) {
    Element& e = document.elements[size_t(index)];
    if (const Outcome layout = applyToLayout(e, name, value); layout.kind != Outcome::UnknownName)
        return layout;
    const bool shape = e.kind == ElementKind::Rectangle || e.kind == ElementKind::Ellipse;
    // A shape's is its Fill; an Image has none.
    if (name == u"Background" && !shape && e.kind != ElementKind::Image)
        return setColor(document, e.background, value);
    switch (e.kind) {
    case ElementKind::Rectangle:
    case ElementKind::Ellipse:
        return applyToShape(document, e, name, value);
    case ElementKind::Border:
        return applyToBorder(document, e, name, value);
    case ElementKind::StackPanel:
        if (name == u"Orientation")
            return set(e.orientation, value, values::orientation, syntax::orientation);
        return kUnknown;
    case ElementKind::TextBlock:
        return applyToTextBlock(document, e, name, value);
    case ElementKind::WrapPanel:
        return applyToWrapPanel(e, name, value);
    case ElementKind::DockPanel:
        if (name == u"LastChildFill")
            return set(e.lastChildFill, value, values::boolean, syntax::boolean);
        return kUnknown;
    case ElementKind::Image:
        return applyToImage(document, e, name, value);
    case ElementKind::Grid:
    case ElementKind::Canvas:
        return kUnknown;
    }
    return kUnknown;
}

Outcome applyToTextStyle(Document& document, TextStyle& style, QStringView name,
                         QStringView value) {
    if (name == u"FontWeight")
        return set(style.weight, value, values::fontWeight, syntax::weight);
    if (name == u"FontStyle") {
        const auto fontStyle = values::fontStyle(value);
        if (!fontStyle)
            return unreadable(syntax::fontStyle);
        style.style = qint8(*fontStyle);
        return kApplied;
    }
    if (name == u"FontSize")
        return set(style.size, value, values::fontSize, syntax::fontSize);
    if (name == u"FontFamily") {
        auto families = values::fontFamily(value);
        if (!families)
            return unreadable(syntax::family);
        style.family = int(document.families.size());
        document.families.push_back(std::move(*families));
        return kApplied;
    }
    if (name == u"TextDecorations")
        return set(style.decorations, value, values::decorations, syntax::decorations);
    if (name == u"Foreground")
        return setColor(document, style.foreground, value);
    return kUnknown;
}

Outcome applyToBrush(Brush& brush, QStringView name, QStringView value) {
    if (name == u"Opacity")
        return set(brush.opacity, value, values::opacity, syntax::opacity);
    if (brush.kind == Brush::Kind::Solid) {
        if (name == u"Color")
            return set(brush.color, value, values::color, syntax::color);
        return kUnknown;
    }
    if (name == u"MappingMode")
        return set(brush.absolute, value, values::absoluteMapping, syntax::mapping);
    if (brush.kind == Brush::Kind::LinearGradient) {
        if (name == u"StartPoint")
            return set(brush.start, value, point, syntax::point);
        if (name == u"EndPoint")
            return set(brush.end, value, point, syntax::point);
        return kUnknown;
    }
    if (name == u"Center")
        return set(brush.center, value, point, syntax::point);
    if (name == u"GradientOrigin")
        return set(brush.origin, value, point, syntax::point);
    if (name == u"RadiusX" || name == u"RadiusY") {
        const auto radius = finite(value);
        if (!radius)
            return unreadable(syntax::number);
        (name == u"RadiusX" ? brush.radiusX : brush.radiusY) = std::clamp(*radius, 0.0, kMaxLength);
        return kApplied;
    }
    return kUnknown;
}

Outcome applyToStop(GradientStop& stop, QStringView name, QStringView value) {
    if (name == u"Color")
        return set(stop.color, value, values::color, syntax::color);
    if (name == u"Offset")
        return set(stop.offset, value, finite, syntax::number);
    return kUnknown;
}

Outcome applyToDefinition(Definition& definition, bool row, QStringView name, QStringView value) {
    if (name == (row ? u"Height" : u"Width")) {
        const auto size = values::gridLength(value);
        if (!size)
            return unreadable(syntax::gridLength);
        definition.unit = size->unit;
        definition.value = size->value;
        return kApplied;
    }
    if (name == (row ? u"MinHeight" : u"MinWidth"))
        return set(definition.min, value, length, syntax::length);
    if (name == (row ? u"MaxHeight" : u"MaxWidth"))
        return set(definition.max, value, length, syntax::length);
    return kUnknown;
}

void finishGradient(Brush& brush, std::vector<GradientStop>& stops) {
    brush.stops.clear();
    if (stops.empty())
        return;
    const auto byOffset = [](const GradientStop& a, const GradientStop& b) {
        return a.offset < b.offset;
    };
    // Stops are nearly always written in order; sorting them anyway costs an allocation.
    if (!std::is_sorted(stops.begin(), stops.end(), byOffset))
        std::stable_sort(stops.begin(), stops.end(), byOffset);
    const bool below = stops.front().offset < 0;
    const bool above = stops.back().offset > 1;
    if (below)
        brush.stops.append({0.0, withOpacity(colorAt(stops, 0), brush.opacity)});
    for (const GradientStop& stop : stops) {
        if (stop.offset >= 0 && stop.offset <= 1)
            brush.stops.append({stop.offset, withOpacity(stop.color, brush.opacity)});
    }
    if (above)
        brush.stops.append({1.0, withOpacity(colorAt(stops, 1), brush.opacity)});
}

void finishSolid(Brush& brush) {
    brush.color = withOpacity(brush.color, brush.opacity);
}

} // namespace markup::properties
