// Image elements: which sources the engine reads without a host's say, what a host's resolver
// may allow, that a picture is read once per source and size, and how it lands in the pixels.
#include "gridgauge/markup/markup.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <future>

namespace {

// The test's resources hold quad.xpm, 4 by 2 pixels: red on the left half, blue on the right.
const QString quad = QStringLiteral(":/markup/quad.xpm");

// Every source it is asked for, and the size, as it hands them to the built-in policy or, for a
// path, reads the file.
class Recorder : public gridgauge::markup::ImageResolver {
public:
    explicit Recorder(bool files = false)
        : files_(files) {}
    QImage resolve(const QString& source, const QSize& size) override {
        asked.append({source, size});
        if (files_ && QDir::isAbsolutePath(source))
            return QImage(source);
        return resolveBuiltIn(source, size);
    }
    QList<std::pair<QString, QSize>> asked;

private:
    bool files_;
};

QColor seen(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

bool reddish(const QColor& c) {
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool bluish(const QColor& c) {
    return c.blue() > 200 && c.red() < 60 && c.green() < 60;
}
bool white(const QColor& c) {
    return c.red() > 240 && c.green() > 240 && c.blue() > 240;
}

QImage painted(const QString& text, QSize size, Qt::LayoutDirection direction = Qt::LeftToRight,
               gridgauge::markup::ImageResolver* resolver = nullptr, qreal ratio = 1) {
    QImage image(size * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text);
    if (!document)
        qFatal("not markup: %s", qPrintable(text));
    gridgauge::markup::HostStyle host;
    host.setImageResolver(resolver);
    QPainter painter(&image);
    gridgauge::markup::render(painter, *document, QRectF(QPointF(), size), QFont(), direction,
                              host);
    return image;
}

} // namespace

class MarkupImagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void builtInPolicy_data();
    void builtInPolicy();
    void aRefusedSourceDrawsNothing();
    void aHostResolverDecides();
    void iconsAreReadOnTheGuiThreadOnly();
    void picturesAreReadOncePerSourceAndSize();
    void aPictureIsReadForTheDevicePixelsItCovers();
    void anotherResolverLaysOutAgain();
    void aCaptionNamesABoundedNumberOfPictures();
    void pixels_data();
    void pixels();

private:
    QTemporaryDir dir_;
    QString file_; // a picture on disk, green
};

// A theme of one icon, test-badge, 16 by 16 and green; and a picture in the folder above it,
// which only a path or a name that climbs out of the theme could reach.
void MarkupImagesTest::initTestCase() {
    QVERIFY(dir_.isValid());
    const QString theme = dir_.filePath("gridgauge-test");
    QVERIFY(QDir().mkpath(theme + "/16x16/apps"));
    QFile index(theme + "/index.theme");
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=gridgauge-test\nDirectories=16x16/apps\n\n"
                "[16x16/apps]\nSize=16\nType=Fixed\n");
    index.close();
    QImage green(16, 16, QImage::Format_ARGB32);
    green.fill(Qt::green);
    QVERIFY(green.save(theme + "/16x16/apps/test-badge.png"));
    file_ = dir_.filePath("picture.png");
    QVERIFY(green.scaled(6, 3).save(file_));
    QIcon::setThemeSearchPaths({dir_.path()});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName("gridgauge-test");
    QDir::setCurrent(dir_.path());
}

void MarkupImagesTest::builtInPolicy_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QSize>("size"); // empty: refused
    QTest::newRow("a resource") << quad << QSize(4, 2);
    QTest::newRow("a resource URL") << "qrc:/markup/quad.xpm" << QSize(4, 2);
    QTest::newRow("a resource URL with an empty authority")
        << "qrc:///markup/quad.xpm" << QSize(4, 2);
    QTest::newRow("a theme icon, 16 by 16") << "icon:test-badge" << QSize(16, 16);
    QTest::newRow("a resource that does not exist") << ":/markup/none.png" << QSize();
    QTest::newRow("a relative resource URL") << "qrc:markup/quad.xpm" << QSize();
    QTest::newRow("a theme icon that does not exist") << "icon:no-such-icon" << QSize();
    QTest::newRow("a file path") << dir_.filePath("picture.png") << QSize();
    QTest::newRow("a file URL") << "file://" + dir_.filePath("picture.png") << QSize();
    QTest::newRow("a relative path") << "picture.png" << QSize();
    QTest::newRow("a network URL") << "http://127.0.0.1:9/picture.png" << QSize();
    QTest::newRow("an icon name that climbs out of the theme")
        << "icon:../../../picture" << QSize();
    QTest::newRow("an icon name that is a path")
        << "icon:" + dir_.filePath("picture.png") << QSize();
    QTest::newRow("a hidden icon name") << "icon:.test-badge" << QSize();
    QTest::newRow("nothing") << "" << QSize();
}

