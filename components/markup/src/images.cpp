#include "images.h"

#include <QCache>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMutex>
#include <QPixmap>
#include <QThread>

#include <algorithm>

namespace markup {
namespace {

struct Key {
    QString source;
    QSize size; // empty: the picture's own size
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& key, size_t seed = 0) {
    return qHashMulti(seed, key.source, key.size.width(), key.size.height());
}

// A picture's cost in the cache, in KiB: a refusal, kept so as not to be asked again, costs one.
int costOf(const QImage& image) {
    return int(std::max<qsizetype>(1, image.sizeInBytes() / 1024));
}

class BuiltIn final : public ImageResolver {
public:
    QImage resolve(const QString& source, const QSize& size) override {
        return resolveBuiltIn(source, size);
    }
};

// A resource path, from ":/path" or "qrc:/path" (any number of slashes); empty for anything
// else, a relative "qrc:path" included, which would name a file.
QString resourcePath(const QString& source) {
    if (source.startsWith(u":/"))
        return source;
    if (!source.startsWith(u"qrc:/"))
        return {};
    qsizetype start = 4;
    while (start < source.size() && source[start] == u'/')
        ++start;
    return QStringLiteral(":/") + source.sliced(start);
}

// Names as icon themes spell them: anything else could name a path, which QIcon::fromTheme()
// would open as a file.
bool isIconName(QStringView name) {
    if (name.isEmpty() || name.size() > 255 || name.startsWith(u'.'))
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'_' || c == u'.' || c == u'+';
    });
}

QImage themeIcon(QStringView name, const QSize& size) {
    // Pixmaps belong to the GUI thread; elsewhere an icon is not drawn.
    if (!qGuiApp || QThread::currentThread() != qGuiApp->thread() || !isIconName(name))
        return {};
    const QIcon icon = QIcon::fromTheme(name.toString());
    if (icon.isNull())
        return {};
    const QSize wanted = size.isEmpty() ? QSize(16, 16) : size;
    return icon.pixmap(wanted, 1.0).toImage();
}

QImage resource(const QString& path, const QSize& size) {
    QImageReader reader(path);
    if (!size.isEmpty() && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(size);
    return reader.read();
}

} // namespace

struct ImageResolver::Impl {
    QMutex mutex;
    QCache<Key, QImage> pictures{16 * 1024}; // 16 MiB
};

ImageResolver::ImageResolver()
    : impl_(std::make_unique<Impl>()) {}

ImageResolver::~ImageResolver() = default;

QImage ImageResolver::image(const QString& source, const QSize& size) {
    const Key key{source, size.isEmpty() ? QSize() : size};
    {
        QMutexLocker lock(&impl_->mutex);
        if (const QImage* kept = impl_->pictures.object(key))
            return *kept;
    }
    // Resolved without the lock held: a resolver may well ask for another picture, or clear().
    QImage picture = resolve(source, key.size);
    if (!picture.isNull() && !key.size.isEmpty() && picture.size() != key.size) {
        picture = picture.scaled(key.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(1);
    }
    QMutexLocker lock(&impl_->mutex);
    impl_->pictures.insert(key, new QImage(picture), costOf(picture));
    return picture;
}

void ImageResolver::clear() {
    QMutexLocker lock(&impl_->mutex);
    impl_->pictures.clear();
}

QImage ImageResolver::resolveBuiltIn(const QString& source, const QSize& size) {
    if (source.startsWith(u"icon:"))
        return themeIcon(QStringView(source).sliced(5), size);
    const QString path = resourcePath(source);
    return path.isEmpty() ? QImage() : resource(path, size);
}

ImageResolver& resolverOr(ImageResolver* host) {
    static BuiltIn builtIn;
    return host ? *host : builtIn;
}

QSizeF naturalSize(ImageResolver& resolver, const QString& source) {
    const QImage picture = resolver.image(source, QSize());
    return picture.isNull() ? QSizeF(0, 0) : picture.deviceIndependentSize();
}

} // namespace markup
