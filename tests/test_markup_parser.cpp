// Which texts are markup, what they say, and the cache that keeps them.
#include "gridgauge/markup/markup.h"
#include "layout_boxes.h"
#include "parse_count.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include "markup_samples.h"

namespace {

QString nestedBorders(int depth) {
    return QStringLiteral("<Border>").repeated(depth) + QStringLiteral("</Border>").repeated(depth);
}

} // namespace

class MarkupParserTest : public QObject {
    Q_OBJECT

private slots:
    void acceptsLenientMarkup_data();
    void acceptsLenientMarkup();
    void refusesMalformedText_data();
    void refusesMalformedText();
    void boundsNestingDepth();
    void survivesHugeNumbers_data();
    void survivesHugeNumbers();
    void laterPropertyWins();
    void hostileTextNeverThrows_data();
    void hostileTextNeverThrows();
    void cacheParsesEachTextOnce();
    void cacheForgetsLeastRecentlyUsed();
    void everyRefusalSaysWhy_data();
    void everyRefusalSaysWhy();
    void markupHasNoError_data();
    void markupHasNoError();
    void errorsSayWhereAndWhy_data();
    void errorsSayWhereAndWhy();
    void ignoredAttributesAreListed_data();
    void ignoredAttributesAreListed();
    void aHugeCaptionsReportStaysBounded();
    void aReportIsReplacedByTheNextParse();
};

