// Where layout puts every element, worked out by hand from the measure and arrange rules of the
// markup layout. Text is measured with made-up metrics, so that no installed font moves a
// rectangle: at 10 pixels every character is 5 wide (6 in bold), and a line is 8 above its baseline
// and 2 below.
#include "gridgauge/markup/markup.h"
#include "layout_boxes.h"

#include <QtTest>

namespace {

class FixedMetrics : public gridgauge::markup::TextMeasurer {
public:
    gridgauge::markup::FontMetrics metrics(const QFont& font) const override {
        return {0.8 * size(font), 0.2 * size(font)};
    }
    double advance(const QFont& font, QStringView text) const override {
        const double bold = font.weight() >= QFont::DemiBold ? 1 : 0;
        return double(text.size()) * (size(font) / 2 + bold);
    }

private:
    static double size(const QFont& font) {
        return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96 / 72;
    }
};

// Pictures of the size their source names, "box:40x20" one of 40 by 20; anything else refused.
class SizedPictures : public gridgauge::markup::ImageResolver {
public:
    QImage resolve(const QString& source, const QSize& size) override {
        const QStringList parts =
            source.startsWith(u"box:") ? source.sliced(4).split(u'x') : QStringList();
        if (parts.size() != 2)
            return {};
        QImage image(size.isEmpty() ? QSize(parts[0].toInt(), parts[1].toInt()) : size,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::red);
        return image;
    }
};

SizedPictures& pictures() {
    static SizedPictures resolver;
    return resolver;
}

QFont tenPixels() {
    QFont font;
    font.setPixelSize(10);
    return font;
}

QList<gridgauge::markup::ElementBox> boxesOf(const QString& text, const QSizeF& box) {
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    if (!document)
        return {};
    return gridgauge::markup::layoutBoxes(*document, box, tenPixels(), FixedMetrics(), &pictures());
}

using Rects = QList<QRectF>;

const QSizeF box(100, 50);

} // namespace

class MarkupLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void everyElement_data();
    void everyElement();
    void clips_data();
    void clips();
    void lines_data();
    void lines();
    void realFontWrapsWithinTheBox();
    void desiredSize_data();
    void desiredSize();
};

