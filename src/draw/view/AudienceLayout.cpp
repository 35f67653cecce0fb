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
// Below this the names could not be read even from the front row: the type never gets smaller,
// and names too long for their cells at this size are shortened instead.
constexpr double SmallestPixels = 10;

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

// Too many long names for legible type: the smallest legible type, as many rows as it allows, and
// each name cut to its cell with "…", so no name runs into the next.
void shortenToFit(GroupLayout& layout, const QStringList& names, const QFont& face) {
    layout.nameFont = sized(face, SmallestPixels);
    const QFontMetricsF metrics(layout.nameFont);
    const int count = std::max<int>(1, int(names.size()));
    const int rowsThatFit =
        std::max(1, int(std::floor(layout.namesArea.height() * HeightUsed / metrics.height())));
    layout.columns = (count + rowsThatFit - 1) / rowsThatFit;
    layout.rows = (count + layout.columns - 1) / layout.columns;
    const double room = layout.namesArea.width() / layout.columns * WidthUsed;
    layout.shownNames.clear();
    for (const QString& name : names) {
        layout.shownNames << metrics.elidedText(name, Qt::ElideRight, room);
    }
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
    if (best >= SmallestPixels) {
        layout.nameFont = sized(face, best);
        layout.shownNames = names;
        return layout;
    }
    shortenToFit(layout, names, face);
    return layout;
}

QFont rollingNameFont(const QString& name, const QSizeF& size, const QFont& face) {
    return sized(face, fittingPixels(extentPerPixel({name}, face), size.width(), size.height()));
}

QRect besideOperator(const QRect& available, const QRect& operatorFrame, const QRect& keepClear,
                     const QSize& size) {
    const auto clamped = [](int at, int low, int high) {
        return std::clamp(at, low, std::max(low, high));
    };
    const auto clampX = [&](int x, int width) {
        return clamped(x, available.left(), available.right() + 1 - width);
    };
    const auto clampY = [&](int y, int height) {
        return clamped(y, available.top(), available.bottom() + 1 - height);
    };
    const QPoint beside[] = {
        {operatorFrame.right() + 1, clampY(operatorFrame.top(), size.height())},
        {operatorFrame.left() - size.width(), clampY(operatorFrame.top(), size.height())},
        {clampX(operatorFrame.left(), size.width()), operatorFrame.bottom() + 1},
        {clampX(operatorFrame.left(), size.width()), operatorFrame.top() - size.height()},
    };
    for (const QPoint& place : beside) {
        if (available.contains(QRect(place, size))) {
            return QRect(place, size);
        }
    }
    // The far side across; there, the height that leaves the controls free.
    const bool right = operatorFrame.center().x() < available.center().x();
    const auto farX = [&](int width) {
        return clampX(right ? available.right() + 1 - width : available.left(), width);
    };
    for (const int y : {clampY(operatorFrame.top(), size.height()), keepClear.bottom() + 1,
                        keepClear.top() - size.height()}) {
        const QRect place(QPoint(farX(size.width()), y), size);
        if (available.contains(place) && !place.intersects(keepClear)) {
            return place;
        }
    }
    // Smaller, in the larger band of the screen above or below the controls.
    const int below = available.bottom() - keepClear.bottom();
    const int above = keepClear.top() - available.top();
    const int band = std::max(below, above);
    const double scale =
        std::min({1.0, double(available.width()) / size.width(), double(band) / size.height()});
    if (scale >= 1.0 / 3) {
        const QSize smaller(int(size.width() * scale), int(size.height() * scale));
        const int y = below >= above ? keepClear.bottom() + 1 : keepClear.top() - smaller.height();
        return QRect(QPoint(farX(smaller.width()), y), smaller);
    }
    return QRect(
        QPoint(farX(size.width()), clampY(available.bottom() + 1 - size.height(), size.height())),
        size);
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
