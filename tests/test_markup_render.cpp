// Where the layout puts things and what ends up in the pixels.
#include "gridgauge/markup/markup.h"
#include "layout.h"
#include "layout_boxes.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include "markup_samples.h"

Q_DECLARE_METATYPE(gridgauge::markup::HostStyle)

namespace {

using Kind = gridgauge::markup::ElementKind;

// The box the grid gives a caption in a 100 x 20 cell.
const QRectF cellBox(0, 0, 96, 18);

QList<gridgauge::markup::ElementBox> boxesOf(const QString& text, QSizeF size = cellBox.size()) {
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    return document ? gridgauge::markup::layoutBoxes(*document, size, QFont())
                    : QList<gridgauge::markup::ElementBox>();
}

QImage rendered(const QString& text, QSize image, const QRectF& box, qreal ratio = 1) {
    QImage result(image * ratio, QImage::Format_ARGB32);
    result.setDevicePixelRatio(ratio);
    result.fill(Qt::white);
    if (const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text)) {
        QPainter painter(&result);
        gridgauge::markup::render(painter, *document, box, QFont());
    }
    return result;
}

bool near(const QColor& actual, const QColor& expected, int tolerance) {
    return qAbs(actual.red() - expected.red()) <= tolerance &&
           qAbs(actual.green() - expected.green()) <= tolerance &&
           qAbs(actual.blue() - expected.blue()) <= tolerance;
}

bool greenish(const QColor& c) {
    return c.green() > c.red() + 20 && c.green() > c.blue() + 20;
}
bool whitish(const QColor& c) {
    return c.red() > 230 && c.green() > 230 && c.blue() > 230;
}

// The first and one past the last greenish column of a row.
std::pair<int, int> greenSpan(const QImage& image, int y) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (greenish(image.pixelColor(x, y))) {
            last = x;
            if (first < 0)
                first = x;
        }
    }
    return {first, last + 1};
}

const QColor trackBorder(0x5E7293), barBorder(0x658C4B), barLeft(0x658C4B), barRight(0xA4DB64),
    trackTop(0xC0CBDF), trackBottom(0xDCE9FA);

} // namespace

class MarkupRenderTest : public QObject {
    Q_OBJECT

private slots:
    void layoutOfCaptions_data();
    void layoutOfCaptions();
    void textIsCentredWhereAsked();
    void layoutRules_data();
    void layoutRules();
    void nestedBarPixels_data();
    void nestedBarPixels();
    void layeredBarPixels();
    void overfullBarStaysInTrack();
    void tinyCellsDrawEmptyBars_data();
    void tinyCellsDrawEmptyBars();
    void colours_data();
    void colours();
    void painterStateIsKept();
    void repaintInAnotherBoxLaysOutAgain();
    void pixels_data();
    void pixels();
    void relativeGradientBandsAreSquareInPixels();
    void laidOutLinesArePainted_data();
    void laidOutLinesArePainted();
    void drawingLaysOutOnlyWhenItMust();
    void aKeptDrawingPaintsEitherDirectionAsAFreshOne();
    void decorationsAreDrawn_data();
    void decorationsAreDrawn();
    void onlyInstalledFamiliesAreAskedFor();
    void runsTakeTheirStyleAndWeight_data();
    void runsTakeTheirStyleAndWeight();
    void textFollowsTheHost_data();
    void textFollowsTheHost();
    void aKeptDrawingTakesEachPaintsHostColour();
};

void MarkupRenderTest::layoutOfCaptions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QRectF>("shown"); // what of it shows; null for nothing
    const QRectF nothing;
    QTest::newRow("nested track") << samples::nested << 0 << int(Kind::Border)
                                  << QRectF(0, 0, 96, 18) << QRectF(0, 0, 96, 18);
    QTest::newRow("nested bar") << samples::nested << 1 << int(Kind::Border) << QRectF(2, 2, 69, 14)
                                << QRectF(2, 2, 69, 14);
    QTest::newRow("layered panel") << samples::layered << 0 << int(Kind::StackPanel)
                                   << QRectF(0, 0, 96, 18) << QRectF(0, 0, 96, 18);
    QTest::newRow("layered grid") << samples::layered << 1 << int(Kind::Grid)
                                  << QRectF(0, 0, 96, 16) << QRectF(0, 0, 96, 16);
    QTest::newRow("layered track") << samples::layered << 2 << int(Kind::Border)
                                   << QRectF(0, 0, 96, 16) << QRectF(0, 0, 96, 16);
    QTest::newRow("layered bar") << samples::layered << 3 << int(Kind::Border)
                                 << QRectF(0, 0, 72, 16) << QRectF(0, 0, 72, 16);
    QTest::newRow("layered label") << samples::layered << 4 << int(Kind::Border)
                                   << QRectF(0, 0, 96, 16) << QRectF(0, 0, 96, 16);
    // A bar of width 0 still holds its border on each side: it is arranged 2 wide and cut at 0.
    QTest::newRow("nested bar -3") << samples::nestedWith("-3", "18", "75") << 1
                                   << int(Kind::Border) << QRectF(2, 2, 2, 14) << nothing;
    QTest::newRow("nested bar 0") << samples::nestedWith("0", "18", "0") << 1 << int(Kind::Border)
                                  << QRectF(2, 2, 2, 14) << nothing;
    QTest::newRow("nested bar -6") << samples::nestedWith("-6", "18", "75") << 1
                                   << int(Kind::Border) << QRectF(2, 2, 2, 14) << nothing;
    // Height 0, holding its border and padding: 4 high, centred as 0 high, cut at 0.
    QTest::newRow("nested height -1") << samples::nestedWith("69", "-1", "75") << 0
                                      << int(Kind::Border) << QRectF(0, 9, 96, 4) << nothing;
    QTest::newRow("nested bar 138")
        << samples::nestedWith("138", "18", "150") << 1 << int(Kind::Border)
        << QRectF(2, 2, 138, 14) << QRectF(2, 2, 92, 14);
    QTest::newRow("layered bar -2") << samples::layeredWith("-4", "-2", "50") << 3
                                    << int(Kind::Border) << QRectF(48, 0, 2, 16) << nothing;
}