void MarkupLayoutTest::everyElement_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<Rects>("bounds");

    // Border
    QTest::newRow("childless border: its chrome, and its sibling after it")
        << "<StackPanel Orientation='Horizontal'><Border BorderThickness='1' Padding='2'/>"
           "<Border Width='10'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 6, 50}, {6, 0, 10, 50}};
    QTest::newRow("child inside margin, border and padding")
        << "<Border Margin='1' BorderThickness='1,2,3,4' Padding='2'><Border/></Border>"
        << QSizeF(96, 18) << Rects{{1, 1, 94, 16}, {4, 5, 86, 6}};
    QTest::newRow("sized to its child")
        << "<Border HorizontalAlignment='Left' VerticalAlignment='Bottom' Padding='3'>"
           "<Border Width='10' Height='4'/></Border>"
        << box << Rects{{0, 40, 16, 10}, {3, 43, 10, 4}};

    // Alignment, sizes and their limits
    QTest::newRow("right and bottom")
        << "<Border Width='10' Height='4' HorizontalAlignment='Right' VerticalAlignment='Bottom'/>"
        << box << Rects{{90, 46, 10, 4}};
    QTest::newRow("sized but stretched: centred")
        << "<Border Width='10' Height='4'/>" << box << Rects{{45, 23, 10, 4}};
    QTest::newRow("Max caps a stretch")
        << "<Border MaxWidth='20' MaxHeight='6'/>" << box << Rects{{40, 22, 20, 6}};
    QTest::newRow("Min beats Max")
        << "<Border MinWidth='30' MaxWidth='20' HorizontalAlignment='Left'/>" << box
        << Rects{{0, 0, 30, 50}};
    QTest::newRow("Max beats Width")
        << "<Border Width='50' MaxWidth='30' HorizontalAlignment='Left'/>" << box
        << Rects{{0, 0, 30, 50}};
    QTest::newRow("Min beats Width")
        << "<Border Width='10' MinWidth='30' HorizontalAlignment='Left'/>" << box
        << Rects{{0, 0, 30, 50}};
    QTest::newRow("negative size is zero")
        << "<Border Width='-5' Height='-1' HorizontalAlignment='Left'/>" << box
        << Rects{{0, 25, 0, 0}};
    QTest::newRow("centred content wider than its slot overflows both sides")
        << "<Border Width='40'><StackPanel Orientation='Horizontal' HorizontalAlignment='Center'>"
           "<Border Width='30'/><Border Width='30'/></StackPanel></Border>"
        << box << Rects{{30, 0, 40, 50}, {20, 0, 60, 50}, {20, 0, 30, 50}, {50, 0, 30, 50}};
    QTest::newRow("stretched content wider than its slot starts at its start")
        << "<Border Width='40'><StackPanel Orientation='Horizontal'>"
           "<Border Width='30'/><Border Width='30'/></StackPanel></Border>"
        << box << Rects{{30, 0, 40, 50}, {30, 0, 60, 50}, {30, 0, 30, 50}, {60, 0, 30, 50}};
    QTest::newRow("negative margin: larger than its slot, and overlapped")
        << "<StackPanel><Border Height='10' Margin='-5,-2,0,0'/><Border Height='10'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {-5, -2, 105, 10}, {0, 8, 100, 10}};
    QTest::newRow("margin shrinks the slot")
        << "<Border Margin='10,5,20,15'/>" << box << Rects{{10, 5, 70, 30}};

    // StackPanel
    QTest::newRow("horizontal stack")
        << "<StackPanel Orientation='Horizontal'><Border Width='10'/><Border Width='20' "
           "Margin='1,2'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 10, 50}, {11, 2, 20, 46}};
    QTest::newRow("vertical stack")
        << "<StackPanel><Border Height='5'/><Border MinHeight='4'/></StackPanel>" << box
        << Rects{{0, 0, 100, 50}, {0, 0, 100, 5}, {0, 5, 100, 4}};
    QTest::newRow("child wider than its panel keeps its width")
        << "<StackPanel Width='50' HorizontalAlignment='Left'><Border Width='80' Height='10'/>"
           "</StackPanel>"
        << box << Rects{{0, 0, 50, 50}, {0, 0, 80, 10}};
    QTest::newRow("no bound along the stack: text does not wrap")
        << "<StackPanel Orientation='Horizontal'><TextBlock TextWrapping='Wrap' "
           "Text='abcdefghijklmnopqrstuvwxyz'/></StackPanel>"
        << box << Rects{{0, 0, 130, 50}, {0, 0, 130, 50}};

    // Visibility
    QTest::newRow("collapsed takes no room, hidden keeps its own")
        << "<StackPanel><Border Height='10' Visibility='Collapsed'/><Border Height='10' "
           "Visibility='Hidden'/><Border Height='10'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 0, 0}, {0, 0, 100, 10}, {0, 10, 100, 10}};

    // Grid
    const QString columns =
        "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='10'/><ColumnDefinition "
        "Width='Auto'/><ColumnDefinition Width='*'/><ColumnDefinition Width='2*'/>"
        "</Grid.ColumnDefinitions><Border Grid.Column='1' Width='20'/><Border Grid.Column='2'/>"
        "<Border Grid.Column='3'/><Border Grid.Column='0'/><Border Grid.Column='7'/></Grid>";
    QTest::newRow("pixel, Auto and star columns; a column past the last is the last")
        << columns << QSizeF(96, 18) << Rects{{0, 0, 96, 18},  {10, 0, 20, 18}, {30, 0, 22, 18},
                                              {52, 0, 44, 18}, {0, 0, 10, 18},  {52, 0, 44, 18}};
    QTest::newRow("pixel, Auto and star rows")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='10'/><RowDefinition "
           "Height='Auto'/><RowDefinition/></Grid.RowDefinitions><Border/><Border Grid.Row='1' "
           "Height='15'/><Border Grid.Row='2'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 100, 10}, {0, 10, 100, 15}, {0, 25, 100, 25}};
    QTest::newRow("aligned grid: the sum of its columns' minimums, each kept")
        << "<Grid HorizontalAlignment='Left'><Grid.ColumnDefinitions><ColumnDefinition/>"
           "<ColumnDefinition Width='2*'/></Grid.ColumnDefinitions><Border Width='20'/>"
           "<Border Grid.Column='1' Width='10'/></Grid>"
        << box << Rects{{0, 0, 30, 50}, {0, 0, 20, 50}, {20, 0, 10, 50}};
    QTest::newRow("aligned grid: a pixel column counts in full")
        << "<Grid HorizontalAlignment='Left'><Grid.ColumnDefinitions><ColumnDefinition "
           "Width='10'/><ColumnDefinition/></Grid.ColumnDefinitions><Border Grid.Column='1' "
           "Width='5'/></Grid>"
        << box << Rects{{0, 0, 15, 50}, {10, 0, 5, 50}};
    QTest::newRow("grid in a horizontal stack: stars size to content")
        << "<StackPanel Orientation='Horizontal'><Grid><Grid.ColumnDefinitions>"
           "<ColumnDefinition/><ColumnDefinition/></Grid.ColumnDefinitions><Border Width='20'/>"
           "<Border Grid.Column='1' Width='10'/></Grid><Border Width='5'/></StackPanel>"
        << box
        << Rects{{0, 0, 100, 50}, {0, 0, 30, 50}, {0, 0, 20, 50}, {20, 0, 10, 50}, {30, 0, 5, 50}};
    QTest::newRow("star MinWidth: the other star takes what is left")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition MinWidth='60'/><ColumnDefinition/>"
           "</Grid.ColumnDefinitions><Border/><Border Grid.Column='1'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 60, 50}, {60, 0, 40, 50}};
    QTest::newRow("star MaxWidth: the others share what is left")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition MaxWidth='20'/><ColumnDefinition/>"
           "<ColumnDefinition/></Grid.ColumnDefinitions><Border/><Border Grid.Column='1'/>"
           "<Border Grid.Column='2'/></Grid>"
        << QSizeF(90, 50)
        << Rects{{0, 0, 90, 50}, {0, 0, 20, 50}, {20, 0, 35, 50}, {55, 0, 35, 50}};
    QTest::newRow("star Min and Max: the farther from its share settled first")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition MinWidth='50'/><ColumnDefinition "
           "MaxWidth='10'/><ColumnDefinition Width='2*'/></Grid.ColumnDefinitions><Border/>"
           "<Border Grid.Column='1'/><Border Grid.Column='2'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 50, 50}, {50, 0, 10, 50}, {60, 0, 40, 50}};
    // Shares 25, 25, 50: the first is 70 short of its minimum (a ratio of 2.8), the second 5
    // past its maximum (1.25). The minimum is settled first, and the others share the 30 left.
    QTest::newRow("star Min and Max: the minimum farther from its share settled first")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition MinWidth='70'/><ColumnDefinition "
           "MaxWidth='20'/><ColumnDefinition Width='2*'/></Grid.ColumnDefinitions><Border/>"
           "<Border Grid.Column='1'/><Border Grid.Column='2'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 70, 50}, {70, 0, 10, 50}, {80, 0, 20, 50}};
    // Settled at its maximum of 10 first, the first column leaves 90 where the second needs 95;
    // with the space overspent, it is opened again and takes the 5 left.
    QTest::newRow("star Min and Max: a maximum settled too soon gives way to a minimum")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition MaxWidth='10'/><ColumnDefinition "
           "MinWidth='95'/></Grid.ColumnDefinitions><Border/><Border Grid.Column='1'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 5, 50}, {5, 0, 95, 50}};
    // Held at its minimum of 50 first, then the second at its maximum of 40: 10 would be left
    // over, so the first is opened again and takes it.
    QTest::newRow("star Min and Max: a minimum settled too soon takes what is left over")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition MinWidth='50'/><ColumnDefinition "
           "Width='4*' MaxWidth='40'/></Grid.ColumnDefinitions><Border/><Border Grid.Column='1'/>"
           "</Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 60, 50}, {60, 0, 40, 50}};
    // Row limits: a pixel row is its Height held between MinHeight and MaxHeight, an Auto row
    // its content's height held between them (the content may overhang), a star row settled
    // as star columns are.
    QTest::newRow("pixel rows: MinHeight beats Height, MaxHeight caps it")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='10' MinHeight='20'/><RowDefinition "
           "Height='30' MaxHeight='15'/><RowDefinition/></Grid.RowDefinitions><Border/>"
           "<Border Grid.Row='1'/><Border Grid.Row='2'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 100, 20}, {0, 20, 100, 15}, {0, 35, 100, 15}};
    QTest::newRow("Auto row MinHeight: room past its content, the content centred in it")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='Auto' MinHeight='20'/>"
           "<RowDefinition/></Grid.RowDefinitions><Border Height='5'/><Border Grid.Row='1'/>"
           "</Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 7.5, 100, 5}, {0, 20, 100, 30}};
    QTest::newRow("Auto row MaxHeight: its content overhangs the next row")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='Auto' MaxHeight='10'/>"
           "<RowDefinition/></Grid.RowDefinitions><Border Height='15'/><Border Grid.Row='1'/>"
           "</Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 100, 15}, {0, 10, 100, 40}};
    QTest::newRow("star row MinHeight: the other star takes what is left")
        << "<Grid><Grid.RowDefinitions><RowDefinition MinHeight='30'/><RowDefinition/>"
           "</Grid.RowDefinitions><Border/><Border Grid.Row='1'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 100, 30}, {0, 30, 100, 20}};
    QTest::newRow("star row MaxHeight: the others share what is left")
        << "<Grid><Grid.RowDefinitions><RowDefinition MaxHeight='10'/><RowDefinition/>"
           "<RowDefinition/></Grid.RowDefinitions><Border/><Border Grid.Row='1'/>"
           "<Border Grid.Row='2'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 100, 10}, {0, 10, 100, 20}, {0, 30, 100, 20}};
    QTest::newRow("row and column spans, cut at the last track")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='20'/><ColumnDefinition "
           "Width='30'/><ColumnDefinition/></Grid.ColumnDefinitions><Grid.RowDefinitions>"
           "<RowDefinition Height='10'/><RowDefinition/></Grid.RowDefinitions>"
           "<Border Grid.ColumnSpan='2' Grid.RowSpan='2'/><Border Grid.Row='1' Grid.Column='1' "
           "Grid.ColumnSpan='5' Grid.RowSpan='3'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 50, 50}, {20, 10, 80, 40}};
    QTest::newRow("a span over Auto columns shares its width")
        << "<Grid HorizontalAlignment='Left'><Grid.ColumnDefinitions><ColumnDefinition "
           "Width='Auto'/><ColumnDefinition Width='Auto'/></Grid.ColumnDefinitions>"
           "<Border Width='10'/><Border Grid.ColumnSpan='2' Width='30'/></Grid>"
        << box << Rects{{0, 0, 30, 50}, {5, 0, 10, 50}, {0, 0, 30, 50}};
    // The span asks 80 of columns whose shares were 25 and 75: each grows towards its share,
    // the smaller first, and the Grid, as wide as its columns' minimums, shares 80 within them.
    QTest::newRow("a span over star columns grows them up to their shares")
        << "<Grid HorizontalAlignment='Left'><Grid.ColumnDefinitions><ColumnDefinition/>"
           "<ColumnDefinition Width='3*'/></Grid.ColumnDefinitions><Border Grid.ColumnSpan='2' "
           "Width='80'/><Border Grid.Column='1'/></Grid>"
        << box << Rects{{0, 0, 80, 50}, {0, 0, 80, 50}, {25, 0, 55, 50}};
    // Past the caps of 10 and 50 by 10: the one further below the largest cap takes it all.
    QTest::newRow("a span past its Auto columns' maximums: the smaller grows faster")
        << "<Grid HorizontalAlignment='Left'><Grid.ColumnDefinitions><ColumnDefinition "
           "Width='Auto' MaxWidth='10'/><ColumnDefinition Width='Auto' MaxWidth='50'/>"
           "</Grid.ColumnDefinitions><Border Grid.ColumnSpan='2' Width='70'/><Border/>"
           "<Border Grid.Column='1'/></Grid>"
        << box << Rects{{0, 0, 70, 50}, {0, 0, 70, 50}, {0, 0, 20, 50}, {20, 0, 50, 50}};
    QTest::newRow("a span past its Auto columns' maximums, and past equal sizes: equal")
        << "<Grid HorizontalAlignment='Left'><Grid.ColumnDefinitions><ColumnDefinition "
           "Width='Auto' MaxWidth='10'/><ColumnDefinition Width='Auto' MaxWidth='20'/>"
           "</Grid.ColumnDefinitions><Border Grid.ColumnSpan='2' Width='60'/><Border/>"
           "<Border Grid.Column='1'/></Grid>"
        << box << Rects{{0, 0, 60, 50}, {0, 0, 60, 50}, {0, 0, 30, 50}, {30, 0, 30, 50}};
    QTest::newRow("wrapped text in a star column sets its Auto row")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='Auto'/><RowDefinition/>"
           "</Grid.RowDefinitions><TextBlock Text='aaaa bbbb cccc' TextWrapping='Wrap'/>"
           "<Border Grid.Row='1'/></Grid>"
        << QSizeF(30, 50) << Rects{{0, 0, 30, 50}, {0, 0, 30, 30}, {0, 30, 30, 20}};
    QTest::newRow("star row in an Auto column and star column in an Auto row")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/><ColumnDefinition/>"
           "</Grid.ColumnDefinitions><Grid.RowDefinitions><RowDefinition Height='Auto'/>"
           "<RowDefinition/></Grid.RowDefinitions><Border Grid.Row='1' Width='10' Height='5'/>"
           "<Border Grid.Column='1' Height='7'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 26, 10, 5}, {10, 0, 90, 7}};
    // The Auto row is measured first, and the star row is offered what it leaves, 40: offered
    // no bound, the square in it (as wide as the Grid) would have the row 100 high.
    QTest::newRow("a star row offers what the Auto row above it leaves")
        << "<Grid><Grid.RowDefinitions><RowDefinition Height='Auto'/><RowDefinition/>"
           "</Grid.RowDefinitions><Border Height='10'/><Rectangle Grid.Row='1' Stroke='Red' "
           "Stretch='UniformToFill'/><Border Grid.Row='1'/></Grid>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 100, 10}, {0, 10, 100, 100}, {0, 10, 100, 40}};
    // The square in the star row is first measured with no bound at all and wants its stroke,
    // 30; once the Auto row above takes 10, the star row is 10 high and so is the square's side.
    // The Auto column keeps only what the last measure asked for.
    QTest::newRow("an Auto column forgets what its star row's cell wanted unbounded")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/><ColumnDefinition/>"
           "</Grid.ColumnDefinitions><Grid.RowDefinitions><RowDefinition Height='Auto'/>"
           "<RowDefinition/></Grid.RowDefinitions><Rectangle Grid.Row='1' Stroke='Red' "
           "StrokeThickness='30' Stretch='UniformToFill'/><Border Grid.Column='1' Height='10'/>"
           "</Grid>"
        << QSizeF(100, 20) << Rects{{0, 0, 100, 20}, {0, 10, 10, 10}, {10, 0, 90, 10}};

    // TextBlock
    QTest::newRow("text with padding")
        << "<Border HorizontalAlignment='Left' VerticalAlignment='Top'><TextBlock Text='abc' "
           "Padding='1,2'/></Border>"
        << box << Rects{{0, 0, 17, 14}, {0, 0, 17, 14}};
    QTest::newRow("a run in bold is measured in bold")
        << "<TextBlock HorizontalAlignment='Left' VerticalAlignment='Top'>ab<Bold>cd</Bold>"
           "</TextBlock>"
        << box << Rects{{0, 0, 22, 10}};
    QTest::newRow("font size with a fraction")
        << "<TextBlock HorizontalAlignment='Left' VerticalAlignment='Top' FontSize='12.5' "
           "Text='ab'/>"
        << box << Rects{{0, 0, 12.5, 12.5}};
    QTest::newRow("empty text is one line high")
        << "<StackPanel><TextBlock/><Border Height='5'/></StackPanel>" << box
        << Rects{{0, 0, 100, 50}, {0, 0, 100, 10}, {0, 10, 100, 5}};

    // Rectangle and Ellipse
    QTest::newRow("shapes want room for their stroke only")
        << "<StackPanel Orientation='Horizontal'><Rectangle Stroke='Red' StrokeThickness='3'/>"
           "<Ellipse Width='20' Height='10'/><Rectangle Fill='Red' Stretch='UniformToFill'/>"
           "</StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 3, 50}, {3, 20, 20, 10}, {23, 0, 50, 50}};
    QTest::newRow("uniform to fill: the larger side of what is offered, for both")
        << "<Ellipse Fill='Red' Stretch='UniformToFill' HorizontalAlignment='Left' "
           "VerticalAlignment='Top'/>"
        << box << Rects{{0, 0, 100, 100}};

    // WrapPanel
    QTest::newRow("wrap panel: a line as thick as its thickest child, then the next line")
        << "<WrapPanel><Border Width='40' Height='10'/><Border Width='40' Height='20'/>"
           "<Border Width='40' Height='5'/></WrapPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 5, 40, 10}, {40, 0, 40, 20}, {0, 20, 40, 5}};
    QTest::newRow("wrap panel: a line exactly full keeps its last child")
        << "<WrapPanel><Border Width='60' Height='10'/><Border Width='40' Height='10'/>"
           "<Border Width='1' Height='10'/></WrapPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 60, 10}, {60, 0, 40, 10}, {0, 10, 1, 10}};
    QTest::newRow("wrap panel: a line full but for rounding keeps its last child")
        << "<WrapPanel Width='0.3' HorizontalAlignment='Left' VerticalAlignment='Top'>"
           "<Border Width='0.1' Height='1'/><Border Width='0.2' Height='1'/></WrapPanel>"
        << box << Rects{{0, 0, 0.3, 1}, {0, 0, 0.1, 1}, {0.1, 0, 0.2, 1}};
    QTest::newRow("wrap panel: item slots, what is wider than its slot overhanging it")
        << "<WrapPanel ItemWidth='30' ItemHeight='12'><Border Width='10' Height='4'/>"
           "<Border Width='40'/><Border/><Border/></WrapPanel>"
        << box
        << Rects{
               {0, 0, 100, 50}, {10, 4, 10, 4}, {30, 0, 40, 12}, {60, 0, 30, 12}, {0, 12, 30, 12}};
    QTest::newRow("wrap panel: vertical, columns as wide as their widest child")
        << "<WrapPanel Orientation='Vertical'><Border Width='10' Height='30'/>"
           "<Border Width='20' Height='30'/><Border Width='5' Height='10'/></WrapPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 10, 30}, {10, 0, 20, 30}, {17.5, 30, 5, 10}};
    // Measured at 50 wide, the items of 60 each take a line of their own, and the panel wants
    // them: 60 wide. Arranged 60 wide, both lines are exactly full.
    QTest::newRow("wrap panel: items longer than a line, each on a line of its own")
        << "<WrapPanel Width='50' HorizontalAlignment='Left' VerticalAlignment='Top' "
           "ItemWidth='60'><Border Height='10'/><Border Height='5'/></WrapPanel>"
        << box << Rects{{0, 0, 60, 15}, {0, 0, 60, 10}, {0, 10, 60, 5}};
    QTest::newRow("wrap panel: a collapsed child takes no room")
        << "<WrapPanel><Border Width='60' Height='10' Visibility='Collapsed'/>"
           "<Border Width='50' Height='10'/><Border Width='50' Height='10'/></WrapPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 0, 0}, {0, 0, 50, 10}, {50, 0, 50, 10}};

    // DockPanel
    QTest::newRow("dock panel: each side of what is left, the last child filling the rest")
        << "<DockPanel><Border DockPanel.Dock='Top' Height='10'/><Border DockPanel.Dock='Left' "
           "Width='20'/><Border DockPanel.Dock='Right' Width='15'/><Border "
           "DockPanel.Dock='Right' Width='10'/><Border DockPanel.Dock='Bottom' Height='5'/>"
           "<Border DockPanel.Dock='Bottom' Height='4'/><Border/></DockPanel>"
        << box << Rects{{0, 0, 100, 50},  {0, 0, 100, 10}, {0, 10, 20, 40}, {85, 10, 15, 40},
                        {75, 10, 10, 40}, {20, 45, 55, 5}, {20, 41, 55, 4}, {20, 10, 55, 31}};
    QTest::newRow("dock panel: without LastChildFill the last docks too, on the left")
        << "<DockPanel LastChildFill='False'><Border Width='20'/><Border Width='30' Height='10'/>"
           "</DockPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 20, 50}, {20, 20, 30, 10}};
    QTest::newRow("dock panel: as large as its docked children need")
        << "<DockPanel HorizontalAlignment='Left' VerticalAlignment='Top'><Border "
           "DockPanel.Dock='Top' Width='30' Height='10'/><Border DockPanel.Dock='Left' "
           "Width='20' Height='25'/><Border Width='5' Height='5'/></DockPanel>"
        << box << Rects{{0, 0, 30, 35}, {0, 0, 30, 10}, {0, 10, 20, 25}, {22.5, 20, 5, 5}};
    // The second child is measured in the 10 the first leaves, and wants only that; arranged
    // at 10 wide from the right, it overhangs its slot. The last child has no room left.
    QTest::newRow("dock panel: a child measured in what the others leave")
        << "<DockPanel Width='30' HorizontalAlignment='Left'><Border Width='20'/><Border "
           "DockPanel.Dock='Right' Width='20'/><Border/></DockPanel>"
        << box << Rects{{0, 0, 30, 50}, {0, 0, 20, 50}, {20, 0, 20, 50}, {20, 0, 0, 50}};

    // Canvas
    QTest::newRow("canvas: children at their offsets from its edges")
        << "<Canvas><Border Canvas.Left='10' Canvas.Top='5' Width='20' Height='10'/>"
           "<Border Canvas.Right='10' Canvas.Bottom='5' Width='20' Height='10'/>"
           "<Border Width='5' Height='5'/></Canvas>"
        << box << Rects{{0, 0, 100, 50}, {10, 5, 20, 10}, {70, 35, 20, 10}, {0, 0, 5, 5}};
    QTest::newRow("canvas: Left before Right, Top before Bottom, negative offsets kept")
        << "<Canvas><Border Canvas.Left='-5' Canvas.Right='50' Canvas.Top='-2' "
           "Canvas.Bottom='1' Width='10' Height='4'/></Canvas>"
        << box << Rects{{0, 0, 100, 50}, {-5, -2, 10, 4}};
    QTest::newRow("canvas: Right counts the child's margin")
        << "<Canvas Width='50' HorizontalAlignment='Left'><Border Canvas.Right='0' Width='10' "
           "Height='10' Margin='0,3,5,0'/></Canvas>"
        << box << Rects{{0, 0, 50, 50}, {35, 3, 10, 10}};
    QTest::newRow("canvas: asks for no room, and its children take none from its siblings")
        << "<StackPanel Orientation='Horizontal'><Canvas><Border Width='30' Height='10'/>"
           "</Canvas><Border Width='10'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 0, 50}, {0, 0, 30, 10}, {0, 0, 10, 50}};
    QTest::newRow("canvas: children measured without bound, text on one line")
        << "<Canvas Width='20'><TextBlock TextWrapping='Wrap' Text='aaa bbb'/></Canvas>" << box
        << Rects{{40, 0, 20, 50}, {40, 0, 35, 10}};

    // Image: its picture's own size scaled to what it is offered, and placed by what it draws.
    QTest::newRow("image: uniform, as large as fits, even when aligned")
        << "<Image Source='box:40x20' HorizontalAlignment='Left' VerticalAlignment='Top'/>" << box
        << Rects{{0, 0, 100, 50}};
    QTest::newRow("image: uniform, centred in a slot of another shape")
        << "<Image Source='box:10x10'/>" << box << Rects{{25, 0, 50, 50}};
    QTest::newRow("image: Stretch None keeps its picture's size")
        << "<Image Source='box:40x20' Stretch='None'/>" << box << Rects{{30, 15, 40, 20}};
    QTest::newRow("image: Fill takes the whole slot")
        << "<Image Source='box:10x10' Stretch='Fill'/>" << box << Rects{{0, 0, 100, 50}};
    QTest::newRow("image: uniform to fill overflows, from its start")
        << "<Image Source='box:10x10' Stretch='UniformToFill'/>" << box << Rects{{0, 0, 100, 100}};
    QTest::newRow("image: a Width scales it, and it is centred by what it draws")
        << "<Image Source='box:40x20' Width='20'/>" << box << Rects{{40, 20, 20, 10}};
    QTest::newRow("image: without bound along a stack, scaled by the other side")
        << "<StackPanel Orientation='Horizontal'><Image Source='box:10x10'/><Border Width='5'/>"
           "</StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 50, 50}, {50, 0, 5, 50}};
    QTest::newRow("image: down a stack, scaled by its width")
        << "<StackPanel><Image Source='box:10x20'/><Border Height='5'/></StackPanel>" << box
        << Rects{{0, 0, 100, 205}, {0, 0, 100, 200}, {0, 200, 100, 5}};
    QTest::newRow("image: Fill without bound down a stack keeps its picture's shape")
        << "<StackPanel><Image Source='box:10x20' Stretch='Fill'/></StackPanel>" << box
        << Rects{{0, 0, 100, 200}, {0, 0, 100, 200}};
    QTest::newRow("image: uniform to fill without bound along a stack, as high as the stack")
        << "<StackPanel Orientation='Horizontal'><Image Source='box:10x10' "
           "Stretch='UniformToFill'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {0, 0, 50, 50}};
    QTest::newRow("image: DownOnly never grows it")
        << "<Image Source='box:10x10' StretchDirection='DownOnly'/>" << box
        << Rects{{45, 20, 10, 10}};
    QTest::newRow("image: DownOnly shrinks it")
        << "<Image Source='box:200x100' StretchDirection='DownOnly'/>" << box
        << Rects{{0, 0, 100, 50}};
    QTest::newRow("image: UpOnly never shrinks it")
        << "<Image Source='box:200x100' StretchDirection='UpOnly'/>" << box
        << Rects{{0, 0, 200, 100}};
    // Refused, it wants nothing of its own: its Width and Height hold its room, and it draws
    // nothing, centred in it.
    QTest::newRow("image: a refused source takes the size it is given")
        << "<StackPanel Orientation='Horizontal'><Image Source='file:///a.png' Width='30' "
           "Height='20'/><Border Width='10'/></StackPanel>"
        << box << Rects{{0, 0, 100, 50}, {15, 25, 0, 0}, {30, 0, 10, 50}};
    QTest::newRow("image: without a source, nothing")
        << "<StackPanel Orientation='Horizontal'><Image/><Border Width='10'/></StackPanel>" << box
        << Rects{{0, 0, 100, 50}, {0, 25, 0, 0}, {0, 0, 10, 50}};
}

