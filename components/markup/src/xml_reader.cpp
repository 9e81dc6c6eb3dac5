#include "xml_reader.h"

#include <algorithm>

namespace markup {
namespace {

constexpr char32_t kBadReference = char32_t(-1);
constexpr const char* kBadReferenceMessage =
    "'&' begins no reference that XML knows (write '&amp;' for an '&')";

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

void append(QString& out, char32_t c) {
    if (c > 0xFFFF) {
        out.append(QChar::highSurrogate(c));
        out.append(QChar::lowSurrogate(c));
    } else {
        out.append(QChar(char16_t(c)));
    }
}

} // namespace

XmlReader::Token XmlReader::next() {
    for (;;) {
        if (pos_ >= in_.size())
            return Token::End;
        if (in_[pos_] != u'<')
            return text();
        const QStringView rest = in_.sliced(pos_);
        const QChar second = rest.size() > 1 ? rest[1] : QChar();
        if (second == u'/')
            return endTag();
        if (second != u'?' && second != u'!')
            return startTag();
        if (rest.startsWith(u"<![CDATA["))
            return characterData();
        const qsizetype at = pos_;
        if (second == u'?') {
            if (!skipPast(2, u"?>"))
                return malformed(at, "a processing instruction is not closed with '?>'");
        } else if (rest.startsWith(u"<!--")) {
            if (!skipPast(4, u"-->"))
                return malformed(at, "a comment is not closed with '-->'");
        } else {
            return malformed(at, "a declaration ('<!') has no place in a caption");
        }
    }
}

bool XmlReader::skipBlanks() {
    const qsizetype start = pos_;
    while (pos_ < in_.size() && isXmlBlank(in_[pos_]))
        ++pos_;
    return pos_ != start;
}

QStringView XmlReader::readName() {
    const qsizetype start = pos_;
    if (pos_ < in_.size() && isNameStart(in_[pos_])) {
        ++pos_;
        while (pos_ < in_.size() && isNameChar(in_[pos_]))
            ++pos_;
    }
    return in_.sliced(start, pos_ - start);
}

bool XmlReader::skipPast(qsizetype opening, QStringView closing) {
    const qsizetype end = in_.indexOf(closing, pos_ + opening);
    if (end < 0)
        return false;
    pos_ = end + closing.size();
    return true;
}

// At '&': the referenced character, with pos moved past the ';', or kBadReference.
char32_t XmlReader::reference(qsizetype& pos) const {
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
            return kBadReference;
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return kBadReference;
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
    return kBadReference;
}

// raw lies in the input and its references were checked when it was read.
QStringView XmlReader::decode(QStringView raw) {
    scratch_.clear();
    const qsizetype begin = raw.data() - in_.data();
    const qsizetype end = begin + raw.size();
    for (qsizetype i = begin; i < end;) {
        if (in_[i] == u'&')
            append(scratch_, reference(i));
        else
            scratch_.append(in_[i++]);
    }
    return scratch_;
}

QStringView XmlReader::decoded(const Attribute& attribute) {
    return attribute.references ? decode(attribute.value) : attribute.value;
}

QStringView XmlReader::decodedText() {
    if (characterData_ || !text_.contains(u'&'))
        return text_;
    return decode(text_);
}

XmlReader::Token XmlReader::text() {
    const qsizetype start = pos_;
    while (pos_ < in_.size() && in_[pos_] != u'<') {
        if (in_[pos_] != u'&')
            ++pos_;
        else if (reference(pos_) == kBadReference)
            return malformed(pos_, kBadReferenceMessage);
    }
    text_ = in_.sliced(start, pos_ - start);
    characterData_ = false;
    return Token::Text;
}

XmlReader::Token XmlReader::characterData() {
    const qsizetype begin = pos_ + 9;
    if (!skipPast(9, u"]]>"))
        return malformed(pos_, "a CDATA section is not closed with ']]>'");
    text_ = in_.sliced(begin, pos_ - 3 - begin);
    characterData_ = true;
    return Token::Text;
}

XmlReader::Token XmlReader::endTag() {
    const qsizetype at = pos_;
    pos_ += 2;
    name_ = readName();
    skipBlanks();
    if (name_.isEmpty())
        return malformed(at, "an end tag ('</') has no name");
    if (pos_ >= in_.size() || in_[pos_] != u'>')
        return malformed(at, "the end tag of '%1' is not closed with '>'", name_);
    ++pos_;
    return Token::EndTag;
}

XmlReader::Token XmlReader::startTag() {
    const qsizetype at = pos_;
    ++pos_;
    name_ = readName();
    if (name_.isEmpty())
        return malformed(at, "'<' begins no tag: a tag's name follows it (write '&lt;' for a '<' "
                             "in text)");
    attributes_.clear();
    selfClosing_ = false;
    for (;;) {
        skipBlanks();
        if (pos_ >= in_.size())
            return malformed(at, "the tag '%1' is not closed with '>'", name_);
        if (in_[pos_] == u'>') {
            ++pos_;
            break;
        }
        if (in_[pos_] == u'/') {
            if (pos_ + 1 >= in_.size() || in_[pos_ + 1] != u'>')
                return malformed(pos_, "'/' in the tag '%1' is not followed by '>'", name_);
            pos_ += 2;
            selfClosing_ = true;
            break;
        }
        // No blank is required before a name: the closing quote of the last value ends it.
        Attribute a{readName(), {}, false};
        if (a.name.isEmpty())
            return malformed(pos_, "the tag '%1' holds something that is not an attribute", name_);
        skipBlanks();
        if (pos_ >= in_.size() || in_[pos_] != u'=')
            return malformed(pos_, "the attribute '%1' has no '=' and value", a.name);
        ++pos_;
        skipBlanks();
        if (pos_ >= in_.size() || (in_[pos_] != u'\'' && in_[pos_] != u'"'))
            return malformed(pos_, "the value of '%1' is not in quotes", a.name);
        const QChar quote = in_[pos_++];
        const qsizetype begin = pos_;
        while (pos_ < in_.size() && in_[pos_] != quote) {
            if (in_[pos_] == u'<')
                return malformed(pos_, "'<' in the value of '%1' (write '&lt;')", a.name);
            if (in_[pos_] == u'&') {
                if (reference(pos_) == kBadReference)
                    return malformed(pos_, kBadReferenceMessage);
                a.references = true;
            } else {
                ++pos_;
            }
        }
        if (pos_ >= in_.size())
            return malformed(begin - 1, "the value of '%1' is not closed", a.name);
        a.value = in_.sliced(begin, pos_ - begin);
        ++pos_;
        attributes_.push_back(a);
    }
    const QStringView twice = duplicateName();
    if (!twice.isNull())
        return malformed(offsetOf(twice), "the attribute '%1' is given twice", twice);
    return Token::StartTag;
}

QStringView XmlReader::duplicateName() {
    const size_t n = attributes_.size();
    // A tag has a handful of attributes; only a hostile one has enough to be worth sorting.
    if (n <= 8) {
        for (size_t i = 1; i < n; ++i) {
            for (size_t j = 0; j < i; ++j) {
                if (attributes_[i].name == attributes_[j].name)
                    return attributes_[i].name;
            }
        }
        return {};
    }
    names_.clear();
    for (const Attribute& a : attributes_)
        names_.push_back(a.name);
    std::sort(names_.begin(), names_.end());
    const auto twice = std::adjacent_find(names_.begin(), names_.end());
    if (twice == names_.end())
        return {};
    return twice[0].data() > twice[1].data() ? twice[0] : twice[1]; // where it comes again
}

} // namespace markup