void MarkupRenderTest::layoutOfCaptions() {
    QFETCH(QString, text);
    QFETCH(int, element);
    QFETCH(int, kind);
    QFETCH(QRectF, bounds);
    QFETCH(QRectF, shown);
    const QList<gridgauge::markup::ElementBox> boxes = boxesOf(text);
    QVERIFY(element < boxes.size());
    QCOMPARE(int(boxes[element].kind), kind);
    QCOMPARE(boxes[element].bounds, bounds);
    const QRectF visible = boxes[element].bounds.intersected(boxes[element].clip);
    if (shown.isNull())
        QVERIFY2(visible.isEmpty(), qPrintable(QDebug::toString(visible)));
    else
        QCOMPARE(visible, shown);
}

void MarkupRenderTest::textIsCentredWhereAsked() {
    const QList<gridgauge::markup::ElementBox> nested = boxesOf(samples::nested);
    QCOMPARE(nested.size(), 3);
    QCOMPARE(nested[2].kind, Kind::TextBlock);
    QCOMPARE(nested[2].depth, 2);
    QCOMPARE(nested[2].text.center(), nested[1].bounds.center()); // on the bar, not the track

    const QList<gridgauge::markup::ElementBox> layered = boxesOf(samples::layered);
    QCOMPARE(layered.size(), 6);
    QCOMPARE(layered[5].kind, Kind::TextBlock);
    QCOMPARE(layered[5].text.center(), layered[2].bounds.center()); // on the whole track
}

void MarkupRenderTest::layoutRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("element");
    QTest::addColumn<QRectF>("bounds");
    const QString columns =
        "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='10'/><ColumnDefinition "
        "Width='Auto'/><ColumnDefinition Width='*'/><ColumnDefinition Width='2*'/>"
        "</Grid.ColumnDefinitions><Border Grid.Column='1' Width='20'/><Border Grid.Column='2'/>"
        "<Border Grid.Column='3'/><Border Grid.Column='0'/><Border Grid.Column='7'/></Grid>";
    QTest::newRow("pixel column") << columns << 4 << QRectF(0, 0, 10, 18);
    QTest::newRow("auto column") << columns << 1 << QRectF(10, 0, 20, 18);
    QTest::newRow("star column") << columns << 2 << QRectF(30, 0, 22, 18);
    QTest::newRow("2-star column") << columns << 3 << QRectF(52, 0, 44, 18);
    QTest::newRow("column past the last") << columns << 5 << QRectF(52, 0, 44, 18);
    const QString row = "<StackPanel Orientation='Horizontal'><Border Width='10'/><Border "
                        "Width='20' Margin='1,2'/></StackPanel>";
    QTest::newRow("horizontal stack, first") << row << 1 << QRectF(0, 0, 10, 18);
    QTest::newRow("horizontal stack, margin") << row << 2 << QRectF(11, 2, 20, 14);
    const QString column = "<StackPanel><Border Height='5'/><Border MinHeight='4'/></StackPanel>";
    QTest::newRow("vertical stack") << column << 2 << QRectF(0, 5, 96, 4);
    QTest::newRow("right aligned")
        << "<Border Width='10' HorizontalAlignment='Right' VerticalAlignment='Bottom' Height='4'/>"
        << 0 << QRectF(86, 14, 10, 4);
    QTest::newRow("sized but stretched: centred")
        << "<Border Width='10' Height='4'/>" << 0 << QRectF(43, 7, 10, 4);
    QTest::newRow("min beats max")
        << "<Border MinWidth='30' MaxWidth='20' HorizontalAlignment='Left'/>" << 0
        << QRectF(0, 0, 30, 18);
    QTest::newRow("max caps stretch") << "<Border MaxWidth='20'/>" << 0 << QRectF(38, 0, 20, 18);
    QTest::newRow("aligned: content size")
        << "<Border MaxWidth='20' HorizontalAlignment='Left'/>" << 0 << QRectF(0, 0, 0, 18);
    QTest::newRow("border, padding, margin")
        << "<Border Margin='1' BorderThickness='1,2,3,4' Padding='2'><Border/></Border>" << 1
        << QRectF(4, 5, 86, 6);
    QTest::newRow("auto width from content")
        << "<Border HorizontalAlignment='Left' Padding='3'><Border Width='Auto'><Border "
           "Width='10'/></Border></Border>"
        << 0 << QRectF(0, 0, 16, 18);
    QTest::newRow("inches") << "<Border Width='0.5in' HorizontalAlignment='Left'/>" << 0
                            << QRectF(0, 0, 48, 18);
    QTest::newRow("centimetres") << "<Border Width='2.54cm' HorizontalAlignment='Left'/>" << 0
                                 << QRectF(0, 0, 96, 18);
    QTest::newRow("points") << "<Border Width=' 36 pt ' HorizontalAlignment='Left'/>" << 0
                            << QRectF(0, 0, 48, 18);
    QTest::newRow("negative is zero")
        << "<Border Width='-5' HorizontalAlignment='Left'/>" << 0 << QRectF(0, 0, 0, 18);
    QTest::newRow("two-number thickness")
        << "<Border BorderThickness='3 2'><Border/></Border>" << 1 << QRectF(3, 2, 90, 14);
}