void MarkupLayoutTest::everyElement() {
    QFETCH(QString, text);
    QFETCH(QSizeF, size);
    QFETCH(Rects, bounds);
    const QList<gridgauge::markup::ElementBox> boxes = boxesOf(text, size);
    QCOMPARE(boxes.size(), bounds.size());
    Rects actual;
    for (const gridgauge::markup::ElementBox& b : boxes)
        actual.append(b.bounds);
    QCOMPARE(actual, bounds);
}

void MarkupLayoutTest::clips_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("element");
    QTest::addColumn<QRectF>("clip"); // null: nothing of it shows

    QTest::newRow("an overflowing child is cut at its slot")
        << "<Border Width='40'><StackPanel Orientation='Horizontal' HorizontalAlignment='Center'>"
           "<Border Width='30'/><Border Width='30'/></StackPanel></Border>"
        << 1 << QRectF(30, 0, 40, 50);
    QTest::newRow("and so is what it holds")
        << "<Border Width='40'><StackPanel Orientation='Horizontal' HorizontalAlignment='Center'>"
           "<Border Width='30'/><Border Width='30'/></StackPanel></Border>"
        << 3 << QRectF(30, 0, 40, 50);
    QTest::newRow("Min beats Max: nothing of it cut")
        << "<Border MinWidth='30' MaxWidth='20' HorizontalAlignment='Left'/>" << 0
        << QRectF(0, 0, 100, 50);
    QTest::newRow("a child that fits is cut only at the area")
        << "<Border Margin='-10,0,0,0'><Border/></Border>" << 1 << QRectF(0, 0, 100, 50);
    QTest::newRow("content past Max is cut at Max, from the start")
        << "<TextBlock MaxWidth='20' HorizontalAlignment='Right' Text='abcdefghij'/>" << 0
        << QRectF(80, 0, 20, 50);
    QTest::newRow("chrome past a zero Width shows nothing")
        << "<Border Width='0' BorderThickness='1' HorizontalAlignment='Left'/>" << 0 << QRectF();
    QTest::newRow("hidden shows nothing")
        << "<StackPanel><Border Height='10' Visibility='Hidden'/></StackPanel>" << 1 << QRectF();
    QTest::newRow("nor does what a hidden element holds")
        << "<Border Visibility='Hidden'><Border/></Border>" << 1 << QRectF();
    QTest::newRow("collapsed shows nothing")
        << "<StackPanel><Border Visibility='Collapsed'><Border/></Border></StackPanel>" << 2
        << QRectF();
    QTest::newRow("a canvas's children are not cut at the canvas")
        << "<Border Width='20' HorizontalAlignment='Left'><Canvas><Border Canvas.Left='30' "
           "Width='10' Height='10'/></Canvas></Border>"
        << 2 << QRectF(0, 0, 100, 50);
    QTest::newRow("a child past its wrap panel's item slot is cut at the slot")
        << "<WrapPanel ItemWidth='30'><Border Width='40' Height='5'/></WrapPanel>" << 1
        << QRectF(0, 0, 30, 5);
}