void MarkupImagesTest::builtInPolicy() {
    QFETCH(QString, source);
    QFETCH(QSize, size);
    const QImage picture = gridgauge::markup::ImageResolver::resolveBuiltIn(source, QSize());
    QCOMPARE(picture.isNull(), size.isEmpty());
    if (!size.isEmpty())
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
}

// Without a resolver of its host's, a caption naming a file measures as an Image without a
// picture and paints nothing; the resource beside it does.
void MarkupImagesTest::aRefusedSourceDrawsNothing() {
    const QString refused = "<Image Source='" + file_ + "'/>";
    QCOMPARE(gridgauge::markup::desiredSize(*gridgauge::markup::parse(refused), QFont()),
             QSizeF(0, 0));
    QCOMPARE(gridgauge::markup::desiredSize(
                 *gridgauge::markup::parse("<Image Source='" + quad + "'/>"), QFont()),
             QSizeF(4, 2));
    const QImage image = painted("<Image Source='" + file_ + "' Stretch='Fill'/>", {20, 10});
    for (int x = 0; x < 20; ++x)
        QVERIFY(white(seen(image, x, 5)));
}

void MarkupImagesTest::aHostResolverDecides() {
    Recorder files(true);
    gridgauge::markup::HostStyle host;
    host.setImageResolver(&files);
    const QString caption = "<Image Source='" + file_ + "'/>";
    QCOMPARE(gridgauge::markup::desiredSize(*gridgauge::markup::parse(caption), QFont(), host),
             QSizeF(6, 3));
    const QImage image = painted("<Image Source='" + file_ + "' Stretch='Fill'/>", {20, 10},
                                 Qt::LeftToRight, &files);
    QCOMPARE(seen(image, 10, 5), QColor(Qt::green));
}

void MarkupImagesTest::iconsAreReadOnTheGuiThreadOnly() {
    QVERIFY(!gridgauge::markup::ImageResolver::resolveBuiltIn("icon:test-badge", QSize()).isNull());
    auto elsewhere = std::async(std::launch::async, [] {
        return gridgauge::markup::ImageResolver::resolveBuiltIn("icon:test-badge", QSize())
            .isNull();
    });
    QVERIFY(elsewhere.get());
    auto resource = std::async(std::launch::async, [] {
        return gridgauge::markup::ImageResolver::resolveBuiltIn(quad, QSize()).isNull();
    });
    QVERIFY(!resource.get());
}

// The first paint asks for the picture's own size (to measure it) and for the pixels it covers;
// a repaint, another drawing of the same caption and a one-off render ask for nothing.
void MarkupImagesTest::picturesAreReadOncePerSourceAndSize() {
    Recorder recorder;
    gridgauge::markup::HostStyle host;
    host.setImageResolver(&recorder);
    const gridgauge::markup::DocumentPtr document =
        gridgauge::markup::parse("<Image Source='" + quad + "' Stretch='Fill'/>");
    QImage image(20, 10, QImage::Format_ARGB32);
    const auto paint = [&](gridgauge::markup::Drawing& drawing) {
        QPainter painter(&image);
        drawing.paint(painter, QRectF(0, 0, 20, 10), QFont(), Qt::LeftToRight, host);
    };
    gridgauge::markup::Drawing drawing(document);
    paint(drawing);
    const QList<std::pair<QString, QSize>> first{{quad, QSize()}, {quad, QSize(20, 10)}};
    QCOMPARE(recorder.asked, first);
    paint(drawing);
    gridgauge::markup::Drawing other(document);
    paint(other);
    {
        QPainter painter(&image);
        gridgauge::markup::render(painter, *document, QRectF(0, 0, 20, 10), QFont(),
                                  Qt::LeftToRight, host);
    }
    QCOMPARE(recorder.asked, first);
    recorder.clear(); // the drawing keeps the picture it drew; a new one reads it again
    paint(drawing);
    QCOMPARE(recorder.asked, first);
    gridgauge::markup::Drawing fresh(document);
    paint(fresh);
    QCOMPARE(recorder.asked, first + first);
}

void MarkupImagesTest::aPictureIsReadForTheDevicePixelsItCovers() {
    Recorder recorder;
    painted("<Image Source='" + quad + "' Stretch='Fill'/>", {20, 10}, Qt::LeftToRight, &recorder,
            2);
    QCOMPARE(recorder.asked.back(), std::make_pair(quad, QSize(40, 20)));
    // Read no larger than 2048 pixels a side, and scaled up by the painter past that.
    painted("<Image Source='" + quad + "' Stretch='Fill' Width='4000' Height='2'/>", {20, 10},
            Qt::LeftToRight, &recorder);
    QCOMPARE(recorder.asked.back(), std::make_pair(quad, QSize(2048, 1)));
}