void MarkupRenderTest::layoutRules() {
    QFETCH(QString, text);
    QFETCH(int, element);
    QFETCH(QRectF, bounds);
    const QList<gridgauge::markup::ElementBox> boxes = boxesOf(text);
    QVERIFY(element < boxes.size());
    QCOMPARE(boxes[element].bounds, bounds);
}

void MarkupRenderTest::nestedBarPixels_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("ratio 1") << qreal(1);
    QTest::newRow("ratio 2") << qreal(2);
}

void MarkupRenderTest::nestedBarPixels() {
    QFETCH(qreal, ratio);
    const int r = int(ratio);
    const QImage image = rendered(samples::nested, cellBox.size().toSize(), cellBox, ratio);
    const QList<gridgauge::markup::ElementBox> boxes = boxesOf(samples::nested);
    const QRect bar = boxes[1].bounds.toRect();
    const int middle = 9 * r;

    // Border, gradient and text: green from the bar's left edge to exactly its width.
    QCOMPARE(greenSpan(image, middle), std::make_pair(bar.left() * r, (bar.right() + 1) * r));
    for (int i = 0; i < r; ++i) {
        QCOMPARE(image.pixelColor(bar.left() * r + i, middle), barBorder);
        QCOMPARE(image.pixelColor((bar.right() + 1) * r - 1 - i, middle), barBorder);
        QCOMPARE(image.pixelColor(i, middle), trackBorder);
        QCOMPARE(image.pixelColor(96 * r - 1 - i, middle), trackBorder);
        QCOMPARE(image.pixelColor(80 * r, i), trackBorder);
        QCOMPARE(image.pixelColor(80 * r, 18 * r - 1 - i), trackBorder);
    }
    QVERIFY(!near(image.pixelColor(r, middle), trackBorder, 10)); // a crisp border, r pixels wide

    QVERIFY(near(image.pixelColor((bar.left() + 1) * r, middle), barLeft, 6));
    QVERIFY(near(image.pixelColor(bar.right() * r - 1, middle), barRight, 6));

    // The track shows to the right of the bar, top to bottom.
    QVERIFY(near(image.pixelColor((bar.right() + 2) * r, r), trackTop, 6));
    QVERIFY(near(image.pixelColor(94 * r, 17 * r - 1), trackBottom, 6));
    QVERIFY(!greenish(image.pixelColor((bar.right() + 1) * r, middle)));

    // White text on the bar, and nowhere else.
    int onBar = 0, elsewhere = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (whitish(image.pixelColor(x, y)))
                (QRect(bar.topLeft() * r, bar.size() * r).contains(x, y) ? onBar : elsewhere)++;
        }
    }
    QVERIFY2(onBar > 20 * r * r, qPrintable(QString::number(onBar)));
    QCOMPARE(elsewhere, 0);
}

void MarkupRenderTest::layeredBarPixels() {
    const QImage image = rendered(samples::layered, cellBox.size().toSize(), cellBox);
    QCOMPARE(greenSpan(image, 8).first, 1);
    QCOMPARE(image.pixelColor(71, 8), trackBorder); // the bar's own border ends it
    QCOMPARE(image.pixelColor(72, 8).name(), image.pixelColor(80, 8).name());
    // The gradient property replaced the Blue attribute.
    QVERIFY(near(image.pixelColor(80, 8), QColor(0xCE, 0xDA, 0xEC), 8));
    QCOMPARE(image.pixelColor(50, 17), QColor(Qt::white)); // the track is 16 high
}

void MarkupRenderTest::overfullBarStaysInTrack() {
    const QString text = samples::nestedWith("138", "18", "150");
    const QImage image = rendered(text, {100, 20}, QRectF(2, 1, 96, 18));
    QCOMPARE(greenSpan(image, 10), std::make_pair(4, 96)); // cut at the track's padding
    QCOMPARE(image.pixelColor(97, 10), trackBorder);
}

void MarkupRenderTest::tinyCellsDrawEmptyBars_data() {
    QTest::addColumn<int>("cellWidth");
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<QString>("text");
    QTest::newRow("5 pixels wide") << 5 << 20 << samples::nestedWith("-3", "18", "75");
    QTest::newRow("8 pixels wide") << 8 << 20 << samples::nestedWith("0", "18", "75");
    QTest::newRow("0 pixels wide") << 0 << 20 << samples::nestedWith("-6", "18", "75");
    QTest::newRow("1 pixel high") << 100 << 1 << samples::nestedWith("69", "-1", "75");
    QTest::newRow("layered, 4 wide") << 4 << 20 << samples::layeredWith("0", "0", "75");
    QTest::newRow("layered, 0 wide") << 0 << 20 << samples::layeredWith("-4", "-2", "50");
}

void MarkupRenderTest::tinyCellsDrawEmptyBars() {
    QFETCH(int, cellWidth);
    QFETCH(int, cellHeight);
    QFETCH(QString, text);
    const QRect box(2, 1, cellWidth - 4, cellHeight - 2);
    const QImage image = rendered(text, {20, 20}, box);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            QVERIFY(!greenish(c));
            if (!box.contains(x, y))
                QCOMPARE(c, QColor(Qt::white));
        }
    }
}

void MarkupRenderTest::colours_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("#RGB") << "#F80" << QColor(0xFF, 0x88, 0x00);
    QTest::newRow("#ARGB") << "#0F80" << QColor(Qt::white); // transparent
    QTest::newRow("#ARGB, opaque") << "#F00F" << QColor(Qt::blue);
    QTest::newRow("#RRGGBB") << "#5E7293" << QColor(0x5E, 0x72, 0x93);
    QTest::newRow("#AARRGGBB") << "#FF658C4B" << QColor(0x65, 0x8C, 0x4B);
    QTest::newRow("name") << "White" << QColor(Qt::white);
    QTest::newRow("name, any case") << "darkBLUE" << QColor(0, 0, 0x8B);
    QTest::newRow("Transparent") << "Transparent" << QColor(Qt::white);
    QTest::newRow("unreadable") << "#12345" << QColor(Qt::white);
}