void MarkupLayoutTest::clips() {
    QFETCH(QString, text);
    QFETCH(int, element);
    QFETCH(QRectF, clip);
    const QList<gridgauge::markup::ElementBox> boxes = boxesOf(text, box);
    QVERIFY(element < boxes.size());
    if (clip.isNull())
        QVERIFY2(boxes[element].clip.isEmpty(), qPrintable(QDebug::toString(boxes[element].clip)));
    else
        QCOMPARE(boxes[element].clip, clip);
}

void MarkupLayoutTest::lines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<Rects>("rects");

    QTest::newRow("padding moves the text")
        << "<TextBlock HorizontalAlignment='Left' VerticalAlignment='Top' Text='abc' "
           "Padding='1,2'/>"
        << QStringList{"abc"} << Rects{{1, 2, 15, 10}};
    QTest::newRow("right-aligned text") << "<TextBlock Width='50' TextAlignment='Right' Text='ab'/>"
                                        << QStringList{"ab"} << Rects{{65, 0, 10, 10}};
    QTest::newRow("centred text") << "<TextBlock Width='50' TextAlignment='Center' Text='ab'/>"
                                  << QStringList{"ab"} << Rects{{45, 0, 10, 10}};
    QTest::newRow("text wider than its block starts at the block's start")
        << "<TextBlock Width='20' TextAlignment='Center' Text='abcdefgh'/>"
        << QStringList{"abcdefgh"} << Rects{{40, 0, 40, 10}};
    QTest::newRow("line breaks, blanks around them dropped")
        << "<TextBlock HorizontalAlignment='Left' VerticalAlignment='Top'>ab <LineBreak/> "
           "cde<LineBreak/></TextBlock>"
        << QStringList{"ab", "cde", ""} << Rects{{0, 0, 10, 10}, {0, 10, 15, 10}, {0, 20, 0, 10}};
    // The blank in the larger font is dropped where the line ends, and with it that font: the
    // lines are as high as the text they show.
    QTest::newRow("a blank dropped at a line's end takes its font with it")
        << "<TextBlock HorizontalAlignment='Left' VerticalAlignment='Top'>ab<Run FontSize='40'> "
           "</Run><LineBreak/>c<Run FontSize='40'> </Run></TextBlock>"
        << QStringList{"ab", "c"} << Rects{{0, 0, 10, 10}, {0, 10, 5, 10}};
    QTest::newRow("wrapped at words, a long word broken")
        << "<TextBlock Width='52' TextWrapping='Wrap' Text='aaa bbb ccc dddddddddddddd'/>"
        << QStringList{"aaa bbb", "ccc", "dddddddddd", "dddd"}
        << Rects{{24, 0, 35, 10}, {24, 10, 15, 10}, {24, 20, 50, 10}, {24, 30, 20, 10}};
    QTest::newRow("wrapped with overflow: a long word overhangs")
        << "<TextBlock Width='52' TextWrapping='WrapWithOverflow' "
           "Text='aaa bbb ccc dddddddddddddd'/>"
        << QStringList{"aaa bbb", "ccc", "dddddddddddddd"}
        << Rects{{24, 0, 35, 10}, {24, 10, 15, 10}, {24, 20, 70, 10}};
    QTest::newRow("runs of two fonts on wrapped lines")
        << "<TextBlock Width='40' TextWrapping='Wrap' HorizontalAlignment='Left'>aa <Bold>bb "
           "cc</Bold> dd</TextBlock>"
        << QStringList{"aa bb", "cc dd"} << Rects{{0, 0, 27, 10}, {0, 10, 27, 10}};
    QTest::newRow("text in a star column wraps at what the Auto column leaves")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/><ColumnDefinition/>"
           "</Grid.ColumnDefinitions><Border Width='20'/><TextBlock Grid.Column='1' "
           "TextWrapping='Wrap' Text='aaaa bbbb cccc dddd'/></Grid>"
        << QStringList{"aaaa bbbb cccc", "dddd"} << Rects{{20, 0, 70, 10}, {20, 10, 20, 10}};
    QTest::newRow("trimmed between characters")
        << "<TextBlock Width='32' TextTrimming='CharacterEllipsis' Text='abcdefghij'/>"
        << QStringList{QStringLiteral("abcde\u2026")} << Rects{{34, 0, 30, 10}};
    QTest::newRow("trimmed after a word")
        << "<TextBlock Width='42' TextTrimming='WordEllipsis' Text='abc defg hij'/>"
        << QStringList{QStringLiteral("abc\u2026")} << Rects{{29, 0, 20, 10}};
    QTest::newRow("trimming text that fits changes nothing")
        << "<TextBlock Width='42' TextTrimming='WordEllipsis' Text='abc'/>" << QStringList{"abc"}
        << Rects{{29, 0, 15, 10}};
    QTest::newRow("wrapped and trimmed: the last line that fits ends with an ellipsis")
        << "<TextBlock Width='40' Height='25' TextWrapping='Wrap' "
           "TextTrimming='CharacterEllipsis' Text='aaa bbb ccc ddd eee'/>"
        << QStringList{"aaa bbb", QStringLiteral("ccc ddd\u2026")}
        << Rects{{30, 12.5, 35, 10}, {30, 22.5, 40, 10}};
    QTest::newRow("an ellipsis wider than its block starts at the block's start")
        << "<TextBlock Width='3' Height='10' HorizontalAlignment='Left' VerticalAlignment='Top' "
           "TextAlignment='Center' TextTrimming='CharacterEllipsis'><LineBreak/><LineBreak/>"
           "</TextBlock>"
        << QStringList{QStringLiteral("\u2026")} << Rects{{0, 0, 5, 10}};
}

