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

    // Malformed: where in the input the reader stopped, and why, as a message with "%1" for
    // errorName() where it names one. Only the reason's text is kept, so that a reader that no
    // one asks why costs nothing more.
    qsizetype errorAt() const { return errorAt_; }
    const char* error() const { return error_; }
    QStringView errorName() const { return errorName_; }
    // Where a view the reader gave out lies in the input.
    qsizetype offsetOf(QStringView view) const { return view.data() - in_.data(); }
    qsizetype position() const { return pos_; }

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
    // The name given twice in the tag just read, or null.
    QStringView duplicateName();
    Token malformed(qsizetype at, const char* why, QStringView name = {}) {
        errorAt_ = at;
        error_ = why;
        errorName_ = name;
        return Token::Malformed;
    }

    QStringView in_;
    qsizetype pos_ = 0;
    QStringView name_;
    QStringView text_;
    bool selfClosing_ = false;
    bool characterData_ = false;
    std::vector<Attribute> attributes_;
    std::vector<QStringView> names_; // scratch for finding a name given twice
    QString scratch_;
    qsizetype errorAt_ = 0;
    const char* error_ = "";
    QStringView errorName_;
};

} // namespace markup
