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
    const markup::DocumentPtr document = markup::parse(text);
    QVERIFY(document);
    QCOMPARE(markup::textContent(*document), content);
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
    QVERIFY(!markup::parse(text));
}

void MarkupParserTest::boundsNestingDepth() {
    QVERIFY(markup::parse(nestedBorders(256)));
    QVERIFY(!markup::parse(nestedBorders(257)));
    // Refused at the bound, however deep the text goes: no stack grows with it.
    QVERIFY(!markup::parse(QStringLiteral("<Border>").repeated(1'000'000)));
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
    const markup::DocumentPtr document = markup::parse(text);
    QVERIFY(document);
    for (const markup::ElementBox& box : markup::layoutBoxes(*document, {96, 18}, QFont())) {
        QVERIFY(qIsFinite(box.bounds.x()) && qIsFinite(box.bounds.width()));
        QVERIFY(qIsFinite(box.bounds.y()) && qIsFinite(box.bounds.height()));
    }
    QImage image(96, 18, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    markup::render(painter, *document, QRectF(0, 0, 96, 18), QFont());
}

void MarkupParserTest::laterPropertyWins() {
    auto colourOf = [](const QString& text) {
        const markup::DocumentPtr document = markup::parse(text);
        if (!document)
            return QColor();
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        markup::render(painter, *document, QRectF(0, 0, 4, 4), QFont());
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
    markup::DocumentPtr document;
    QVERIFY_THROWS_NO_EXCEPTION(document = markup::parse(text));
    QCOMPARE(bool(document), isMarkup);
    markup::DocumentCache cache(1);
    QVERIFY_THROWS_NO_EXCEPTION(cache.find(text));
    if (!document)
        return;
    QVERIFY_THROWS_NO_EXCEPTION(markup::textContent(*document));
    QVERIFY_THROWS_NO_EXCEPTION(markup::desiredSize(*document, QFont()));
    QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const double nan = qQNaN(), inf = qInf();
    markup::Drawing drawing(document);
    for (const QRectF& box : {QRectF(0, 0, 20, 10), QRectF(-5, -5, 1e9, 1e9), QRectF(0, 0, -1, 4),
                              QRectF(nan, 0, 4, 4), QRectF(0, 0, inf, inf)}) {
        QVERIFY_THROWS_NO_EXCEPTION(markup::render(painter, *document, box, QFont()));
        QVERIFY_THROWS_NO_EXCEPTION(drawing.paint(painter, box, QFont()));
        QVERIFY_THROWS_NO_EXCEPTION(markup::layoutBoxes(*document, box.size(), QFont()));
    }
}

void MarkupParserTest::cacheParsesEachTextOnce() {
    markup::DocumentCache cache;
    const quint64 start = markup::parseCount();
    const markup::DocumentPtr first = cache.find(samples::nested);
    QVERIFY(first);
    QCOMPARE(cache.find(samples::nested), first);
    QVERIFY(!cache.find("Plain text"));
    QVERIFY(!cache.find("Plain text"));
    QCOMPARE(markup::parseCount(), start + 2);
    cache.clear();
    QVERIFY(cache.find(samples::nested));
    QCOMPARE(markup::parseCount(), start + 3);
}

void MarkupParserTest::cacheForgetsLeastRecentlyUsed() {
    markup::DocumentCache cache(2);
    const quint64 start = markup::parseCount();
    cache.find("a");
    cache.find("b");
    cache.find("a"); // b is now the oldest
    cache.find("c");
    QCOMPARE(markup::parseCount(), start + 3);
    cache.find("a");
    QCOMPARE(markup::parseCount(), start + 3);
    cache.find("b");
    QCOMPARE(markup::parseCount(), start + 4);
}

QTEST_MAIN(MarkupParserTest)
#include "test_markup_parser.moc"