void MarkupLayoutTest::lines() {
    QFETCH(QString, text);
    QFETCH(QStringList, texts);
    QFETCH(Rects, rects);
    const QList<gridgauge::markup::ElementBox> boxes = boxesOf(text, box);
    QVERIFY(!boxes.isEmpty());
    const gridgauge::markup::ElementBox& block = boxes.back();
    QCOMPARE(block.kind, gridgauge::markup::ElementKind::TextBlock);
    QStringList shown;
    Rects placed;
    for (const gridgauge::markup::TextLineBox& line : block.lines) {
        shown.append(line.text);
        placed.append(line.rect);
    }
    QCOMPARE(shown, texts);
    QCOMPARE(placed, rects);
}

void MarkupLayoutTest::realFontWrapsWithinTheBox() {
    const QString text = "<TextBlock TextWrapping='Wrap' Text='The quick brown fox jumps over "
                         "the lazy dog, again and again'/>";
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    QVERIFY(document);
    const QList<gridgauge::markup::ElementBox> boxes =
        gridgauge::markup::layoutBoxes(*document, {120, 200}, QFont());
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].lines.size() > 1);
    QString joined;
    double top = 0;
    for (const gridgauge::markup::TextLineBox& line : boxes[0].lines) {
        QVERIFY2(line.rect.width() <= 120, qPrintable(line.text));
        QCOMPARE(line.rect.top(), top); // stacked without gaps
        top = line.rect.bottom();
        joined += (joined.isEmpty() ? "" : " ") + line.text;
    }
    QCOMPARE(joined, "The quick brown fox jumps over the lazy dog, again and again");
}

