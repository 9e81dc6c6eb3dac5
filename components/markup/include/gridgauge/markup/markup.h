#pragma once

/// @file
/// The markup engine: a caption written in a small layout vocabulary (Border, StackPanel, Grid,
/// WrapPanel, DockPanel, Canvas, TextBlock, Image, Rectangle, Ellipse, brushes) is parsed once into
/// a document, laid out in a box and painted. It knows nothing of where the box comes from, and no
/// call here throws: a text that is not markup gives no document, a negative length counts as 0,
/// and a value it cannot read leaves its property at its default. @ref markup-vocabulary lists
/// every element, attribute and value a caption may use.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSharedDataPointer>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include "gridgauge/markup/markup_export.h"

#include <memory>

class QPainter;

/// Parsing, laying out and painting markup captions.
namespace markup {

/// A parsed caption, opaque outside the engine: made by parse(), read by the calls below.
class Document;
struct LayoutResult;

/// Shared ownership of a parsed caption. A document never changes once parsed, so one may be
/// shared by many owners and threads.
using DocumentPtr = std::shared_ptr<const Document>;

/// Where the pictures of a caption's Image elements come from. A caption names its pictures
/// (Source='qrc:/icons/ok.png'), but only its host decides what a name may read: the engine
/// never opens a file or a URL by itself. With no resolver of the host's (see HostStyle) the
/// built-in policy serves, resolveBuiltIn(): Qt resources and icon theme names only. A host that
/// lets captions show files or anything else derives from this class, answers the names it
/// allows in resolve(), and may hand the rest to resolveBuiltIn().
///
/// A resolver keeps the pictures it gave, by source and size, so that a cell painted again, or
/// another cell showing the same picture, reads nothing again; clear() forgets them. It must
/// outlive every paint and layout that uses it. image() and clear() may be called from any
/// thread; resolve() is called from the thread that lays out or paints.
class GRIDGAUGE_MARKUP_EXPORT ImageResolver {
public:
    /// A resolver that keeps nothing yet.
    ImageResolver();
    virtual ~ImageResolver();
    ///@{
    /// Not copyable: the pictures it keeps are its own.
    ImageResolver(const ImageResolver&) = delete;
    ImageResolver& operator=(const ImageResolver&) = delete;
    ///@}

    /// The picture that source (an Image's Source, as written) names, for drawing at size device
    /// pixels, or a null image to refuse the source: the Image then draws nothing and takes the
    /// size its Width and Height give it. An empty size asks for the picture at its own size,
    /// which the Image is measured by (its QImage::deviceIndependentSize()). A picture of another
    /// size than asked for is scaled to it. Called once for each source and size while the
    /// picture is kept.
    virtual QImage resolve(const QString& source, const QSize& size) = 0;

    /// The picture for source at exactly size device pixels, or at its own size for an empty
    /// size: kept from an earlier call, else resolve()d, scaled and kept. Null when refused.
    QImage image(const QString& source, const QSize& size);
    /// Forgets every picture kept: the next paint resolves its sources again (after the icon
    /// theme changed, say).
    void clear();

    /// The built-in policy, which reads nothing outside the process and the icon theme: a Qt
    /// resource, written ":/path" or "qrc:/path" (also "qrc:///path"), read with QImageReader
    /// (at size, for a format that scales, such as SVG); or "icon:name", an icon of the desktop's
    /// theme through QIcon::fromTheme(), whose own size is 16 by 16 and whose name holds only
    /// letters, digits, '-', '_', '.' and '+' and does not start with a '.'. Icons are read on
    /// the GUI thread only. Everything else is refused: file paths, "file:" and network URLs.
    static QImage resolveBuiltIn(const QString& source, const QSize& size);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class HostStylePrivate;

/// What the host of a caption gives each paint of it: the colours that text takes when the
/// caption leaves them open, and where pictures come from. A default-constructed style is
/// today's look (black text) with the built-in pictures, so that a caller that gives none paints
/// exactly as before; a caption's own Foreground always wins over it. Implicitly shared: copies
/// are cheap, and a style may be made once and given to every paint.
class GRIDGAUGE_MARKUP_EXPORT HostStyle {
public:
    /// Text without a Foreground in black.
    HostStyle();
    ~HostStyle();
    ///@{
    /// Copies share their colours until one of them is changed.
    HostStyle(const HostStyle& other);
    HostStyle(HostStyle&& other) noexcept;
    HostStyle& operator=(const HostStyle& other);
    HostStyle& operator=(HostStyle&& other) noexcept;
    ///@}
    /// Exchanges the two styles' contents.
    void swap(HostStyle& other) noexcept { d.swap(other.d); }