void MarkupParserTest::acceptsLenientMarkup_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("content");
    QTest::newRow("nested caption") << samples::nested << "75%";
    QTest::newRow("layered caption") << QString(samples::layered) << "75%";
    QTest::newRow("nested caption, 150 %") << samples::nestedWith("138", "18", "150") << "150%";
    QTest::newRow("no blank between attributes") << "<Border Width='1'Height='2'BorderBrush='Red'/>"
                                                 << "";
    QTest::newRow("blanks around equals") << "<Border MinHeight = '16' Width\t=\n'3'/>"
                                          << "";
    QTest::newRow("double quotes") << "<TextBlock Text=\"a 'b'\"/>"
                                   << "a 'b'";
    QTest::newRow("blanks between elements")
        << "\n <StackPanel>\r\n\t<TextBlock>x</TextBlock> </StackPanel> \n"
        << "x";
    QTest::newRow("self-closing with blank") << "<Border />"
                                             << "";
    QTest::newRow("entities in text") << "<TextBlock>&lt;&gt;&amp;&apos;&quot;</TextBlock>"
                                      << "<>&'\"";
    QTest::newRow("character references")
        << "<TextBlock>&#65;&#x42;&#x1F600;</TextBlock>" << QStringLiteral("AB\U0001F600");
    QTest::newRow("entity in attribute") << "<TextBlock Text='a&amp;b&#33;'/>"
                                         << "a&b!";
    QTest::newRow("entity in a run's text") << "<TextBlock><Run Text='a&amp;b&lt;'/></TextBlock>"
                                            << "a&b<";
    QTest::newRow("comments everywhere")
        << "<!-- a --><Border><!-- <b> --><TextBlock>x<!-- c -->y</TextBlock></Border><!---->"
        << "xy";
    QTest::newRow("declaration") << "<?xml version='1.0'?><TextBlock>x</TextBlock>"
                                 << "x";
    QTest::newRow("character data") << "<TextBlock><![CDATA[<5 & >6]]></TextBlock>"
                                    << "<5 & >6";
    QTest::newRow("blanks collapse and trim")
        << "<TextBlock>  a \n\t b<Bold> c </Bold>  <Italic>d</Italic><Run Text=' e '/> </TextBlock>"
        << "a b c d e";
    QTest::newRow("text of two blocks")
        << "<StackPanel><TextBlock>a</TextBlock><TextBlock/><TextBlock>b</TextBlock></StackPanel>"
        << "a b";
    QTest::newRow("unknown attributes")
        << "<Border xmlns='urn:x' x:Name='n' Opacity='0.5' Grid.Row='2'/>"
        << "";
    QTest::newRow("unreadable values")
        << "<Border Width='wide' Height='1e' Margin='1,2,3' Background='#12345' "
           "HorizontalAlignment='Middle' CornerRadius='1 2' BorderThickness='1,,2' "
           "Grid.Column='-1'/>"
        << "";
    QTest::newRow("rows, spans and their limits")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='Auto' MinHeight='2' "
           "MaxHeight='9'/><RowDefinition Height='2*'/></Grid.RowDefinitions><TextBlock "
           "Grid.Row='1' Grid.RowSpan='2' Grid.ColumnSpan='3'>x</TextBlock></Grid>"
        << "x";
    QTest::newRow("inlines and line breaks")
        << "<TextBlock>a<Underline>b</Underline> <LineBreak/> <Run Text='c' "
           "TextDecorations='Strikethrough, OverLine'/><Italic><Bold>d</Bold></Italic></TextBlock>"
        << "ab\ncd";
    QTest::newRow("a foreground as a property of an inline")
        << "<TextBlock><Bold><Bold.Foreground><SolidColorBrush Color='Red'/></Bold.Foreground>x"
           "</Bold></TextBlock>"
        << "x";
    QTest::newRow("shapes and their brushes")
        << "<StackPanel><Rectangle RadiusX='2' RadiusY='3' Stroke='Red' StrokeThickness='2' "
           "Stretch='Uniform' Width='5'><Rectangle.Fill><RadialGradientBrush Center='0.5,0.5' "
           "GradientOrigin='0.2,0.2' RadiusX='0.5' RadiusY='0.4'><GradientStop Color='Red'/>"
           "</RadialGradientBrush></Rectangle.Fill></Rectangle><Ellipse><Ellipse.Stroke>"
           "<SolidColorBrush Color='Blue'/></Ellipse.Stroke></Ellipse></StackPanel>"
        << "";
    QTest::newRow("text style and element attributes")
        << "<TextBlock FontFamily='DejaVu Sans, Sans' FontSize='10.5' FontStyle='Oblique' "
           "FontWeight='ExtraBlack' Opacity='0.5' Visibility='Hidden' TextWrapping='Wrap' "
           "TextTrimming='WordEllipsis'>x</TextBlock>"
        << "x";
    QTest::newRow("absolute gradient")
        << "<Border><Border.BorderBrush><LinearGradientBrush MappingMode='Absolute' "
           "StartPoint='0,0' EndPoint='20,0'><GradientStop Color='Red'/></LinearGradientBrush>"
           "</Border.BorderBrush></Border>"
        << "";
    QTest::newRow("gradient stops as a property")
        << "<Border><Border.Background><LinearGradientBrush><LinearGradientBrush.GradientStops>"
           "<GradientStop Color='Red'/></LinearGradientBrush.GradientStops></LinearGradientBrush>"
           "</Border.Background></Border>"
        << "";
}

void MarkupParserTest::acceptsLenientMarkup() {
    QFETCH(QString, text);
    QFETCH(QString, content);
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    QVERIFY(document);
    QCOMPARE(gridgauge::markup::textContent(*document), content);
}

