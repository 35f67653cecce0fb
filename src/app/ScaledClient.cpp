#include "app/ScaledClient.h"

#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace sortilo {

namespace {

// The client area the layout table was drawn for.
const QSize LayoutSize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));

int scaledPixels(int twips, double scale) {
    return int(std::lround(twips * scale / TwipsPerPixel));
}

}  // namespace

QFont songFont(double points, bool bold) {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double layoutScale(QSize size) {
    const double across = double(size.width()) / LayoutSize.width();
    const double down = double(size.height()) / LayoutSize.height();
    return std::max(1.0, std::min(across, down));
}

QRect scaledRect(const ControlSpec& entry, double scale) {
    return QRect(scaledPixels(entry.left, scale), scaledPixels(entry.top, scale),
                 scaledPixels(entry.width, scale), scaledPixels(entry.height, scale));
}

QFont scaledFont(const ControlSpec& entry, double scale) {
    return entry.points > 0 ? songFont(entry.points * scale, entry.bold)
                            : songFont(DefaultFontPoints * scale, false);
}

QPoint openingPosition(const QRect& available, const QSize& frame) {
    const QPoint centred = available.center() - QPoint(frame.width() / 2, frame.height() / 2);
    return QPoint(std::max(available.left(), centred.x()), std::max(available.top(), centred.y()));
}

ScaledClient::ScaledClient(QWidget* parent) : QWidget(parent) {
    setMinimumSize(LayoutSize);
    setFont(songFont(DefaultFontPoints, false));
}

void ScaledClient::place(QWidget* control, const ControlSpec& entry) {
    placed_.push_back({control, &entry});
    apply(control, entry);
}

QSize ScaledClient::sizeHint() const {
    return LayoutSize;
}

void ScaledClient::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const double scale = layoutScale(event->size());
    const QSize used(int(std::lround(LayoutSize.width() * scale)),
                     int(std::lround(LayoutSize.height() * scale)));
    const QPoint offset((event->size().width() - used.width()) / 2,
                        (event->size().height() - used.height()) / 2);
    if (scale == scale_ && offset == offset_) {
        return;
    }
    const bool rescaled = scale != scale_;
    scale_ = scale;
    offset_ = offset;
    setFont(songFont(DefaultFontPoints * scale, false));
    for (const Placed& p : placed_) {
        apply(p.control, *p.entry);
    }
    if (listener_ && rescaled) {
        listener_(scale_);
    }
}

void ScaledClient::apply(QWidget* control, const ControlSpec& entry) const {
    const QRect rect = scaledRect(entry, scale_);
    control->setGeometry(entry.parent == nullptr ? rect.translated(offset_) : rect);
    control->setFont(scaledFont(entry, scale_));
}

}  // namespace sortilo