void MarkupRenderTest::colours() {
    QFETCH(QString, value);
    QFETCH(QColor, expected);
    const QImage image =
        rendered("<Border Background='" + value + "'/>", {4, 4}, QRectF(0, 0, 4, 4));
    QCOMPARE(image.pixelColor(2, 2), expected);
}

void MarkupRenderTest::painterStateIsKept() {
    QImage image(100, 20, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.translate(3, 4);
    painter.setPen(Qt::red);
    painter.setFont(QFont("Serif", 20));
    painter.setClipRect(0, 0, 50, 10);
    gridgauge::markup::render(painter, *gridgauge::markup::parse(samples::nested), cellBox,
                              QFont());
    QCOMPARE(painter.transform(), QTransform::fromTranslate(3, 4));
    QCOMPARE(painter.pen().color(), QColor(Qt::red));
    QCOMPARE(painter.font().pointSize(), 20);
    QCOMPARE(painter.clipBoundingRect(), QRectF(0, 0, 50, 10));
}

void MarkupRenderTest::repaintInAnotherBoxLaysOutAgain() {
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(samples::nested);
    QImage image(100, 20, QImage::Format_ARGB32);
    auto paint = [&](const gridgauge::markup::Document& d, qreal width, const QFont& font) {
        image.fill(Qt::white);
        QPainter painter(&image);
        gridgauge::markup::render(painter, d, QRectF(0, 0, width, 18), font);
        painter.end();
        return image.copy();
    };
    auto rightmostBorder = [&] {
        int last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, 8) == trackBorder)
                last = x;
        }
        return last;
    };
    for (const qreal width : {96.0, 60.0, 96.0}) {
        paint(*document, width, QFont());
        QCOMPARE(rightmostBorder(), int(width) - 1);
    }
    QFont large;
    large.setPixelSize(30);
    const QImage first = paint(*gridgauge::markup::parse(samples::nested), 96, large);
    QVERIFY(paint(*document, 96, large) == first);
    QVERIFY(paint(*document, 96, QFont()) != first);
}