void MarkupParserTest::refusesMalformedText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << " \n\t";
    QTest::newRow("plain text") << "75%";
    QTest::newRow("lone <") << "<";
    QTest::newRow("empty tag") << "<>";
    QTest::newRow("blank before name") << "< Border/>";
    QTest::newRow("unclosed") << "<Border>";
    QTest::newRow("mismatched") << "<Border></Grid>";
    QTest::newRow("end tag only") << "</Border>";
    QTest::newRow("names are case-sensitive") << "<border/>";
    QTest::newRow("unknown element") << "<Marquee/>";
    QTest::newRow("unknown element inside") << "<Border><Marquee/></Border>";
    QTest::newRow("attribute given twice") << "<Border Background='Blue' Background='Lime'/>";
    QTest::newRow("attribute given twice, among many")
        << "<Border A='1' B='2' C='3' D='4' E='5' F='6' G='7' H='8' I='9' C='3'/>";
    QTest::newRow("text outside a TextBlock") << "<Border>75%</Border>";
    QTest::newRow("text before the root") << "75%<Border/>";
    QTest::newRow("text after the root") << "<Border/>75%";
    QTest::newRow("two roots") << "<Border/><Border/>";
    QTest::newRow("two children of a Border") << "<Border><Border/><Border/></Border>";
    QTest::newRow("truncated start tag") << "<Border Width='1'";
    QTest::newRow("truncated value") << "<Border Width='1/>";
    QTest::newRow("truncated end tag") << "<Border></Border";
    QTest::newRow("truncated caption") << samples::nested.chopped(1);
    QTest::newRow("half a caption") << samples::layered.first(samples::layered.size() / 2);
    QTest::newRow("attribute without value") << "<Border Width/>";
    QTest::newRow("unquoted value") << "<Border Width=1/>";
    QTest::newRow("'<' in a value") << "<Border Width='<'/>";
    QTest::newRow("slash without '>'") << "<Border / >";
    QTest::newRow("truncated entity") << "<TextBlock>&am</TextBlock>";
    QTest::newRow("entity at the end") << "<TextBlock>&amp";
    QTest::newRow("entity without ';'") << "<TextBlock>&amp </TextBlock>";
    QTest::newRow("unknown entity") << "<TextBlock>&nbsp;</TextBlock>";
    QTest::newRow("empty reference") << "<TextBlock>&#;</TextBlock>";
    QTest::newRow("reference to 0") << "<TextBlock>&#0;</TextBlock>";
    QTest::newRow("reference to a surrogate") << "<TextBlock>&#xD800;</TextBlock>";
    QTest::newRow("reference out of range") << "<TextBlock>&#x110000;</TextBlock>";
    QTest::newRow("huge reference") << "<TextBlock>&#99999999999999999999999;</TextBlock>";
    QTest::newRow("truncated entity in a value") << "<Border Tag='&am'/>";
    QTest::newRow("unterminated comment") << "<Border/><!-- ";
    QTest::newRow("unterminated character data") << "<TextBlock><![CDATA[x</TextBlock>";
    QTest::newRow("element in a TextBlock") << "<TextBlock><Border/></TextBlock>";
    QTest::newRow("inline outside a TextBlock") << "<Border><Bold>x</Bold></Border>";
    QTest::newRow("inline as root") << "<Run Text='x'/>";
    QTest::newRow("brush as root") << "<SolidColorBrush Color='Red'/>";
    QTest::newRow("property of another element")
        << "<Border><Grid.Background><SolidColorBrush/></Grid.Background></Border>";
    QTest::newRow("property without a value") << "<Border><Border.Background/></Border>";
    QTest::newRow("property with two values")
        << "<Border><Border.Background><SolidColorBrush/><SolidColorBrush/></Border.Background>"
           "</Border>";
    QTest::newRow("unknown property") << "<Border><Border.Child><Border/></Border.Child></Border>";
    QTest::newRow("stop outside a gradient") << "<Border><GradientStop/></Border>";
    QTest::newRow("column outside its list") << "<Grid><ColumnDefinition/></Grid>";
    QTest::newRow("row in the column list")
        << "<Grid><Grid.ColumnDefinitions><RowDefinition/></Grid.ColumnDefinitions></Grid>";
    QTest::newRow("rows of a Border") << "<Border><Border.RowDefinitions/></Border>";
    QTest::newRow("text in a line break") << "<TextBlock><LineBreak>x</LineBreak></TextBlock>";
    QTest::newRow("inline in a Run") << "<TextBlock><Run><Bold/></Run></TextBlock>";
    QTest::newRow("child of a shape") << "<Rectangle><Border/></Rectangle>";
    QTest::newRow("a shape's Background") << "<Ellipse><Ellipse.Background><SolidColorBrush/>"
                                             "</Ellipse.Background></Ellipse>";
    QTest::newRow("a Border's Fill") << "<Border><Border.Fill><SolidColorBrush/></Border.Fill>"
                                        "</Border>";
}

