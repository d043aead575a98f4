// Pixel comparisons shared by the tests that paint.
#pragma once

#include <QImage>
#include <QRect>

namespace tarnwell {

// True when `region` of `image` holds exactly the pixels of `picture` (same size as region).
inline bool region_equals(const QImage& image, const QRect& region, const QImage& picture) {
    const QImage a = image.copy(region).convertToFormat(QImage::Format_RGB32);
    const QImage b = picture.convertToFormat(QImage::Format_RGB32);
    return a.size() == b.size() && a == b;
}

inline bool region_is_white(const QImage& image, const QRect& region) {
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
        }
    }
    return true;
}

inline int count_colour(const QImage& image, const QRect& region, QRgb colour) {
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) n += image.pixel(x, y) == colour;
    }
    return n;
}

}  // namespace tarnwell
