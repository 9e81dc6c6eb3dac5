// Right to left (FlowDirection RightToLeft), markup shows mirrored, with its
// text unmirrored. Each case paints in a 100 x 20 box and reads pixels along its middle row.
#include "gridgauge/markup/markup.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

QImage rendered(const QString& text, Qt::LayoutDirection direction) {
    QImage image(100, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    const markup::DocumentPtr document = markup::parse(text);
    if (!document)
        qFatal("not markup: %s", qPrintable(text));
    QPainter painter(&image);
    markup::render(painter, *document, QRectF(0, 0, 100, 20), QFont(), direction);
    return image;
}

// A colour at x along the middle row, as a letter: r red, b blue, w white, k anything dark.
QChar seen(const QImage& image, int x) {
    const QColor c = image.pixelColor(x, 10);
    if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
        return u'r';
    if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
        return u'b';
    if (c.lightness() > 240)
        return u'w';
    return c.lightness() < 140 ? u'k' : u'?';
}

} // namespace

class TestMarkupFlowDirection : public QObject {
    Q_OBJECT

private slots:
    void layoutIsMirroredRightToLeft_data();
    void layoutIsMirroredRightToLeft();
};

void TestMarkupFlowDirection::layoutIsMirroredRightToLeft_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QList<int>>("xs");
    QTest::addColumn<QString>("expected"); // what shows at each x, see seen()
    const QList<int> probes{5, 25, 45, 75, 95};
    const int ltr = Qt::LeftToRight, rtl = Qt::RightToLeft;
    const QString stack =
        "<StackPanel Orientation='Horizontal'><Border Width='20' Background='Red'/>"
        "<Border Width='30' Background='Blue'/></StackPanel>";
    QTest::newRow("a stack, left to right") << stack << ltr << probes << "rbbww";
    QTest::newRow("a stack from the right") << stack << rtl << probes << "wwwbr";
    const QString grid = "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='40'/>"
                         "<ColumnDefinition/></Grid.ColumnDefinitions>"
                         "<Border Grid.Column='0' Background='Red'/>"
                         "<Border Grid.Column='1' Background='Blue'/></Grid>";
    QTest::newRow("grid columns from the right") << grid << rtl << probes << "bbbrr";
    QTest::newRow("Left aligned is at the right")
        << "<Border Width='30' HorizontalAlignment='Left' Background='Red'/>" << rtl << probes
        << "wwwrr";
    QTest::newRow("Right aligned is at the left")
        << "<Border Width='30' HorizontalAlignment='Right' Background='Red'/>" << rtl << probes
        << "rrwww";
    QTest::newRow("a border's left side is at its right")
        << "<Border BorderThickness='30,0,0,0' BorderBrush='Blue' Background='Red'/>" << rtl
        << probes << "rrrbb";
    QTest::newRow("a gradient runs from the right")
        << "<Border><Border.Background><LinearGradientBrush StartPoint='0,0' EndPoint='1,0'>"
           "<GradientStop Color='Red' Offset='0.3'/><GradientStop Color='Blue' Offset='0.7'/>"
           "</LinearGradientBrush></Border.Background></Border>"
        << rtl << QList<int>{5, 25, 75, 95} << "bbrr";
    QTest::newRow("text starts at the right")
        << "<TextBlock FontSize='16' Foreground='Black'>IIII</TextBlock>" << rtl
        << QList<int>{5, 20, 40} << "www";
    QTest::newRow("an element's own direction, inherited")
        << "<Grid FlowDirection='RightToLeft'><Border Width='30' HorizontalAlignment='Left' "
           "Background='Red'/></Grid>"
        << ltr << probes << "wwwrr";
    QTest::newRow("left to right inside a right-to-left host")
        << "<StackPanel Orientation='Horizontal' FlowDirection='LeftToRight'>"
           "<Border Width='20' Background='Red'/><Border Width='30' Background='Blue'/>"
           "</StackPanel>"
        << rtl << probes << "rbbww";
    const QString wrap = "<WrapPanel><Border Width='20' Height='20' Background='Red'/>"
                         "<Border Width='30' Height='20' Background='Blue'/></WrapPanel>";
    QTest::newRow("a wrap panel, left to right") << wrap << ltr << probes << "rbbww";
    QTest::newRow("a wrap panel from the right") << wrap << rtl << probes << "wwwbr";
    const QString dock = "<DockPanel LastChildFill='False'><Border Width='20' Background='Red'/>"
                         "<Border DockPanel.Dock='Right' Width='30' Background='Blue'/>"
                         "</DockPanel>";
    QTest::newRow("a dock panel, left to right") << dock << ltr << probes << "rwwbb";
    QTest::newRow("a dock panel's Left at the right") << dock << rtl << probes << "bbwwr";
    const QString canvas = "<Canvas><Border Canvas.Left='10' Width='20' Height='20' "
                           "Background='Red'/></Canvas>";
    QTest::newRow("a canvas, left to right") << canvas << ltr << probes << "wrwww";
    QTest::newRow("a canvas's Left from the right") << canvas << rtl << probes << "wwwrw";
}

void TestMarkupFlowDirection::layoutIsMirroredRightToLeft() {
    QFETCH(QString, text);
    QFETCH(int, direction);
    QFETCH(QList<int>, xs);
    QFETCH(QString, expected);
    const QImage image = rendered(text, Qt::LayoutDirection(direction));
    QString actual;
    for (int x : xs)
        actual += seen(image, x);
    QCOMPARE(actual, expected);
    if (text.contains(u"TextBlock")) { // and its glyphs are at the right
        bool dark = false;
        for (int x = 80; x < 100; ++x)
            dark = dark || image.pixelColor(x, 10).lightness() < 140;
        QVERIFY2(dark, "no text at the right");
    }
}

QTEST_MAIN(TestMarkupFlowDirection)
#include "test_markup_flow_direction.moc"