void MarkupParserTest::refusesMalformedText() {
    QFETCH(QString, text);
    QVERIFY(!gridgauge::markup::parse(text));
}

void MarkupParserTest::boundsNestingDepth() {
    QVERIFY(gridgauge::markup::parse(nestedBorders(256)));
    QVERIFY(!gridgauge::markup::parse(nestedBorders(257)));
    // Refused at the bound, however deep the text goes: no stack grows with it.
    QVERIFY(!gridgauge::markup::parse(QStringLiteral("<Border>").repeated(1'000'000)));
}

void MarkupParserTest::survivesHugeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("width overflowing a double") << samples::nestedWith("1e400", "18", "75");
    QTest::newRow("width of many digits")
        << samples::nestedWith(QString(400, u'9'), QString(400, u'9'), QString(400, u'9'));
    QTest::newRow("height below zero") << samples::nestedWith("69", "-1e300", "75");
    QTest::newRow("huge margins and font")
        << "<Border Margin='1e308,1e308,1e308,1e308' Padding='1e308'><TextBlock FontSize='1e308'>"
           "x</TextBlock></Border>";
    QTest::newRow("huge column and offsets")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='1e300*'/><ColumnDefinition "
           "Width='1e300'/></Grid.ColumnDefinitions><Border Grid.Column='99999999999999'>"
           "<Border.Background><LinearGradientBrush StartPoint='-1e300,0' EndPoint='1e300,1'>"
           "<GradientStop Color='Red' Offset='-1e300'/><GradientStop Color='Blue' Offset='1e300'/>"
           "</LinearGradientBrush></Border.Background></Border></Grid>";
}

void MarkupParserTest::survivesHugeNumbers() {
    QFETCH(QString, text);
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    QVERIFY(document);
    for (const gridgauge::markup::ElementBox& box :
         gridgauge::markup::layoutBoxes(*document, {96, 18}, QFont())) {
        QVERIFY(qIsFinite(box.bounds.x()) && qIsFinite(box.bounds.width()));
        QVERIFY(qIsFinite(box.bounds.y()) && qIsFinite(box.bounds.height()));
    }
    QImage image(96, 18, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    gridgauge::markup::render(painter, *document, QRectF(0, 0, 96, 18), QFont());
}

void MarkupParserTest::laterPropertyWins() {
    auto colourOf = [](const QString& text) {
        const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
        if (!document)
            return QColor();
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        gridgauge::markup::render(painter, *document, QRectF(0, 0, 4, 4), QFont());
        painter.end();
        return image.pixelColor(2, 2);
    };
    const QString property =
        "<Border.Background><SolidColorBrush Color='Red'/></Border.Background>";
    QCOMPARE(colourOf("<Border Background='Blue'>" + property + "</Border>"), QColor(Qt::red));
    QCOMPARE(
        colourOf("<Border>" + property + QString(property).replace("Red", "Blue") + "</Border>"),
        QColor(Qt::blue));
}

void MarkupParserTest::hostileTextNeverThrows_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isMarkup");
    QTest::newRow("not markup") << "<Border Width='1'><Canvas/>" << false;
    QTest::newRow("nested to the bound") << nestedBorders(256) << true;
    QTest::newRow("numbers past any double")
        << "<Grid Margin='-1e400' Width='1e999' MinHeight='NaN'><Grid.ColumnDefinitions>"
           "<ColumnDefinition Width='1e308*' MaxWidth='-Infinity'/><ColumnDefinition "
           "Width='0*'/></Grid.ColumnDefinitions><TextBlock Grid.ColumnSpan='2147483648' "
           "FontSize='-1e308' Padding='1e308'>x</TextBlock></Grid>"
        << true;
    QTest::newRow("lone surrogates, control characters and a NUL")
        << "<TextBlock FontFamily='" + QString(QChar(1)) + "'>" + QChar(0xD800) + QChar(0) +
               QChar(0xDC00) + QChar(0x202E) + "&#x10FFFF;</TextBlock>"
        << true;
    QTest::newRow("zero and wrapped text in a cycle of Grids")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/><ColumnDefinition/>"
           "</Grid.ColumnDefinitions><Grid.RowDefinitions><RowDefinition Height='Auto'/>"
           "<RowDefinition/></Grid.RowDefinitions><TextBlock Grid.Row='1' TextWrapping='Wrap' "
           "TextTrimming='WordEllipsis' FontSize='0'>a b</TextBlock><TextBlock Grid.Column='1' "
           "TextWrapping='Wrap'>c d</TextBlock></Grid>"
        << true;
    QTest::newRow("translucent deeper than layers go")
        << QStringLiteral("<Border Opacity='0.5' Background='Red'>").repeated(20) +
               QStringLiteral("</Border>").repeated(20)
        << true;
}

