// Hyperlink: drawn as links are, and found again where it was drawn, by a host that makes it
// clickable. Rectangles are checked against the font engine's own advances, in the box painted.
#include "gridgauge/markup/markup.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QtTest>

namespace {

const QString seeTheLog = QStringLiteral(
    "<TextBlock HorizontalAlignment='Left' VerticalAlignment='Top'>See <Hyperlink "
    "NavigateUri='https://example.org/a?b=1&amp;c=2'>the log</Hyperlink></TextBlock>");

QImage& canvas() {
    static QImage image(240, 80, QImage::Format_ARGB32);
    return image;
}

void paint(gridgauge::markup::Drawing& drawing, const QRectF& box,
           Qt::LayoutDirection direction = Qt::LeftToRight,
           const gridgauge::markup::HostStyle& host = gridgauge::markup::HostStyle()) {
    canvas().fill(Qt::white);
    QPainter painter(&canvas());
    drawing.paint(painter, box, QFont(), direction, host);
}

QFontMetricsF metrics() {
    return QFontMetricsF(QFont(), &canvas());
}

double lineHeight() {
    return metrics().ascent() + metrics().descent();
}

// The colour most pixels of a block of text take, white left out.
QColor inkOf(const QImage& image) {
    QMap<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c != qRgb(255, 255, 255))
                ++counts[c];
        }
    }
    QRgb most = 0;
    for (auto c = counts.begin(); c != counts.end(); ++c) {
        if (!counts.contains(most) || c.value() > counts[most])
            most = c.key();
    }
    return QColor::fromRgb(most);
}

QImage rendered(const QString& text,
                const gridgauge::markup::HostStyle& host = gridgauge::markup::HostStyle()) {
    QImage image(80, 30, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    gridgauge::markup::render(painter, *gridgauge::markup::parse(text), QRectF(0, 0, 80, 30),
                              QFont(), Qt::LeftToRight, host);
    return image;
}

} // namespace

class MarkupLinksTest : public QObject {
    Q_OBJECT

private slots:
    void aLinkLooksLikeALink_data();
    void aLinkLooksLikeALink();
    void aLinkIsUnderlinedUnlessItSaysOtherwise();
    void linksAreListedBeforeAnyPaint();
    void aLinkLiesWhereItWasPainted_data();
    void aLinkLiesWhereItWasPainted();
    void aWrappedLinkHasARectanglePerLine();
    void linkAtFindsTheLinkUnderAPoint_data();
    void linkAtFindsTheLinkUnderAPoint();
    void whatDoesNotShowCannotBeHit();
    void theLinkPaintedLastIsOnTop();
    void aLinkFollowsEachPaintsDirection();
};

void MarkupLinksTest::aLinkLooksLikeALink_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("hostLink"); // invalid: none given
    QTest::addColumn<QColor>("expected"); // invalid: the palette's link colour
    const QString block = QStringLiteral("\u2588\u2588\u2588");
    QTest::newRow("the palette's link colour")
        << "<TextBlock FontSize='20'><Hyperlink>" + block + "</Hyperlink></TextBlock>" << QColor()
        << QColor();
    QTest::newRow("the host's link colour")
        << "<TextBlock FontSize='20'><Hyperlink>" + block + "</Hyperlink></TextBlock>"
        << QColor(Qt::darkGreen) << QColor(Qt::darkGreen);
    QTest::newRow("its own Foreground wins")
        << "<TextBlock FontSize='20'><Hyperlink Foreground='Red'>" + block +
               "</Hyperlink></TextBlock>"
        << QColor(Qt::darkGreen) << QColor(Qt::red);
    QTest::newRow("a Run's in it wins")
        << "<TextBlock FontSize='20'><Hyperlink><Run Foreground='Red'>" + block +
               "</Run></Hyperlink></TextBlock>"
        << QColor(Qt::darkGreen) << QColor(Qt::red);
    QTest::newRow("its block's does not")
        << "<TextBlock FontSize='20' Foreground='Red'><Hyperlink>" + block +
               "</Hyperlink></TextBlock>"
        << QColor(Qt::darkGreen) << QColor(Qt::darkGreen);
    QTest::newRow("nor does an enclosing inline's")
        << "<TextBlock FontSize='20'><Bold Foreground='Red'><Hyperlink>" + block +
               "</Hyperlink></Bold></TextBlock>"
        << QColor(Qt::darkGreen) << QColor(Qt::darkGreen);
}