void MarkupRenderTest::pixels_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("expected");
    QTest::addColumn<qreal>("ratio");
    const QSize square(20, 20);
    const QColor white(Qt::white), red(Qt::red), blue(Qt::blue), black(Qt::black);

    // Opacity is the element's and its content's together, laid over what is below.
    const QString group = "<Border Background='Red' Opacity='0.5'><Border Background='Blue' "
                          "Margin='5'/></Border>";
    QTest::newRow("opacity: the child over the parent, then both over the page")
        << group << square << QPoint(10, 10) << QColor(127, 127, 255) << qreal(1);
    QTest::newRow("opacity at twice the resolution")
        << group << square << QPoint(10, 10) << QColor(127, 127, 255) << qreal(2);
    QTest::newRow("opacity: the parent alone")
        << group << square << QPoint(2, 2) << QColor(255, 127, 127) << qreal(1);
    QTest::newRow("opacity within opacity multiplies")
        << "<Border Opacity='0.5'><Border Background='Blue' Opacity='0.5'/></Border>" << square
        << QPoint(10, 10) << QColor(191, 191, 255) << qreal(1);
    QString deep = "<Border Background='Black'/>";
    for (int i = 0; i < 10; ++i)
        deep = "<Border Opacity='0.9'>" + deep + "</Border>";
    // Black at 0.9 to the tenth, 0.349, over white.
    QTest::newRow("opacity ten deep")
        << deep << square << QPoint(10, 10) << QColor(166, 166, 166) << qreal(1);
    QTest::newRow("opacity 0 draws nothing") << "<Border Background='Red' Opacity='0'/>" << square
                                             << QPoint(10, 10) << white << qreal(1);
    QTest::newRow("hidden draws nothing") << "<Border Background='Red' Visibility='Hidden'/>"
                                          << square << QPoint(10, 10) << white << qreal(1);
    QTest::newRow("nor does what it holds")
        << "<Border Visibility='Hidden'><Border Background='Red'/></Border>" << square
        << QPoint(10, 10) << white << qreal(1);

    // A centred row wider than its slot is cut at the slot on both sides.
    const QString overflow =
        "<Border Width='20'><StackPanel Orientation='Horizontal' HorizontalAlignment='Center'>"
        "<Border Width='15' Background='Red'/><Border Width='15' Background='Blue'/></StackPanel>"
        "</Border>";
    QTest::newRow("overflow: cut on the left")
        << overflow << QSize(40, 10) << QPoint(9, 5) << white << qreal(1);
    QTest::newRow("overflow: the first child from the slot's start")
        << overflow << QSize(40, 10) << QPoint(10, 5) << red << qreal(1);
    QTest::newRow("overflow: the second child where it lies")
        << overflow << QSize(40, 10) << QPoint(29, 5) << blue << qreal(1);
    QTest::newRow("overflow: cut on the right")
        << overflow << QSize(40, 10) << QPoint(30, 5) << white << qreal(1);
    const QString past = "<StackPanel Orientation='Horizontal' MaxWidth='10' "
                         "HorizontalAlignment='Left'><Border Width='30' Background='Red'/>"
                         "</StackPanel>";
    QTest::newRow("content past Max shows up to Max")
        << past << QSize(40, 10) << QPoint(9, 5) << red << qreal(1);
    QTest::newRow("and no further") << past << QSize(40, 10) << QPoint(10, 5) << white << qreal(1);

    // Gradients placed in pixels from the element's top-left, and elliptic ones.
    const QString absolute =
        "<Border Width='40' Margin='10,0,0,0' HorizontalAlignment='Left'><Border.Background>"
        "<LinearGradientBrush MappingMode='Absolute' StartPoint='0,0' EndPoint='20,0'>"
        "<GradientStop Color='Black' Offset='0'/><GradientStop Color='White' Offset='1'/>"
        "</LinearGradientBrush></Border.Background></Border>";
    QTest::newRow("absolute gradient: its start")
        << absolute << QSize(60, 10) << QPoint(10, 5) << QColor(6, 6, 6) << qreal(1);
    QTest::newRow("absolute gradient: halfway")
        << absolute << QSize(60, 10) << QPoint(20, 5) << QColor(134, 134, 134) << qreal(1);
    QTest::newRow("absolute gradient: past its end")
        << absolute << QSize(60, 10) << QPoint(35, 5) << white << qreal(1);
    const QString radial = "<Border><Border.Background><RadialGradientBrush><GradientStop "
                           "Color='White' Offset='0'/><GradientStop Color='Black' Offset='1'/>"
                           "</RadialGradientBrush></Border.Background></Border>";
    // Pixel centres, as fractions of the radii 20 and 10 from the centre (20, 10): (0.025,
    // 0.05) is 0.056 of the way, (0.525, 0.05) 0.527, (0.025, 0.55) 0.551.
    QTest::newRow("radial: near the centre")
        << radial << QSize(40, 20) << QPoint(20, 10) << QColor(241, 241, 241) << qreal(1);
    QTest::newRow("radial: halfway across")
        << radial << QSize(40, 20) << QPoint(30, 10) << QColor(121, 121, 121) << qreal(1);
    QTest::newRow("radial: halfway down, on the ellipse's radius")
        << radial << QSize(40, 20) << QPoint(20, 15) << QColor(115, 115, 115) << qreal(1);
    QTest::newRow("radial: black outside the ellipse")
        << radial << QSize(40, 20) << QPoint(1, 1) << black << qreal(1);
    // With its origin at the left edge, (10.5, 10.5) lies 0.265 of the way from the origin to
    // the ellipse.
    QTest::newRow("radial: from its origin")
        << "<Border><Border.Background><RadialGradientBrush GradientOrigin='0,0.5'><GradientStop "
           "Color='White' Offset='0'/><GradientStop Color='Black' Offset='1'/>"
           "</RadialGradientBrush></Border.Background></Border>"
        << QSize(40, 20) << QPoint(10, 10) << QColor(187, 187, 187) << qreal(1);
    // Centred at (10, 10), both radii 10 pixels: (10.5, 10.5) is 0.071 of the way out, (21.5,
    // 10.5) past the ellipse.
    const QString placed = "<Border><Border.Background><RadialGradientBrush Center='0.25,0.5' "
                           "GradientOrigin='0.25,0.5' RadiusX='0.25' RadiusY='0.5'><GradientStop "
                           "Color='White' Offset='0'/><GradientStop Color='Black' Offset='1'/>"
                           "</RadialGradientBrush></Border.Background></Border>";
    QTest::newRow("radial: at its Center")
        << placed << QSize(40, 20) << QPoint(10, 10) << QColor(237, 237, 237) << qreal(1);
    QTest::newRow("radial: as wide as its RadiusX")
        << placed << QSize(40, 20) << QPoint(21, 10) << black << qreal(1);

    // Text brushes: a run takes its own, else its parent's, set as an attribute or a property.
    const QString runs = QStringLiteral("<TextBlock Foreground='Blue' FontSize='20'>\u2588<Run "
                                        "Foreground='Red'>\u2588</Run><Bold><Bold.Foreground>"
                                        "<SolidColorBrush Color='Lime'/></Bold.Foreground>"
                                        "\u2588</Bold><Underline>\u2588</Underline>"
                                        "</TextBlock>");
    // Full blocks, about 15 wide each.
    QTest::newRow("text in its block's brush")
        << runs << QSize(65, 25) << QPoint(7, 10) << blue << qreal(1);
    QTest::newRow("a run in its own brush")
        << runs << QSize(65, 25) << QPoint(23, 10) << red << qreal(1);
    QTest::newRow("a brush given as a property of an inline")
        << runs << QSize(65, 25) << QPoint(38, 10) << QColor(Qt::green) << qreal(1);
    QTest::newRow("an inline takes its parent's brush")
        << runs << QSize(65, 25) << QPoint(53, 10) << blue << qreal(1);

    // Shapes
    const QString rectangle = "<Rectangle Fill='Blue' Stroke='Red' StrokeThickness='2'/>";
    QTest::newRow("rectangle: its stroke inside its box")
        << rectangle << QSize(20, 10) << QPoint(0, 0) << red << qreal(1);
    QTest::newRow("rectangle: stroke 2 wide")
        << rectangle << QSize(20, 10) << QPoint(1, 5) << red << qreal(1);
    QTest::newRow("rectangle: fill within")
        << rectangle << QSize(20, 10) << QPoint(2, 2) << blue << qreal(1);
    QTest::newRow("rounded rectangle: the corner left out")
        << "<Rectangle Fill='Blue' RadiusX='8' RadiusY='8'/>" << square << QPoint(1, 1) << white
        << qreal(1);
    QTest::newRow("ellipse: filled at the centre")
        << "<Ellipse Fill='Blue'/>" << QSize(20, 10) << QPoint(10, 5) << blue << qreal(1);
    QTest::newRow("ellipse: not in the corner")
        << "<Ellipse Fill='Blue'/>" << QSize(20, 10) << QPoint(1, 1) << white << qreal(1);
    QTest::newRow("ellipse: uniform, a circle at the start")
        << "<Ellipse Fill='Blue' Stretch='Uniform'/>" << QSize(20, 10) << QPoint(15, 5) << white
        << qreal(1);
    // An Auto row as high as the border beside the ellipse, 40: the ellipse wants 20 x 20 in
    // its 20-wide column, is arranged 20 x 40, and fills that as a circle of 40 from its
    // start. (18.5, 35.5) lies 15.6 from the circle's centre (20, 20), outside the 20 x 40
    // ellipse Fill would draw and the circle of 20 Uniform would.
    QTest::newRow("ellipse: uniform to fill, a circle as high as its slot")
        << "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='20'/><ColumnDefinition/>"
           "</Grid.ColumnDefinitions><Grid.RowDefinitions><RowDefinition Height='Auto'/>"
           "<RowDefinition/></Grid.RowDefinitions><Ellipse Fill='Blue' Stretch='UniformToFill'/>"
           "<Border Grid.Column='1' Height='40'/></Grid>"
        << QSize(60, 50) << QPoint(18, 35) << blue << qreal(1);
    // Stretch None keeps a figure's own size, and a rectangle or an ellipse has none.
    QTest::newRow("rectangle: stretched to none, nothing drawn")
        << "<Rectangle Fill='Blue' Stretch='None'/>" << QSize(20, 10) << QPoint(10, 5) << white
        << qreal(1);
    QTest::newRow("ellipse: stretched to none, nothing drawn")
        << "<Ellipse Fill='Blue' Stretch='None'/>" << QSize(20, 10) << QPoint(10, 5) << white
        << qreal(1);

    // Shape and border brushes given as property elements.
    const QString borderBrush = "<Border BorderThickness='3'><Border.BorderBrush><SolidColorBrush "
                                "Color='Red'/></Border.BorderBrush></Border>";
    QTest::newRow("BorderBrush as a property: the frame")
        << borderBrush << square << QPoint(1, 10) << red << qreal(1);
    QTest::newRow("BorderBrush as a property: not the inside")
        << borderBrush << square << QPoint(10, 10) << white << qreal(1);
    // Each side its own thickness, with nothing behind the frame to cover for it.
    const QString sides = "<Border BorderThickness='1,0,4,0' BorderBrush='Red'/>";
    QTest::newRow("a thin left side") << sides << square << QPoint(1, 10) << white << qreal(1);
    QTest::newRow("a thick right side") << sides << square << QPoint(18, 10) << red << qreal(1);
    // Black to white across the 40 pixels of the box: (10.5, 5.5) is 0.2625 of the way.
    QTest::newRow("Fill as a property: a gradient across the rectangle")
        << "<Rectangle><Rectangle.Fill><LinearGradientBrush StartPoint='0,0' EndPoint='1,0'>"
           "<GradientStop Color='Black' Offset='0'/><GradientStop Color='White' Offset='1'/>"
           "</LinearGradientBrush></Rectangle.Fill></Rectangle>"
        << QSize(40, 10) << QPoint(10, 5) << QColor(67, 67, 67) << qreal(1);
    // A circle inset by half the stroke: the stroke runs from 6 to 10 from the centre (10, 10).
    const QString stroke = "<Ellipse StrokeThickness='4'><Ellipse.Stroke><SolidColorBrush "
                           "Color='Red'/></Ellipse.Stroke></Ellipse>";
    QTest::newRow("Stroke as a property: the ring")
        << stroke << square << QPoint(1, 10) << red << qreal(1);
    QTest::newRow("Stroke as a property: not the inside")
        << stroke << square << QPoint(10, 10) << white << qreal(1);
}

