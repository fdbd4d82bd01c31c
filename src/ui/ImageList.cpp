#include "ui/ImageList.h"

#include <QHash>
#include <QImage>

#include "ui/PaintedPictures.h"

namespace tesk::images {
namespace {

QPixmap sharing(const PaintedPicture& picture) {
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.size, picture.size,
                       QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(image);
}

// The painted size itself, or else the smallest painted size above it (the largest when
// there is none) scaled to it.
QPixmap render(int index, int size) {
    const PaintedPicture* nearest = nullptr;
    for (std::size_t i = 0; i < kPaintedPictureCount; ++i) {
        const PaintedPicture& picture = kPaintedPictures[i];
        if (picture.index != index) {
            continue;
        }
        if (picture.size == size) {
            return sharing(picture);
        }
        const bool closer =
            nearest == nullptr ||
            (nearest->size < size ? picture.size > nearest->size
                                  : picture.size > size && picture.size < nearest->size);
        if (closer) {
            nearest = &picture;
        }
    }
    if (nearest == nullptr) {
        return {};
    }
    return sharing(*nearest).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QPixmap pixmap(int index, int size) {
    if (index < 0 || index >= kCount || size < 1) {
        return {};
    }
    static QHash<quint64, QPixmap> cache;
    const quint64 key = (quint64(quint32(index)) << 32) | quint32(size);
    auto it = cache.constFind(key);
    if (it == cache.constEnd()) {
        it = cache.insert(key, render(index, size));
    }
    return *it;
}

QIcon icon(int index) {
    if (index < 0 || index >= kCount) {
        return {};
    }
    QIcon result;
    for (int size : kPictureSizes) {
        result.addPixmap(pixmap(index, size));
    }
    return result;
}

QIcon applicationIcon() {
    QIcon result;
    for (int size : kApplicationIconSizes) {
        result.addPixmap(pixmap(kUserBadge, size));
    }
    return result;
}

}  // namespace tesk::images
