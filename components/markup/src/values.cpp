#include "values.h"

#include "xml_reader.h"

#include <QFont>

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace markup::values {

QStringView trimmed(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && isXmlBlank(text[begin]))
        ++begin;
    while (end > begin && isXmlBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

namespace {

bool is(QStringView text, QStringView word) {
    return text.compare(word, Qt::CaseInsensitive) == 0;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Length of the number at the start of text (0 when there is none), in the invariant grammar:
// locale-aware readers would take "1,5" as one and a half, but here a comma separates numbers.
qsizetype numberPrefix(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// text holds exactly one number in the grammar above.
double convert(QStringView text) {
    std::array<char, 64> small;
    std::string large;
    char* buffer = small.data();
    if (text.size() > qsizetype(small.size())) {
        large.resize(size_t(text.size()));
        buffer = large.data();
    }
    qsizetype n = 0;
    for (QChar c : text) {
        if (c != u'+') // from_chars takes no plus sign, neither before the number nor after an 'e'
            buffer[n++] = char(c.unicode());
    }
    double value = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + n, value);
    if (error == std::errc::result_out_of_range) {
        // from_chars gives no value then; an infinity stands for both overflow and underflow,
        // since every caller treats a non-finite number like a zero or an unreadable one.
        return buffer[0] == '-' ? -kInfinity : kInfinity;
    }
    return error == std::errc() ? value : kInfinity;
}

double sanitized(double value) {
    if (!std::isfinite(value) || value < 0)
        return 0;
    return std::min(value, kMaxLength);
}

// The length at the start of text in pixels, or nothing when the unit is unknown.
std::optional<double> pixels(QStringView text) {
    text = trimmed(text);
    const qsizetype n = numberPrefix(text);
    if (n == 0)
        return std::nullopt;
    const QStringView unit = trimmed(text.sliced(n));
    double scale = 1;
    if (unit.isEmpty() || is(unit, u"px"))
        scale = 1;
    else if (is(unit, u"in"))
        scale = 96;
    else if (is(unit, u"cm"))
        scale = 96 / 2.54;
    else if (is(unit, u"pt"))
        scale = 96.0 / 72;
    else
        return std::nullopt;
    return convert(text.first(n)) * scale;
}

// One of names (compared without case, as the vocabulary reads enumerations), as the matching
// value.
template <typename T, size_t N>
std::optional<T> oneOf(QStringView text, const std::pair<QStringView, T> (&names)[N]) {
    text = trimmed(text);
    for (const auto& [name, value] : names) {
        if (is(text, name))
            return value;
    }
    return std::nullopt;
}

// Splits at commas and/or blanks; an empty part (",," or a trailing comma) is kept so that the
// reader refuses it. Returns the number of parts, Max + 1 meaning more than Max.
template <size_t Max> size_t split(QStringView text, std::array<QStringView, Max>& parts) {
    size_t count = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isXmlBlank(text[i]))
            ++i;
    };
    auto add = [&](QStringView part) {
        if (count == Max)
            return false;
        parts[count++] = part;
        return true;
    };
    skipBlanks();
    while (i < n) {
        const qsizetype begin = i;
        while (i < n && !isXmlBlank(text[i]) && text[i] != u',')
            ++i;
        if (!add(text.sliced(begin, i - begin)))
            return Max + 1;
        skipBlanks();
        if (i < n && text[i] == u',') {
            ++i;
            skipBlanks();
            if (i == n && !add({}))
                return Max + 1;
        }
    }
    return count;
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

std::optional<double> number(QStringView text) {
    text = trimmed(text);
    const qsizetype n = numberPrefix(text);
    if (n == 0 || n != text.size())
        return std::nullopt;
    return convert(text);
}

std::optional<double> length(QStringView text, bool allowAuto) {
    if (allowAuto && is(trimmed(text), u"Auto"))
        return kAuto;
    const auto value = pixels(text);
    if (!value)
        return std::nullopt;
    return sanitized(*value);
}

std::optional<double> signedLength(QStringView text) {
    const auto value = pixels(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return std::clamp(*value, -kMaxLength, kMaxLength);
}

std::optional<double> offset(QStringView text) {
    if (is(trimmed(text), u"Auto"))
        return kAuto;
    return signedLength(text);
}

std::optional<Thickness> thickness(QStringView text, bool allowNegative) {
    std::array<QStringView, 4> parts;
    std::array<double, 4> v{};
    const size_t count = split(text, parts);
    if (count != 1 && count != 2 && count != 4)
        return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        const auto part = allowNegative ? signedLength(parts[i]) : length(parts[i]);
        if (!part)
            return std::nullopt;
        v[i] = *part;
    }
    if (count == 1)
        return Thickness{v[0], v[0], v[0], v[0]};
    if (count == 2)
        return Thickness{v[0], v[1], v[0], v[1]};
    return Thickness{v[0], v[1], v[2], v[3]};
}

std::optional<CornerRadius> cornerRadius(QStringView text) {
    std::array<QStringView, 4> parts;
    std::array<double, 4> v{};
    const size_t count = split(text, parts);
    if (count != 1 && count != 4)
        return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        const auto part = length(parts[i]);
        if (!part)
            return std::nullopt;
        v[i] = *part;
    }
    if (count == 1)
        return CornerRadius{v[0], v[0], v[0], v[0]};
    return CornerRadius{v[0], v[1], v[2], v[3]};
}

std::optional<QPointF> point(QStringView text) {
    std::array<QStringView, 2> parts;
    if (split(text, parts) != 2)
        return std::nullopt;
    const auto x = number(parts[0]);
    const auto y = number(parts[1]);
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
        return std::nullopt;
    return QPointF(std::clamp(*x, -kMaxLength, kMaxLength),
                   std::clamp(*y, -kMaxLength, kMaxLength));
}

// Hex forms are read here rather than by QColor, which has no #ARGB form and accepts 9- and
// 12-digit forms that this vocabulary does not have.
std::optional<QColor> color(QStringView text) {
    text = trimmed(text);
    if (text.isEmpty())
        return std::nullopt;
    if (text[0] != u'#') {
        const QColor named = QColor::fromString(text);
        if (!named.isValid())
            return std::nullopt;
        return named;
    }
    const QStringView hex = text.sliced(1);
    std::array<int, 8> d{};
    if (hex.size() != 3 && hex.size() != 4 && hex.size() != 6 && hex.size() != 8)
        return std::nullopt;
    for (qsizetype i = 0; i < hex.size(); ++i) {
        d[size_t(i)] = hexDigit(hex[i]);
        if (d[size_t(i)] < 0)
            return std::nullopt;
    }
    switch (hex.size()) {
    case 3:
        return QColor(d[0] * 17, d[1] * 17, d[2] * 17);
    case 4:
        return QColor(d[1] * 17, d[2] * 17, d[3] * 17, d[0] * 17);
    case 6:
        return QColor(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
    default:
        return QColor(d[2] * 16 + d[3], d[4] * 16 + d[5], d[6] * 16 + d[7], d[0] * 16 + d[1]);
    }
}

std::optional<Align> horizontalAlignment(QStringView text) {
    static constexpr std::pair<QStringView, Align> names[] = {
        {u"Left", Align::Start},
        {u"Center", Align::Center},
        {u"Right", Align::End},
        {u"Stretch", Align::Stretch},
    };
    return oneOf(text, names);
}

std::optional<Align> verticalAlignment(QStringView text) {
    static constexpr std::pair<QStringView, Align> names[] = {
        {u"Top", Align::Start},
        {u"Center", Align::Center},
        {u"Bottom", Align::End},
        {u"Stretch", Align::Stretch},
    };
    return oneOf(text, names);
}

std::optional<Align> textAlignment(QStringView text) {
    static constexpr std::pair<QStringView, Align> names[] = {
        {u"Left", Align::Start},
        {u"Justify", Align::Start},
        {u"Center", Align::Center},
        {u"Right", Align::End},
    };
    return oneOf(text, names);
}

std::optional<Orientation> orientation(QStringView text) {
    static constexpr std::pair<QStringView, Orientation> names[] = {
        {u"Vertical", Orientation::Vertical},
        {u"Horizontal", Orientation::Horizontal},
    };
    return oneOf(text, names);
}

std::optional<Visibility> visibility(QStringView text) {
    static constexpr std::pair<QStringView, Visibility> names[] = {
        {u"Visible", Visibility::Visible},
        {u"Hidden", Visibility::Hidden},
        {u"Collapsed", Visibility::Collapsed},
    };
    return oneOf(text, names);
}

std::optional<Flow> flowDirection(QStringView text) {
    static constexpr std::pair<QStringView, Flow> names[] = {
        {u"LeftToRight", Flow::LeftToRight},
        {u"RightToLeft", Flow::RightToLeft},
    };
    return oneOf(text, names);
}

std::optional<Stretch> stretch(QStringView text) {
    static constexpr std::pair<QStringView, Stretch> names[] = {
        {u"Fill", Stretch::Fill},
        {u"None", Stretch::None},
        {u"Uniform", Stretch::Uniform},
        {u"UniformToFill", Stretch::UniformToFill},
    };
    return oneOf(text, names);
}

std::optional<StretchDirection> stretchDirection(QStringView text) {
    static constexpr std::pair<QStringView, StretchDirection> names[] = {
        {u"Both", StretchDirection::Both},
        {u"UpOnly", StretchDirection::UpOnly},
        {u"DownOnly", StretchDirection::DownOnly},
    };
    return oneOf(text, names);
}

std::optional<Wrapping> wrapping(QStringView text) {
    static constexpr std::pair<QStringView, Wrapping> names[] = {
        {u"NoWrap", Wrapping::NoWrap},
        {u"Wrap", Wrapping::Wrap},
        {u"WrapWithOverflow", Wrapping::WrapWithOverflow},
    };
    return oneOf(text, names);
}

std::optional<Trimming> trimming(QStringView text) {
    static constexpr std::pair<QStringView, Trimming> names[] = {
        {u"None", Trimming::None},
        {u"CharacterEllipsis", Trimming::CharacterEllipsis},
        {u"WordEllipsis", Trimming::WordEllipsis},
    };
    return oneOf(text, names);
}

std::optional<Dock> dock(QStringView text) {
    static constexpr std::pair<QStringView, Dock> names[] = {
        {u"Left", Dock::Left},
        {u"Top", Dock::Top},
        {u"Right", Dock::Right},
        {u"Bottom", Dock::Bottom},
    };
    return oneOf(text, names);
}

std::optional<bool> boolean(QStringView text) {
    static constexpr std::pair<QStringView, bool> names[] = {
        {u"True", true},
        {u"False", false},
    };
    return oneOf(text, names);
}

std::optional<quint8> decorations(QStringView text) {
    static constexpr std::pair<QStringView, quint8> names[] = {
        {u"Underline", Decoration::Underline},
        {u"Strikethrough", Decoration::Strikethrough},
        {u"OverLine", Decoration::OverLine},
        {u"Baseline", Decoration::Baseline},
    };
    if (is(trimmed(text), u"None"))
        return quint8(0);
    std::array<QStringView, 4> parts;
    const size_t count = split(text, parts);
    if (count == 0 || count > parts.size())
        return std::nullopt;
    quint8 result = 0;
    for (size_t i = 0; i < count; ++i) {
        const auto one = oneOf(parts[i], names);
        if (!one)
            return std::nullopt;
        result |= *one;
    }
    return result;
}

std::optional<bool> absoluteMapping(QStringView text) {
    static constexpr std::pair<QStringView, bool> names[] = {
        {u"Absolute", true},
        {u"RelativeToBoundingBox", false},
    };
    return oneOf(text, names);
}

std::optional<double> opacity(QStringView text) {
    const auto value = number(text);
    if (!value || std::isnan(*value))
        return std::nullopt;
    return std::clamp(*value, 0.0, 1.0);
}

std::optional<int> fontWeight(QStringView text) {
    static constexpr std::pair<QStringView, int> names[] = {
        {u"Thin", 100},     {u"ExtraLight", 200}, {u"UltraLight", 200}, {u"Light", 300},
        {u"Normal", 400},   {u"Regular", 400},    {u"Medium", 500},     {u"SemiBold", 600},
        {u"DemiBold", 600}, {u"Bold", 700},       {u"ExtraBold", 800},  {u"UltraBold", 800},
        {u"Black", 900},    {u"Heavy", 900},      {u"ExtraBlack", 950}, {u"UltraBlack", 950},
    };
    if (const auto named = oneOf(text, names))
        return named;
    if (const auto value = number(text); value && *value >= 1 && *value <= 999)
        return int(std::round(*value));
    return std::nullopt;
}

std::optional<QFont::Style> fontStyle(QStringView text) {
    static constexpr std::pair<QStringView, QFont::Style> names[] = {
        {u"Normal", QFont::StyleNormal},
        {u"Italic", QFont::StyleItalic},
        {u"Oblique", QFont::StyleOblique},
    };
    return oneOf(text, names);
}

std::optional<QStringList> fontFamily(QStringView text) {
    QStringList families;
    for (QStringView part : text.split(u',')) {
        part = trimmed(part);
        if (!part.isEmpty())
            families.append(part.toString());
    }
    if (families.isEmpty())
        return std::nullopt;
    return families;
}

std::optional<double> fontSize(QStringView text) {
    const auto size = length(text);
    if (!size || *size <= 0)
        return std::nullopt;
    // Glyphs grow with the square of the size; nothing that fits a caption needs more than this.
    return std::clamp(*size, 1.0, 512.0);
}

std::optional<int> index(QStringView text) {
    text = trimmed(text);
    if (text.startsWith(u'+'))
        text = text.sliced(1);
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value > 100'000'000 ? 1'000'000'000 : value * 10 + (c.unicode() - u'0');
    }
    return value;
}

std::optional<int> span(QStringView text) {
    const auto value = index(text);
    if (!value || *value < 1)
        return std::nullopt;
    return value;
}

std::optional<Definition> gridLength(QStringView text) {
    text = trimmed(text);
    Definition definition;
    if (is(text, u"Auto")) {
        definition.unit = Definition::Unit::Auto;
        return definition;
    }
    if (text.endsWith(u'*')) {
        definition.unit = Definition::Unit::Star;
        const QStringView weight = text.chopped(1);
        if (trimmed(weight).isEmpty()) {
            definition.value = 1;
            return definition;
        }
        const auto value = number(weight);
        if (!value)
            return std::nullopt;
        definition.value = sanitized(*value);
        return definition;
    }
    const auto size = length(text);
    if (!size)
        return std::nullopt;
    definition.unit = Definition::Unit::Pixel;
    definition.value = *size;
    return definition;
}

} // namespace markup::values