void MarkupRenderTest::pixels() {
    QFETCH(QString, text);
    QFETCH(QSize, size);
    QFETCH(QPoint, at);
    QFETCH(QColor, expected);
    QFETCH(qreal, ratio);
    const QImage image = rendered(text, size, QRectF(QPointF(), size), ratio);
    const QColor actual = image.pixelColor(at * ratio);
    QVERIFY2(near(actual, expected, 3), qPrintable(actual.name()));
}

// Relative points land in the box, and the bands run square to the line between them in
// pixels, not in the box's own proportions.
void MarkupRenderTest::relativeGradientBandsAreSquareInPixels() {
    const QImage image = rendered("<Border><Border.Background><LinearGradientBrush "
                                  "StartPoint='0,0' EndPoint='1,1'><GradientStop Color='Black' "
                                  "Offset='0'/><GradientStop Color='White' Offset='1'/>"
                                  "</LinearGradientBrush></Border.Background></Border>",
                                  {40, 20}, QRectF(0, 0, 40, 20));
    // (20.5, 0.5) and (15.5, 10.5) lie on one band of the line from (0, 0) to (40, 20).
    QVERIFY(near(image.pixelColor(20, 0), image.pixelColor(15, 10), 2));
    QVERIFY(!near(image.pixelColor(20, 0), image.pixelColor(10, 10), 10));
}

void MarkupRenderTest::laidOutLinesArePainted_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("wrapped") << "<TextBlock TextWrapping='Wrap' Text='The quick brown fox "
                                "jumps over the lazy dog'/>";
    QTest::newRow("trimmed") << "<TextBlock TextTrimming='CharacterEllipsis' "
                                "Text='The quick brown fox jumps over the lazy dog'/>";
    QTest::newRow("trimmed at a word") << "<TextBlock TextTrimming='WordEllipsis' "
                                          "Text='The quick brown fox jumps over the lazy dog'/>";
}

// Each line as laid out paints what the same text written line by line paints.
void MarkupRenderTest::laidOutLinesArePainted() {
    QFETCH(QString, text);
    const QSize size(90, 60);
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    QVERIFY(document);
    const QList<gridgauge::markup::ElementBox> boxes =
        gridgauge::markup::layoutBoxes(*document, size, QFont());
    QStringList lines;
    for (const gridgauge::markup::TextLineBox& line : boxes[0].lines) {
        QVERIFY2(line.rect.right() <= size.width(), qPrintable(line.text));
        lines.append(line.text.toHtmlEscaped());
    }
    QVERIFY(lines.size() > 1 || lines[0].endsWith(QChar(0x2026)));
    const QString written = "<TextBlock>" + lines.join("<LineBreak/>") + "</TextBlock>";
    const QImage expected = rendered(written, size, QRectF(QPointF(), size));
    QCOMPARE(rendered(text, size, QRectF(QPointF(), size)), expected);
    QVERIFY(expected != rendered("<Border/>", size, QRectF(QPointF(), size)));
}