// Whatever the text and the box, no call gives its caller an exception: a caption is only ever
// drawn, never fatal.
void MarkupParserTest::hostileTextNeverThrows() {
    QFETCH(QString, text);
    QFETCH(bool, isMarkup);
    gridgauge::markup::DocumentPtr document;
    QVERIFY_THROWS_NO_EXCEPTION(document = gridgauge::markup::parse(text));
    QCOMPARE(bool(document), isMarkup);
    gridgauge::markup::DocumentCache cache(1);
    QVERIFY_THROWS_NO_EXCEPTION(cache.find(text));
    if (!document)
        return;
    QVERIFY_THROWS_NO_EXCEPTION(gridgauge::markup::textContent(*document));
    QVERIFY_THROWS_NO_EXCEPTION(gridgauge::markup::desiredSize(*document, QFont()));
    QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const double nan = qQNaN(), inf = qInf();
    gridgauge::markup::Drawing drawing(document);
    for (const QRectF& box : {QRectF(0, 0, 20, 10), QRectF(-5, -5, 1e9, 1e9), QRectF(0, 0, -1, 4),
                              QRectF(nan, 0, 4, 4), QRectF(0, 0, inf, inf)}) {
        QVERIFY_THROWS_NO_EXCEPTION(gridgauge::markup::render(painter, *document, box, QFont()));
        QVERIFY_THROWS_NO_EXCEPTION(drawing.paint(painter, box, QFont()));
        QVERIFY_THROWS_NO_EXCEPTION(gridgauge::markup::layoutBoxes(*document, box.size(), QFont()));
    }
}

void MarkupParserTest::cacheParsesEachTextOnce() {
    gridgauge::markup::DocumentCache cache;
    const quint64 start = gridgauge::markup::parseCount();
    const gridgauge::markup::DocumentPtr first = cache.find(samples::nested);
    QVERIFY(first);
    QCOMPARE(cache.find(samples::nested), first);
    QVERIFY(!cache.find("Plain text"));
    QVERIFY(!cache.find("Plain text"));
    QCOMPARE(gridgauge::markup::parseCount(), start + 2);
    cache.clear();
    QVERIFY(cache.find(samples::nested));
    QCOMPARE(gridgauge::markup::parseCount(), start + 3);
}

void MarkupParserTest::cacheForgetsLeastRecentlyUsed() {
    gridgauge::markup::DocumentCache cache(2);
    const quint64 start = gridgauge::markup::parseCount();
    cache.find("a");
    cache.find("b");
    cache.find("a"); // b is now the oldest
    cache.find("c");
    QCOMPARE(gridgauge::markup::parseCount(), start + 3);
    cache.find("a");
    QCOMPARE(gridgauge::markup::parseCount(), start + 3);
    cache.find("b");
    QCOMPARE(gridgauge::markup::parseCount(), start + 4);
}