    /// The colour of text whose caption gives it no Foreground (a TextBlock, a Run or any inline
    /// without one, nor an enclosing one with one): what an item view gives its text, such as the
    /// palette's QPalette::Text, or QPalette::HighlightedText on a selected row. Invalid (the
    /// default) paints it black.
    QColor textColor() const;
    /// Sets textColor(); an invalid colour restores black.
    void setTextColor(const QColor& color);

    /// The colour of a Hyperlink's text that its caption gives no Foreground (neither the
    /// Hyperlink nor an inline within it): the platform's link colour. Invalid (the default) is
    /// the application palette's, QPalette().color(QPalette::Link), at the time of the paint.
    QColor linkColor() const;
    /// Sets linkColor(); an invalid colour restores the palette's.
    void setLinkColor(const QColor& color);

    /// The resolver of the pictures that Image elements name; null (the default) is the
    /// built-in policy, ImageResolver::resolveBuiltIn(). Not owned: it must outlive the paints
    /// and layouts given this style.
    ImageResolver* imageResolver() const;
    /// Sets imageResolver(); null restores the built-in policy.
    void setImageResolver(ImageResolver* resolver);

    /// Whether both styles paint alike: the same colours and the same resolver.
    bool operator==(const HostStyle& other) const;
    /// Whether the styles differ in anything they give a paint.
    bool operator!=(const HostStyle& other) const { return !(*this == other); }

private:
    QSharedDataPointer<HostStylePrivate> d;
};

/// Parses text. Returns the document it describes, or null when text is not markup (then the
/// caller shows it as plain text). Safe to call from any thread.
GRIDGAUGE_MARKUP_EXPORT DocumentPtr parse(QStringView text);

class DiagnosticPrivate;

/// One thing parse() has to say of a text, and where in it: why the text is not markup, or an
/// attribute that changed nothing. Implicitly shared.
class GRIDGAUGE_MARKUP_EXPORT Diagnostic {
public:
    /// Nothing to say: isNull().
    Diagnostic();
    /// message at line and column (both from 1).
    Diagnostic(int line, int column, const QString& message);
    ~Diagnostic();
    ///@{
    /// Copies share their text.
    Diagnostic(const Diagnostic& other);
    Diagnostic(Diagnostic&& other) noexcept;
    Diagnostic& operator=(const Diagnostic& other);
    Diagnostic& operator=(Diagnostic&& other) noexcept;
    ///@}

    /// Whether there is nothing to say.
    bool isNull() const;
    /// The line, from 1 (0 when null). A line ends at a line feed, a carriage return, or both.
    int line() const;
    /// The column, from 1 (0 when null), counting characters: a character outside the Basic
    /// Multilingual Plane is one column.
    int column() const;
    /// What is wrong, in a sentence for a developer, naming the element, attribute or value.
    QString message() const;
    /// "line:column: message", or an empty string when null.
    QString toString() const;