void MarkupRenderTest::drawingLaysOutOnlyWhenItMust() {
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(samples::nested));
    QImage image(100, 20, QImage::Format_ARGB32);
    auto paint = [&](const QRectF& box, const QFont& font) {
        image.fill(Qt::white);
        QPainter painter(&image);
        drawing.paint(painter, box, font);
    };
    paint(cellBox, QFont());
    QCOMPARE(drawing.layoutCount(), quint64(1));
    QCOMPARE(image, rendered(samples::nested, {100, 20}, cellBox));
    paint(cellBox.translated(2, 1), QFont());
    QCOMPARE(drawing.layoutCount(), quint64(1)); // moved, not resized
    paint(cellBox.adjusted(0, 0, -10, 0), QFont());
    QCOMPARE(drawing.layoutCount(), quint64(2));
    QFont bold;
    bold.setBold(true);
    paint(cellBox.adjusted(0, 0, -10, 0), bold);
    QCOMPARE(drawing.layoutCount(), quint64(3));
    image.setDotsPerMeterX(image.dotsPerMeterX() * 2);
    image.setDotsPerMeterY(image.dotsPerMeterY() * 2);
    paint(cellBox.adjusted(0, 0, -10, 0), bold); // fonts in points measure anew
    QCOMPARE(drawing.layoutCount(), quint64(4));
}

// The glyphs a drawing keeps are those of the direction it paints in: "ab!" ends with its "!" on
// the left right to left.
void MarkupRenderTest::aKeptDrawingPaintsEitherDirectionAsAFreshOne() {
    const QString text = "<TextBlock FontSize='20'>ab!</TextBlock>";
    const auto paint = [&](gridgauge::markup::Drawing& drawing, Qt::LayoutDirection direction) {
        QImage image(60, 30, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setLayoutDirection(direction);
        drawing.paint(painter, QRectF(0, 0, 60, 30), QFont(), direction);
        return image;
    };
    gridgauge::markup::Drawing kept(gridgauge::markup::parse(text));
    for (const Qt::LayoutDirection direction :
         {Qt::LeftToRight, Qt::RightToLeft, Qt::LeftToRight}) {
        gridgauge::markup::Drawing fresh(gridgauge::markup::parse(text));
        QCOMPARE(paint(kept, direction), paint(fresh, direction));
    }
    gridgauge::markup::Drawing fresh(gridgauge::markup::parse(text));
    QVERIFY(paint(fresh, Qt::LeftToRight) != paint(fresh, Qt::RightToLeft));
}

void MarkupRenderTest::decorationsAreDrawn_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unlike"); // another decoration, drawn elsewhere
    const QString under = "<Run TextDecorations='Underline'>a b</Run>";
    QTest::newRow("Underline") << "<Underline>a b</Underline>"
                               << "<Run TextDecorations='OverLine'>a b</Run>";
    QTest::newRow("underlined") << under << "<Run TextDecorations='Strikethrough'>a b</Run>";
    QTest::newRow("struck through") << "<Run TextDecorations='Strikethrough'>a b</Run>" << under;
    QTest::newRow("overlined") << "<Run TextDecorations='OverLine'>a b</Run>" << under;
    QTest::newRow("on the baseline") << "<Run TextDecorations='Baseline'>a b</Run>" << under;
}

// A line runs under, through or over the blank between the words. The padding leaves room for
// a line over the text within the block.
void MarkupRenderTest::decorationsAreDrawn() {
    QFETCH(QString, text);
    QFETCH(QString, unlike);
    const auto block = [](const QString& content) {
        return rendered("<TextBlock Padding='0,3,0,0'>" + content + "</TextBlock>", {60, 20},
                        QRectF(0, 0, 60, 20));
    };
    const QImage plain = block("a b");
    QCOMPARE(block("<Run TextDecorations='None'>a b</Run>"), plain);
    QVERIFY(block(text) != plain);
    QVERIFY(block(text) != block(unlike));
}

void MarkupRenderTest::onlyInstalledFamiliesAreAskedFor() {
    const QString serif = "<TextBlock FontFamily='No Such Family, DejaVu Serif'>Aa</TextBlock>";
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(serif);
    QVERIFY(document);
    const gridgauge::markup::LayoutResult layout = gridgauge::markup::layOut(
        *document, {60, 20}, QFont(), gridgauge::markup::FontEngineMeasurer());
    QCOMPARE(layout.fonts[0].families(), QStringList{"DejaVu Serif"});
    const QRectF box(0, 0, 60, 20);
    QVERIFY(rendered(serif, {60, 20}, box) != rendered("<TextBlock>Aa</TextBlock>", {60, 20}, box));
    QCOMPARE(rendered("<TextBlock FontFamily='No Such Family'>Aa</TextBlock>", {60, 20}, box),
             rendered("<TextBlock>Aa</TextBlock>", {60, 20}, box));
}

