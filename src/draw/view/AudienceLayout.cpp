#include "draw/view/AudienceLayout.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace sortilo {

namespace {

// Sizes are found from measurements at one pixel size: a text's width grows in proportion.
constexpr int ReferencePixels = 100;
// Room left around a text: a cell keeps this share of its width and of its height free.
constexpr double WidthUsed = 0.9;
constexpr double HeightUsed = 0.95;
// The title's band: at most this share of the height.
constexpr double TitleShare = 0.14;
// Below this the names could not be read even from the front row; 1000 names stay above it.
constexpr double SmallestPixels = 6;

QFont sized(const QFont& face, double pixels) {
    QFont font = face;
    font.setPixelSize(std::max(1, int(std::floor(pixels))));
    return font;
}

// The box the widest of the texts takes per pixel of type: its width, and the typeface's line
// height (a Chinese face's is far more than its type size).
struct Extent {
    double width;
    double height;
};
Extent extentPerPixel(const QStringList& texts, const QFont& face) {
    const QFontMetricsF metrics(sized(face, ReferencePixels));
    double widest = 0.5 * ReferencePixels;
    for (const QString& text : texts) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return {widest / ReferencePixels, metrics.height() / ReferencePixels};
}

// The largest type whose line fits a box of `width` × `height`.
double fittingPixels(const Extent& extent, double width, double height) {
    return std::min(width * WidthUsed / extent.width, height * HeightUsed / extent.height);
}

}  // namespace

QRectF GroupLayout::cell(int index) const {
    const double width = namesArea.width() / columns;
    const double height = namesArea.height() / rows;
    return QRectF(namesArea.left() + (index % columns) * width,
                  namesArea.top() + (index / columns) * height, width, height);
}

GroupLayout layoutGroup(const QString& title, const QStringList& names, const QSizeF& size,
                        const QFont& face) {
    GroupLayout layout;
    const Extent titleExtent = extentPerPixel({title}, face);
    const double titlePixels =
        std::floor(fittingPixels(titleExtent, size.width(), size.height() * TitleShare));
    layout.titleFont = sized(face, titlePixels);
    layout.titleRect = QRectF(0, 0, size.width(), std::ceil(titlePixels * titleExtent.height));
    layout.namesArea = QRectF(0, layout.titleRect.height(), size.width(),
                              size.height() - layout.titleRect.height());
    const int count = std::max<int>(1, int(names.size()));
    const Extent extent = extentPerPixel(names, face);
    double best = 0;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const double pixels = fittingPixels(extent, layout.namesArea.width() / columns,
                                            layout.namesArea.height() / rows);
        if (pixels > best) {
            best = pixels;
            layout.columns = columns;
            layout.rows = rows;
        }
    }
    layout.nameFont = sized(face, std::max(best, SmallestPixels));
    return layout;
}

QFont rollingNameFont(const QString& name, const QSizeF& size, const QFont& face) {
    return sized(face, fittingPixels(extentPerPixel({name}, face), size.width(), size.height()));
}

QRect audienceScreen(const QList<QRect>& screens, const QRect& operatorScreen) {
    for (const QRect& screen : screens) {
        if (!screen.intersects(operatorScreen)) {
            return screen;
        }
    }
    return {};
}

}  // namespace sortilo