void MarkupParserTest::everyRefusalSaysWhy_data() {
    refusesMalformedText_data();
}

// What parse() refuses, parse() with a report refuses too, and says why in words of its own.
void MarkupParserTest::everyRefusalSaysWhy() {
    QFETCH(QString, text);
    gridgauge::markup::ParseReport report;
    QVERIFY(!gridgauge::markup::parse(text, &report));
    const gridgauge::markup::Diagnostic error = report.error();
    QVERIFY(!error.isNull());
    QVERIFY2(error.line() >= 1 && error.column() >= 1, qPrintable(error.toString()));
    QVERIFY2(!error.message().contains(u"not markup here"), qPrintable(error.toString()));
}

void MarkupParserTest::markupHasNoError_data() {
    acceptsLenientMarkup_data();
}

void MarkupParserTest::markupHasNoError() {
    QFETCH(QString, text);
    QFETCH(QString, content);
    gridgauge::markup::ParseReport report;
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text, &report);
    QVERIFY(document);
    QCOMPARE(gridgauge::markup::textContent(*document), content);
    QVERIFY2(report.error().isNull(), qPrintable(report.error().toString()));
}

void MarkupParserTest::errorsSayWhereAndWhy_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("says"); // a part of the message
    QTest::newRow("an unknown element, at its '<'")
        << "<Border>\n  <Marquee/>\n</Border>" << 2 << 3 << "unknown element '<Marquee>'";
    QTest::newRow("a mismatched end tag") << "<Border><StackPanel></Border>" << 1 << 21
                                          << "'</Border>' does not close '<StackPanel>'";
    QTest::newRow("an end tag closing nothing")
        << "<Border/></Border>" << 1 << 10 << "'</Border>' closes nothing";
    QTest::newRow("an element never closed, at its start")
        << "<Border>\n<StackPanel>" << 2 << 1 << "'<StackPanel>' is never closed";
    QTest::newRow("text outside a TextBlock, at its first letter")
        << "<Border>  x</Border>" << 1 << 11 << "text outside a TextBlock";
    QTest::newRow("a value not in quotes") << "<Border Width=5/>" << 1 << 15 << "not in quotes";
    QTest::newRow("an attribute given twice, at the second")
        << "<Border Width='1' Width='2'/>" << 1 << 19 << "'Width' is given twice";
    QTest::newRow("an attribute given twice among many, at the second")
        << "<Border A='1' B='2' C='3' D='4' E='5' F='6' G='7' H='8' I='9' C='3'/>" << 1 << 63
        << "'C' is given twice";
    QTest::newRow("an element never closed, after an attribute ignored further on")
        << "<Border>\n<StackPanel Widht='1'>" << 2 << 1 << "'<StackPanel>' is never closed";
    QTest::newRow("a bad reference") << "<TextBlock>a &b</TextBlock>" << 1 << 14 << "'&'";
    QTest::newRow("a lone '<'") << "<TextBlock>a < b</TextBlock>" << 1 << 14 << "'<' begins no tag";
    QTest::newRow("a Border's second child")
        << "<Border><Border/><Border/></Border>" << 1 << 18 << "a Border holds one child";
    QTest::newRow("a second root") << "<Border/> <Border/>" << 1 << 11 << "a second root";
    QTest::newRow("no element at all") << "  " << 1 << 3 << "no element";
    QTest::newRow("a property of another element")
        << "<Border><Grid.Background/></Border>" << 1 << 9 << "does not belong to";
    QTest::newRow("a property element without its brush")
        << "<Border><Border.Background></Border.Background></Border>" << 1 << 28
        << "holds no brush";
    QTest::newRow("a brush outside a property element")
        << "<Border><SolidColorBrush/></Border>" << 1 << 9 << "stands only in a property";
    QTest::newRow("an inline outside a TextBlock")
        << "<Border><Bold/></Border>" << 1 << 9 << "'<Bold>' stands only inside a TextBlock";
    QTest::newRow("an element inside a TextBlock")
        << "<TextBlock><Border/></TextBlock>" << 1 << 12 << "cannot stand inside '<TextBlock>'";
    QTest::newRow("an element inside an Image")
        << "<Image><Border/></Image>" << 1 << 8 << "cannot stand inside '<Image>'";
    QTest::newRow("an Image's background")
        << "<Image><Image.Background/></Image>" << 1 << 8 << "no property element";
    QTest::newRow("a comment not closed") << "<Border/><!-- x" << 1 << 10 << "comment";
    QTest::newRow("deeper than the bound")
        << nestedBorders(257) << 1 << 256 * 8 + 1 << "deeper than 256";
    QTest::newRow("lines end at CR LF") << "<Border>\r\n\r\n<Marquee/>" << 3 << 1 << "Marquee";
    QTest::newRow("lines end at a CR alone") << "<Border>\r<Marquee/>" << 2 << 1 << "Marquee";
    QTest::newRow("a character past the BMP is one column")
        << QStringLiteral("<TextBlock>\U0001F600</TextBlock><Border/>") << 1 << 25
        << "a second root";
}