void MarkupRenderTest::runsTakeTheirStyleAndWeight_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("style");
    const int normal = QFont::StyleNormal, italic = QFont::StyleItalic;
    QTest::newRow("Italic") << "<TextBlock FontStyle='Italic'>a</TextBlock>" << 400 << italic;
    QTest::newRow("Oblique") << "<TextBlock FontStyle='Oblique'>a</TextBlock>" << 400
                             << int(QFont::StyleOblique);
    QTest::newRow("an Italic inline")
        << "<TextBlock><Italic>a</Italic></TextBlock>" << 400 << italic;
    QTest::newRow("a Bold inline") << "<TextBlock><Bold>a</Bold></TextBlock>" << 700 << normal;
    QTest::newRow("Thin") << "<TextBlock FontWeight='Thin'>a</TextBlock>" << 100 << normal;
    QTest::newRow("SemiBold") << "<TextBlock FontWeight='SemiBold'>a</TextBlock>" << 600 << normal;
    QTest::newRow("ExtraBlack") << "<TextBlock FontWeight='ExtraBlack'>a</TextBlock>" << 950
                                << normal;
    QTest::newRow("an inline keeps its block's weight")
        << "<TextBlock FontWeight='Light'><Italic>a</Italic></TextBlock>" << 300 << italic;
    QTest::newRow("and its style")
        << "<TextBlock FontStyle='Italic'><Bold>a</Bold></TextBlock>" << 700 << italic;
    QTest::newRow("a run's own style wins")
        << "<TextBlock FontStyle='Italic'><Run FontStyle='Normal'>a</Run></TextBlock>" << 400
        << normal;
}

void MarkupRenderTest::runsTakeTheirStyleAndWeight() {
    QFETCH(QString, text);
    QFETCH(int, weight);
    QFETCH(int, style);
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    QVERIFY(document);
    const gridgauge::markup::LayoutResult layout = gridgauge::markup::layOut(
        *document, {60, 20}, QFont(), gridgauge::markup::FontEngineMeasurer());
    QCOMPARE(layout.fonts.size(), size_t(1));
    QCOMPARE(int(layout.fonts[0].weight()), weight);
    QCOMPARE(int(layout.fonts[0].style()), style);
}

namespace {

// A full block at 20 pixels on grey: about 12 wide and 20 high, its middle at (6, 12).
QColor blockColour(const QString& block, const gridgauge::markup::HostStyle& host) {
    QImage image(30, 25, QImage::Format_ARGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    painter.setPen(Qt::green); // neither the painter's pen nor its brush lends text a colour
    gridgauge::markup::render(painter, *gridgauge::markup::parse(block), QRectF(0, 0, 30, 25),
                              QFont(), Qt::LeftToRight, host);
    painter.end();
    return image.pixelColor(6, 12);
}

gridgauge::markup::HostStyle hostText(const QColor& color) {
    gridgauge::markup::HostStyle host;
    host.setTextColor(color);
    return host;
}

} // namespace

void MarkupRenderTest::textFollowsTheHost_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<gridgauge::markup::HostStyle>("host");
    QTest::addColumn<QColor>("expected");
    const QString block = QStringLiteral("<TextBlock FontSize='20'>\u2588</TextBlock>");
    const gridgauge::markup::HostStyle white = hostText(Qt::white);
    QTest::newRow("no host: black") << block << gridgauge::markup::HostStyle() << QColor(Qt::black);
    QTest::newRow("no Foreground: the host's colour") << block << white << QColor(Qt::white);
    QTest::newRow("an invalid colour: black") << block << hostText(QColor()) << QColor(Qt::black);
    QTest::newRow("an inline without one: the host's colour")
        << QStringLiteral("<TextBlock FontSize='20'><Bold><Run>\u2588</Run></Bold></TextBlock>")
        << white << QColor(Qt::white);
    QTest::newRow("the block's Foreground wins")
        << QStringLiteral("<TextBlock FontSize='20' Foreground='Red'>\u2588</TextBlock>") << white
        << QColor(Qt::red);
    QTest::newRow("an enclosing inline's Foreground wins")
        << QStringLiteral("<TextBlock FontSize='20'><Italic Foreground='Blue'><Run>\u2588</Run>"
                          "</Italic></TextBlock>")
        << white << QColor(Qt::blue);
    QTest::newRow("a Foreground given as a property wins")
        << QStringLiteral("<TextBlock FontSize='20'><TextBlock.Foreground><SolidColorBrush "
                          "Color='Red'/></TextBlock.Foreground>\u2588</TextBlock>")
        << white << QColor(Qt::red);
    QTest::newRow("an unreadable Foreground: the host's colour")
        << QStringLiteral("<TextBlock FontSize='20' Foreground='#GGG'>\u2588</TextBlock>") << white
        << QColor(Qt::white);
}

void MarkupRenderTest::textFollowsTheHost() {
    QFETCH(QString, text);
    QFETCH(gridgauge::markup::HostStyle, host);
    QFETCH(QColor, expected);
    const QColor actual = blockColour(text, host);
    QVERIFY2(near(actual, expected, 3), qPrintable(actual.name()));
}

// The host's colours are the paint's, not the layout's: a kept drawing takes the colours of
// each paint without laying out again.
void MarkupRenderTest::aKeptDrawingTakesEachPaintsHostColour() {
    gridgauge::markup::Drawing drawing(
        gridgauge::markup::parse(QStringLiteral("<TextBlock FontSize='20'>\u2588</TextBlock>")));
    QImage image(30, 25, QImage::Format_ARGB32);
    for (const QColor& color : {QColor(Qt::white), QColor(Qt::red), QColor()}) {
        image.fill(Qt::gray);
        QPainter painter(&image);
        drawing.paint(painter, QRectF(0, 0, 30, 25), QFont(), Qt::LeftToRight, hostText(color));
        painter.end();
        const QColor expected = color.isValid() ? color : QColor(Qt::black);
        QVERIFY2(near(image.pixelColor(6, 12), expected, 3), qPrintable(expected.name()));
    }
    QCOMPARE(drawing.layoutCount(), quint64(1));
}

QTEST_MAIN(MarkupRenderTest)
#include "test_markup_render.moc"