void MarkupLinksTest::aLinkLooksLikeALink() {
    QFETCH(QString, text);
    QFETCH(QColor, hostLink);
    QFETCH(QColor, expected);
    gridgauge::markup::HostStyle host;
    host.setLinkColor(hostLink);
    host.setTextColor(Qt::magenta); // what text without a Foreground takes, and links do not
    const QColor ink = inkOf(rendered(text, host));
    QCOMPARE(ink, expected.isValid() ? expected : QPalette().color(QPalette::Link));
}

void MarkupLinksTest::aLinkIsUnderlinedUnlessItSaysOtherwise() {
    const QImage plain = rendered("<TextBlock>a b</TextBlock>");
    const QImage link =
        rendered("<TextBlock><Hyperlink Foreground='Black'>a b</Hyperlink></TextBlock>");
    const QImage underlined = rendered("<TextBlock><Underline>a b</Underline></TextBlock>");
    const QImage undecorated = rendered("<TextBlock><Hyperlink Foreground='Black' "
                                        "TextDecorations='None'>a b</Hyperlink></TextBlock>");
    QCOMPARE(link, underlined);
    QCOMPARE(undecorated, plain);
    QVERIFY(link != plain);
}

void MarkupLinksTest::linksAreListedBeforeAnyPaint() {
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(QStringLiteral(
        "<StackPanel><TextBlock><Hyperlink NavigateUri='a:1'>one <Bold>two</Bold></Hyperlink> "
        "<Hyperlink>three<LineBreak/>four</Hyperlink></TextBlock><TextBlock><Hyperlink "
        "NavigateUri='b:2'/></TextBlock></StackPanel>")));
    const QList<gridgauge::markup::Link> links = drawing.links();
    QCOMPARE(links.size(), 3);
    QCOMPARE(links[0].target(), "a:1");
    QCOMPARE(links[0].text(), "one two");
    QCOMPARE(links[1].target(), "");
    QCOMPARE(links[1].text(), "three\nfour");
    QCOMPARE(links[2].target(), "b:2");
    QCOMPARE(links[2].text(), "");
    for (const gridgauge::markup::Link& link : links)
        QVERIFY(link.rects().isEmpty());
    QCOMPARE(drawing.linkAt(QPointF(1, 1)), -1);
    QVERIFY(gridgauge::markup::Drawing().links().isEmpty());
    // Painted, a link of two runs on one line is one piece.
    paint(drawing, QRectF(0, 0, 200, 40));
    QCOMPARE(drawing.links()[0].rects().size(), 1);
    QCOMPARE(drawing.links()[0].rects()[0].width(),
             metrics().horizontalAdvance("one ") + QFontMetricsF(
                                                       [] {
                                                           QFont bold;
                                                           bold.setBold(true);
                                                           return bold;
                                                       }(),
                                                       &canvas())
                                                       .horizontalAdvance("two"));
}

// Where links overlap, the one painted last, on top, is the one under the pointer.
void MarkupLinksTest::theLinkPaintedLastIsOnTop() {
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(QStringLiteral(
        "<Canvas><TextBlock><Hyperlink NavigateUri='under'>xxxx</Hyperlink></TextBlock>"
        "<TextBlock><Hyperlink NavigateUri='over'>xxxx</Hyperlink></TextBlock></Canvas>")));
    paint(drawing, QRectF(0, 0, 200, 40));
    QCOMPARE(drawing.linkAt(QPointF(2, 2)), 1);
}

void MarkupLinksTest::aLinkLiesWhereItWasPainted_data() {
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QRectF>("expected"); // null: worked out for the left-aligned line
    const double left = metrics().horizontalAdvance("See ");
    const double width = metrics().horizontalAdvance("the log");
    const int ltr = Qt::LeftToRight, rtl = Qt::RightToLeft;
    QTest::newRow("in the box") << QRectF(0, 0, 200, 40) << ltr
                                << QRectF(left, 0, width, lineHeight());
    QTest::newRow("in a box moved")
        << QRectF(10, 5, 200, 40) << ltr << QRectF(10 + left, 5, width, lineHeight());
    // Right to left the line starts at the right, its words in their own order.
    const double line = metrics().horizontalAdvance("See ") + width;
    QTest::newRow("right to left, from the right")
        << QRectF(10, 5, 200, 40) << rtl << QRectF(10 + 200 - line + left, 5, width, lineHeight());
}

void MarkupLinksTest::aLinkLiesWhereItWasPainted() {
    QFETCH(QRectF, box);
    QFETCH(int, direction);
    QFETCH(QRectF, expected);
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(seeTheLog));
    paint(drawing, box, Qt::LayoutDirection(direction));
    const QList<gridgauge::markup::Link> links = drawing.links();
    QCOMPARE(links.size(), 1);
    QCOMPARE(links[0].target(), "https://example.org/a?b=1&c=2");
    QCOMPARE(links[0].text(), "the log");
    QCOMPARE(links[0].rects(), QList<QRectF>{expected});
    QCOMPARE(drawing.layoutCount(), quint64(1));
}