void MarkupParserTest::errorsSayWhereAndWhy() {
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, says);
    gridgauge::markup::ParseReport report;
    QVERIFY(!gridgauge::markup::parse(text, &report));
    const gridgauge::markup::Diagnostic error = report.error();
    QVERIFY2(error.message().contains(says), qPrintable(error.toString()));
    QCOMPARE(error.line(), line);
    QCOMPARE(error.column(), column);
    QCOMPARE(error.toString(),
             QStringLiteral("%1:%2: %3").arg(line).arg(column).arg(error.message()));
}

void MarkupParserTest::ignoredAttributesAreListed_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("ignored"); // line:column: and a part of each message
    QTest::newRow("a misspelt attribute, at its name")
        << "<Border Backgroud='Red'/>"
        << QStringList{"1:9: unknown attribute 'Backgroud' on 'Border'"};
    QTest::newRow("a bad colour, at the value, with what it takes")
        << "<Border Background='#GGG'/>"
        << QStringList{"1:21: Background='#GGG' ignored: Background takes a colour: #RGB"};
    QTest::newRow("in the order written, over lines")
        << "<StackPanel Orientation='Sideways'>\n <TextBlock FontSize='big' Txt='a'/>\n"
           "</StackPanel>"
        << QStringList{"1:26: Orientation='Sideways' ignored: Orientation takes Horizontal or "
                       "Vertical",
                       "2:23: FontSize='big' ignored",
                       "2:28: unknown attribute 'Txt' on 'TextBlock'"};
    QTest::newRow("an attribute of another element")
        << "<StackPanel CornerRadius='2'/>"
        << QStringList{"1:13: unknown attribute 'CornerRadius' on 'StackPanel'"};
    QTest::newRow("namespace declarations are not ignored attributes, a directive is")
        << "<Border xmlns='urn:x' xmlns:x='urn:y' x:Name='n'/>"
        << QStringList{"1:39: unknown attribute 'x:Name' on 'Border'"};
    QTest::newRow("Text is a TextBlock's and a Run's")
        << "<TextBlock Text='a'><Run Text='b'/><Bold Text='c'/></TextBlock>"
        << QStringList{"1:42: unknown attribute 'Text' on 'Bold'"};
    QTest::newRow("brushes, stops, definitions and property elements")
        << "<Grid><Grid.ColumnDefinitions Width='2'><ColumnDefinition Width='x*'/>"
           "</Grid.ColumnDefinitions><Border><Border.Background><LinearGradientBrush "
           "StartPoint='0'><GradientStop Offset='NaN'/></LinearGradientBrush>"
           "</Border.Background></Border></Grid>"
        << QStringList{"1:31: unknown attribute 'Width' on 'Grid.ColumnDefinitions'",
                       "1:66: Width='x*' ignored: Width takes a length, Auto, * or",
                       "1:156: StartPoint='0' ignored: StartPoint takes two numbers",
                       "1:181: Offset='NaN' ignored: Offset takes a number"};
    QTest::newRow("panels' own attributes")
        << "<DockPanel LastChildFill='no'><WrapPanel ItemWidth='wide' DockPanel.Dock='Middle'/>"
           "</DockPanel>"
        << QStringList{"1:27: LastChildFill='no' ignored: LastChildFill takes True or False",
                       "1:53: ItemWidth='wide' ignored",
                       "1:75: DockPanel.Dock='Middle' ignored: DockPanel.Dock takes Left, Top"};
    QTest::newRow("an Image has no Background, and its own Stretch values")
        << "<Image Background='Red' Stretch='Sideways' StretchDirection='Down' Source=' '/>"
        << QStringList{"1:8: unknown attribute 'Background' on 'Image'",
                       "1:34: Stretch='Sideways' ignored: Stretch takes None, Fill, Uniform",
                       "1:62: StretchDirection='Down' ignored: StretchDirection takes Both, "
                       "UpOnly or DownOnly",
                       "1:76: Source=' ' ignored: Source takes the name of a picture"};
    QTest::newRow("a Hyperlink's NavigateUri is its own")
        << "<TextBlock><Hyperlink NavigateUri='a:b' Navigate='c'/></TextBlock>"
        << QStringList{"1:41: unknown attribute 'Navigate' on 'Hyperlink'"};
    QTest::newRow("but no Run's") << "<TextBlock><Run NavigateUri='a:b'/></TextBlock>"
                                  << QStringList{"1:17: unknown attribute 'NavigateUri' on 'Run'"};
    QTest::newRow("before the error that makes the text no markup")
        << "<Border Widht='1'><Marquee/></Border>"
        << QStringList{"1:9: unknown attribute 'Widht' on 'Border'"};
}