    /// Whether both say the same at the same place.
    bool operator==(const Diagnostic& other) const;
    /// Whether they differ in place or message.
    bool operator!=(const Diagnostic& other) const { return !(*this == other); }

private:
    QSharedDataPointer<DiagnosticPrivate> d;
};

class ParseReportPrivate;
class ParseReport;

/// As parse(text), and when report is not null it is replaced by what the parse found wrong: why
/// text is not markup (the first thing that made it so), and every attribute the document
/// ignores, either because its element has no such attribute or because its value cannot be read
/// (the property then keeps its default, as it does without a report). Safe to call from any
/// thread with a report of its own; slower than parse(text), for tools and debugging.
GRIDGAUGE_MARKUP_EXPORT DocumentPtr parse(QStringView text, ParseReport* report);

/// What a parse found wrong with a text, filled by parse(QStringView, ParseReport*).
/// Implicitly shared.
class GRIDGAUGE_MARKUP_EXPORT ParseReport {
public:
    /// A report of nothing: no error, nothing ignored.
    ParseReport();
    ~ParseReport();
    ///@{
    /// Copies share their contents.
    ParseReport(const ParseReport& other);
    ParseReport(ParseReport&& other) noexcept;
    ParseReport& operator=(const ParseReport& other);
    ParseReport& operator=(ParseReport&& other) noexcept;
    ///@}

    /// Why the text is not markup, where the parse gave up; null when it is markup.
    Diagnostic error() const;
    /// The attributes the document ignores, in the order written: an unknown name at the name,
    /// an unreadable value at the value. At most the first 100; ignoredCount() counts them all.
    QList<Diagnostic> ignored() const;
    /// How many attributes were ignored, listed in ignored() or not.
    int ignoredCount() const;

private:
    friend DocumentPtr parse(QStringView text, ParseReport* report);
    QSharedDataPointer<ParseReportPrivate> d;
};

/// The document's text in reading order ("75%"), a line break as a newline: what accessibility
/// and tooltips say for it.
GRIDGAUGE_MARKUP_EXPORT QString textContent(const Document& document);

/// The size the document's root asks for with unbounded room, in device-independent pixels,
/// text measured by the font engine at the screen's logical resolution with font as the base
/// font. Finite and never negative: what a grid column or an item delegate sizes itself to.
/// The pictures of Image elements are measured at their own sizes, as host's resolver gives them.
GRIDGAUGE_MARKUP_EXPORT QSizeF desiredSize(const Document& document, const QFont& font,
                                           const HostStyle& host = HostStyle());

/// Lays the document out in box (device-independent pixels) with font as the base font and
/// paints it clipped to box; an empty, negative or non-finite box paints nothing. The painter's
/// state is left as it was. Lays out afresh on every call: an owner that paints the same
/// document again and again keeps a Drawing instead.
///
/// direction is the host's, the FlowDirection of the root unless the root sets its own; every
/// element inherits its parent's unless it sets FlowDirection (LeftToRight or RightToLeft).
/// Right to left shows the layout mirrored: a horizontal StackPanel stacks from the
/// right, Grid columns run from the right, HorizontalAlignment Left and Right trade places, text
/// lines start at the right, a border's left thickness and corners go to its right, and brushes
/// run their horizontal axis from the right. Text itself is not mirrored, and a line keeps the
/// order of its words.
///
/// host gives what the caption leaves to its host (see HostStyle); the default paints as a
/// caption always painted.
GRIDGAUGE_MARKUP_EXPORT void render(QPainter& painter, const Document& document, const QRectF& box,
                                    const QFont& font,
                                    Qt::LayoutDirection direction = Qt::LeftToRight,
                                    const HostStyle& host = HostStyle());

class LinkPrivate;

/// A Hyperlink of a drawn caption: what it points at, what it shows, and where it showed. The
/// engine never follows a link: its host decides what to do with the target. A value taken from
/// a Drawing, which does not change when the drawing is painted again. Implicitly shared.
class GRIDGAUGE_MARKUP_EXPORT Link {
public:
    /// No link: an empty target and text, and no rectangles.
    Link();
    ~Link();
    ///@{
    /// Copies share their contents.
    Link(const Link& other);
    Link(Link&& other) noexcept;
    Link& operator=(const Link& other);
    Link& operator=(Link&& other) noexcept;
    ///@}