// With unbounded room, measured by the font engine: what a grid column sizes itself to.
void MarkupLayoutTest::desiredSize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("size");
    const QFontMetricsF metrics{QFont()};
    const double line = metrics.ascent() + metrics.descent();
    QTest::newRow("fixed-size Border, its margin included")
        << "<Border Width='30' Height='12' Margin='1,2,3,4' HorizontalAlignment='Left'/>"
        << QSizeF(34, 18);
    QTest::newRow("Border sized to its child and padding")
        << "<Border Padding='2' BorderThickness='1'><Border Width='8' Height='3'/></Border>"
        << QSizeF(14, 9);
    QTest::newRow("TextBlock as wide as its text")
        << "<TextBlock Text='Progress 75%'/>"
        << QSizeF(metrics.horizontalAdvance("Progress 75%"), line);
    QTest::newRow("TextBlock, its padding included")
        << "<TextBlock Padding='1'>Progress 100% done</TextBlock>"
        << QSizeF(metrics.horizontalAdvance("Progress 100% done") + 2, line + 2);
    QTest::newRow("wrapping TextBlock keeps one line")
        << "<TextBlock TextWrapping='Wrap' Text='a b c d e f g'/>"
        << QSizeF(metrics.horizontalAdvance("a b c d e f g"), line);
    QTest::newRow("StackPanel of two, stacked")
        << "<StackPanel><Border Width='20' Height='5'/><Border Width='10' Height='7'/></StackPanel>"
        << QSizeF(20, 12);
    QTest::newRow("StackPanel of two, side by side")
        << "<StackPanel Orientation='Horizontal'><Border Width='20' Height='5'/>"
           "<Border Width='10' Height='7'/></StackPanel>"
        << QSizeF(30, 7);
    QTest::newRow("star columns sized to their content")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition/><ColumnDefinition Width='3*'/>"
           "</Grid.ColumnDefinitions><Border Width='10' Height='2'/><Border Grid.Column='1' "
           "Width='30' Height='4'/></Grid>"
        << QSizeF(40, 4);
    QTest::newRow("wrap panel without bound: one line")
        << "<WrapPanel><Border Width='30' Height='5'/><Border Width='20' Height='7'/></WrapPanel>"
        << QSizeF(50, 7);
    QTest::newRow("wrap panel of item slots")
        << "<WrapPanel Orientation='Vertical' ItemWidth='8' ItemHeight='4'><Border Width='30'/>"
           "<Border/></WrapPanel>"
        << QSizeF(8, 8);
    QTest::newRow("dock panel: the sides' needs added up where they meet")
        << "<DockPanel><Border DockPanel.Dock='Top' Width='30' Height='10'/><Border "
           "DockPanel.Dock='Left' Width='20' Height='25'/><Border Width='5' Height='5'/>"
           "</DockPanel>"
        << QSizeF(30, 35);
    QTest::newRow("an image at its picture's size")
        << "<Image Source='box:40x20' Margin='1'/>" << QSizeF(42, 22);
    QTest::newRow("a canvas asks for nothing")
        << "<Canvas><Border Width='30' Height='10'/></Canvas>" << QSizeF(0, 0);
    QTest::newRow("negative margin asks for nothing")
        << "<Border Width='4' Height='4' Margin='-10'/>" << QSizeF(0, 0);
    QTest::newRow("taller than any screen stops where layout lengths do")
        << "<StackPanel><Border Height='900000'/><Border Height='900000'/></StackPanel>"
        << QSizeF(0, 1e6);
}

void MarkupLayoutTest::desiredSize() {
    QFETCH(QString, text);
    QFETCH(QSizeF, size);
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    QVERIFY(document);
    gridgauge::markup::HostStyle host;
    host.setImageResolver(&pictures());
    QCOMPARE(gridgauge::markup::desiredSize(*document, QFont(), host), size);
}

QTEST_MAIN(MarkupLayoutTest)
#include "test_markup_layout.moc"