// A drawing measured its pictures by its resolver's sizes; another resolver lays it out again,
// which a caption without pictures does not need.
void MarkupImagesTest::anotherResolverLaysOutAgain() {
    Recorder one, two;
    QImage image(20, 10, QImage::Format_ARGB32);
    const auto paint = [&](gridgauge::markup::Drawing& drawing,
                           gridgauge::markup::ImageResolver* resolver) {
        gridgauge::markup::HostStyle host;
        host.setImageResolver(resolver);
        QPainter painter(&image);
        drawing.paint(painter, QRectF(0, 0, 20, 10), QFont(), Qt::LeftToRight, host);
    };
    gridgauge::markup::Drawing pictured(gridgauge::markup::parse("<Image Source='" + quad + "'/>"));
    gridgauge::markup::Drawing plain(
        gridgauge::markup::parse(QStringLiteral("<Border Background='Red'/>")));
    for (gridgauge::markup::ImageResolver* resolver :
         {&one, &one, &two, static_cast<Recorder*>(nullptr)}) {
        paint(pictured, resolver);
        paint(plain, resolver);
    }
    QCOMPARE(pictured.layoutCount(), quint64(3));
    QCOMPARE(plain.layoutCount(), quint64(1));
}

// Past 64 sources a caption's Images draw nothing, whatever their host allows, and the report
// says so.
void MarkupImagesTest::aCaptionNamesABoundedNumberOfPictures() {
    QString text = "<StackPanel>";
    for (int i = 0; i < 70; ++i)
        text += QStringLiteral("<Image Source=':/markup/%1.png'/><Image Source='%2'/>")
                    .arg(i)
                    .arg(quad);
    text += "</StackPanel>";
    gridgauge::markup::ParseReport report;
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text, &report);
    QVERIFY(document);
    QCOMPARE(report.ignoredCount(), 70 - 63);
    QVERIFY2(report.ignored().front().message().contains(u"at most 64"),
             qPrintable(report.ignored().front().toString()));
    Recorder recorder;
    gridgauge::markup::HostStyle host;
    host.setImageResolver(&recorder);
    gridgauge::markup::desiredSize(*document, QFont(), host);
    QCOMPARE(recorder.asked.size(), 64);
}

void MarkupImagesTest::pixels_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("expected"); // at x = 5, 15, 25 and 35 of a 40 x 20 box: r, b, w
    const int ltr = Qt::LeftToRight, rtl = Qt::RightToLeft;
    const QString fill = "<Image Source='" + quad + "' Stretch='Fill'/>";
    QTest::newRow("scaled to its box") << fill << ltr << "rrbb";
    QTest::newRow("uniform, centred") << "<Image Source='" + quad + "'/>" << ltr << "rrbb";
    QTest::newRow("none, centred at its own size")
        << "<Image Source='" + quad + "' Stretch='None' Margin='0,0,20,0'/>" << ltr << "wwww";
    QTest::newRow("its own RightToLeft flips it")
        << "<Image Source='" + quad + "' Stretch='Fill' FlowDirection='RightToLeft'/>" << ltr
        << "bbrr";
    QTest::newRow("a right-to-left host moves it, and does not flip it")
        << "<Image Source='" + quad + "' Stretch='Fill' Width='20' HorizontalAlignment='Left'/>"
        << rtl << "wwrb";
    QTest::newRow("nor does a right-to-left parent")
        << "<StackPanel Orientation='Horizontal' FlowDirection='RightToLeft'><Image Source='" +
               quad + "' Stretch='Fill' Width='20'/></StackPanel>"
        << ltr << "wwrb";
    QTest::newRow("its own RightToLeft in a right-to-left host flips it")
        << "<Image Source='" + quad + "' Stretch='Fill' FlowDirection='RightToLeft'/>" << rtl
        << "bbrr";
    QTest::newRow("overflowing its slot, cut at it")
        << "<Border Width='20' HorizontalAlignment='Left'><Image Source='" + quad +
               "' Stretch='UniformToFill' Height='20'/></Border>"
        << ltr << "rrww";
    QTest::newRow("translucent") << "<Image Source='" + quad + "' Stretch='Fill' Opacity='0'/>"
                                 << ltr << "wwww";
}

void MarkupImagesTest::pixels() {
    QFETCH(QString, text);
    QFETCH(int, direction);
    QFETCH(QString, expected);
    const QImage image = painted(text, {40, 20}, Qt::LayoutDirection(direction));
    QString actual;
    for (int x : {5, 15, 25, 35}) {
        const QColor c = seen(image, x, 10);
        actual += reddish(c) ? u'r' : bluish(c) ? u'b' : white(c) ? u'w' : u'?';
    }
    QCOMPARE(actual, expected);
}

QTEST_MAIN(MarkupImagesTest)
#include "test_markup_images.moc"