    /// The Hyperlink's NavigateUri as written (its references decoded), empty without one.
    QString target() const;
    /// The text it shows, a line break as a newline.
    QString text() const;
    /// Where it showed at the drawing's last paint, in the coordinates of the box painted: one
    /// rectangle for each piece of it on a line (a link wrapped over two lines has two), as high
    /// as its line, mirrored right to left as the caption was. Only what showed: a link cut off,
    /// hidden or painted in no box has fewer rectangles, or none.
    QList<QRectF> rects() const;
    /// Whether point lies in one of rects().
    bool contains(const QPointF& point) const;

    /// Whether both have the same target, text and rectangles.
    bool operator==(const Link& other) const;
    /// Whether they differ in anything.
    bool operator!=(const Link& other) const { return !(*this == other); }

private:
    friend class Drawing;
    QSharedDataPointer<LinkPrivate> d;
};

/// A document together with its last layout, kept by whoever paints it repeatedly (a grid
/// cell): painting again in a box of the same size, with the same font and on a device of the
/// same resolution, lays out nothing. A Drawing belongs to its owner and is not shared between
/// threads; the document it holds may be.
class GRIDGAUGE_MARKUP_EXPORT Drawing {
public:
    /// A drawing of nothing: paint() does nothing. Out of line, as its layout's type is the
    /// engine's own.
    Drawing();
    /// A drawing of document, which it shares; null draws nothing.
    explicit Drawing(DocumentPtr document);
    ~Drawing();
    ///@{
    /// Movable, with the layout it holds; a drawing moved from draws nothing.
    Drawing(Drawing&&) noexcept;
    Drawing& operator=(Drawing&&) noexcept;
    ///@}

    /// The document drawn, as given.
    const DocumentPtr& document() const { return document_; }
    /// As render(), reusing the last layout when box has the size, and font the value, that the
    /// last paint had, on a device of the same resolution; otherwise lays out and keeps that. A
    /// layout serves either direction, and any host's colours.
    void paint(QPainter& painter, const QRectF& box, const QFont& font,
               Qt::LayoutDirection direction = Qt::LeftToRight,
               const HostStyle& host = HostStyle());
    /// How many times this drawing has laid its document out: lets an owner see that a repaint
    /// reused the layout.
    quint64 layoutCount() const { return layouts_; }

    /// The document's Hyperlinks in the order written, each with where it showed at the last
    /// paint (Link::rects(), in the coordinates of the box painted then); before any paint,
    /// without rectangles. What a host needs to make links clickable, and to tell assistive
    /// technology of them.
    QList<Link> links() const;
    /// The index in links() of the Hyperlink shown at point, in the coordinates of the box last
    /// painted (where a mouse event lands when the box was given in the widget's coordinates),
    /// or -1 when there is none, or nothing was painted yet.
    int linkAt(const QPointF& point) const;

private:
    DocumentPtr document_;
    std::unique_ptr<const LayoutResult> layout_;
    quint64 layouts_ = 0;
};

/// The parsed documents of texts seen before, keyed by text, the least recently used forgotten
/// first once capacity texts are held. Texts that are not markup are remembered too, so that a
/// plain caption is not parsed again either. Not shared between threads; the documents it gives
/// out may be.
class GRIDGAUGE_MARKUP_EXPORT DocumentCache {
public:
    /// A cache of at most capacity texts (at least one).
    explicit DocumentCache(int capacity = 512);
    ~DocumentCache();
    ///@{
    /// Not copyable: texts are parsed once per cache.
    DocumentCache(const DocumentCache&) = delete;
    DocumentCache& operator=(const DocumentCache&) = delete;
    ///@}

    /// The document for text, shared with the cache, or null when text is not markup; parses
    /// only when text is not held.
    DocumentPtr find(const QString& text);
    /// Forgets every text. Documents given out stay valid with their other owners.
    void clear();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace markup