void MarkupParserTest::ignoredAttributesAreListed() {
    QFETCH(QString, text);
    QFETCH(QStringList, ignored);
    gridgauge::markup::ParseReport report;
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text, &report);
    QCOMPARE(bool(document), report.error().isNull());
    QStringList listed;
    for (const gridgauge::markup::Diagnostic& d : report.ignored())
        listed.append(d.toString());
    QCOMPARE(listed.size(), ignored.size());
    for (int i = 0; i < listed.size(); ++i)
        QVERIFY2(listed[i].startsWith(ignored[i]), qPrintable(listed[i]));
    QCOMPARE(report.ignoredCount(), ignored.size());
}

// However many attributes a caption gets wrong, its report describes a bounded number and counts
// the rest.
void MarkupParserTest::aHugeCaptionsReportStaysBounded() {
    const QString text =
        "<StackPanel>" + QStringLiteral("<Border Widht='1'/>").repeated(5000) + "</StackPanel>";
    gridgauge::markup::ParseReport report;
    QVERIFY(gridgauge::markup::parse(text, &report));
    QCOMPARE(report.ignored().size(), 100);
    QCOMPARE(report.ignoredCount(), 5000);
    QCOMPARE(report.ignored().back().column(), 13 + 99 * 19 + 8);
}

void MarkupParserTest::aReportIsReplacedByTheNextParse() {
    gridgauge::markup::ParseReport report;
    QVERIFY(!gridgauge::markup::parse(QStringLiteral("<Border Widht='1'>"), &report));
    QVERIFY(gridgauge::markup::parse(QStringLiteral("<Border/>"), &report));
    QVERIFY(report.error().isNull());
    QVERIFY(report.ignored().isEmpty());
    QCOMPARE(report.ignoredCount(), 0);
}

QTEST_MAIN(MarkupParserTest)
#include "test_markup_parser.moc"