// "the log and the rest" wraps after "the log and" in a box too narrow for the whole of it.
void MarkupLinksTest::aWrappedLinkHasARectanglePerLine() {
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(QStringLiteral(
        "<TextBlock TextWrapping='Wrap'>See <Hyperlink>the log and the rest</Hyperlink>"
        "</TextBlock>")));
    const double see = metrics().horizontalAdvance("See ");
    const double first = metrics().horizontalAdvance("the log and");
    const double width = see + first + 1;
    paint(drawing, QRectF(0, 0, width, 60));
    const QList<QRectF> rects = drawing.links().value(0).rects();
    QCOMPARE(rects.size(), 2);
    QCOMPARE(rects[0], QRectF(see, 0, first, lineHeight()));
    QCOMPARE(rects[1],
             QRectF(0, lineHeight(), metrics().horizontalAdvance("the rest"), lineHeight()));
}

void MarkupLinksTest::linkAtFindsTheLinkUnderAPoint_data() {
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("link");
    const double one = metrics().horizontalAdvance("one");
    const double gap = metrics().horizontalAdvance(" - ");
    const double y = 5 + lineHeight() / 2;
    QTest::newRow("on the first") << QPointF(10 + one / 2, y) << 0;
    QTest::newRow("between them") << QPointF(10 + one + gap / 2, y) << -1;
    QTest::newRow("on the second") << QPointF(10 + one + gap + 2, y) << 1;
    QTest::newRow("below the line") << QPointF(10 + one / 2, 5 + lineHeight() + 1) << -1;
    QTest::newRow("left of the box") << QPointF(9, y) << -1;
}

void MarkupLinksTest::linkAtFindsTheLinkUnderAPoint() {
    QFETCH(QPointF, point);
    QFETCH(int, link);
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(
        QStringLiteral("<TextBlock><Hyperlink NavigateUri='a:1'>one</Hyperlink> - <Hyperlink "
                       "NavigateUri='b:2'>two</Hyperlink></TextBlock>")));
    paint(drawing, QRectF(10, 5, 200, 40));
    QCOMPARE(drawing.linkAt(point), link);
    if (link >= 0)
        QVERIFY(drawing.links()[link].contains(point));
}

// A link cut off by its block's box keeps only what shows; a hidden one has nothing to hit.
void MarkupLinksTest::whatDoesNotShowCannotBeHit() {
    gridgauge::markup::Drawing cut(gridgauge::markup::parse(QStringLiteral(
        "<TextBlock Width='20' HorizontalAlignment='Left'><Hyperlink>the whole log</Hyperlink>"
        "</TextBlock>")));
    paint(cut, QRectF(0, 0, 200, 40));
    QCOMPARE(cut.links().value(0).rects(), QList<QRectF>{QRectF(0, 0, 20, lineHeight())});
    QCOMPARE(cut.linkAt(QPointF(30, 2)), -1);
    gridgauge::markup::Drawing hidden(gridgauge::markup::parse(
        QStringLiteral("<TextBlock Visibility='Hidden'><Hyperlink>log</Hyperlink></TextBlock>")));
    paint(hidden, QRectF(0, 0, 200, 40));
    QVERIFY(hidden.links().value(0).rects().isEmpty());
    QCOMPARE(hidden.linkAt(QPointF(2, 2)), -1);
}

// A layout serves either direction; its links are where the last paint showed them.
void MarkupLinksTest::aLinkFollowsEachPaintsDirection() {
    gridgauge::markup::Drawing drawing(gridgauge::markup::parse(seeTheLog));
    const QRectF box(0, 0, 200, 40);
    paint(drawing, box);
    const QRectF ltr = drawing.links()[0].rects().value(0);
    paint(drawing, box, Qt::RightToLeft);
    const QRectF rtl = drawing.links()[0].rects().value(0);
    // The link ends the line, which starts at the right: it ends there too.
    QCOMPARE(rtl, QRectF(200 - ltr.width(), 0, ltr.width(), ltr.height()));
    QCOMPARE(drawing.linkAt(ltr.center()), -1);
    QCOMPARE(drawing.linkAt(rtl.center()), 0);
    QCOMPARE(drawing.layoutCount(), quint64(1));
}

QTEST_MAIN(MarkupLinksTest)
#include "test_markup_links.moc"
