#pragma once

// The XML that captions are written in, read token by token. Written by hand rather than on
// QXmlStreamReader: captions in the wild put attributes with no blank between them
// (BorderThickness='1'BorderBrush='...'), which a conforming XML reader refuses. Everything else
// that is not well-formed is refused here too, a name given twice in one tag included.

#include <QString>
#include <QStringView>

#include <vector>

namespace markup {

// What XML counts as a blank: between names and values, and in text, where a caption collapses
// each run of them to one space.
inline bool isXmlBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

class XmlReader {
public:
    enum class Token : quint8 { StartTag, EndTag, Text, End, Malformed };

    struct Attribute {
        QStringView name;
        QStringView value; // as written, quotes excluded
        bool references;   // value holds references to decode
    };

    explicit XmlReader(QStringView in)
        : in_(in) {}

    // Reads once from start to end and never past the end. Comments and processing instructions
    // are passed over; character data comes as Text.
    Token next();

    // The tag's name, for StartTag and EndTag.
    QStringView name() const { return name_; }
    // StartTag: its attributes, and whether it closed itself ("<Border/>").
    const std::vector<Attribute>& attributes() const { return attributes_; }
    bool selfClosing() const { return selfClosing_; }
    // Text: as written, and whether it is character data (then it holds no references).
    QStringView rawText() const { return text_; }
    bool characterData() const { return characterData_; }
    // The text with its references replaced; valid until the next call.
    QStringView decodedText();
    // An attribute's value with its references replaced; valid until the next call.
    QStringView decoded(const Attribute& attribute);

private:
    bool skipBlanks();
    QStringView readName();
    bool skipPast(qsizetype opening, QStringView closing);
    char32_t reference(qsizetype& pos) const;
    QStringView decode(QStringView raw);
    Token startTag();
    Token endTag();
    Token text();
    Token characterData();
    bool hasDuplicateNames();

    QStringView in_;
    qsizetype pos_ = 0;
    QStringView name_;
    QStringView text_;
    bool selfClosing_ = false;
    bool characterData_ = false;
    std::vector<Attribute> attributes_;
    std::vector<QStringView> names_; // scratch for finding a name given twice
    QString scratch_;
};

} // namespace markup
