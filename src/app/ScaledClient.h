#pragma once

#include "app/Layout.h"

#include <QFont>
#include <QWidget>

#include <functional>
#include <vector>

namespace sortilo {

// The window's default font size, for controls the layout gives no font of their own.
inline constexpr double DefaultFontPoints = 9;

// "宋体" at `points`, the unit the layout's fonts are given in.
QFont songFont(double points, bool bold);

// The scale at which the layout fills a client area of `size` pixels: the same factor across and
// down, so the layout keeps its proportions, and never below the layout's own size.
double layoutScale(QSize size);
// A control's rectangle and font at `scale` (1 is the layout's own size, 15 twips to the pixel).
QRect scaledRect(const ControlSpec& entry, double scale);
QFont scaledFont(const ControlSpec& entry, double scale);

// Where a window of `frame` size opens: centred in `available`, but never starting above or left
// of it, so that its caption and its left edge can be reached on a screen smaller than it.
QPoint openingPosition(const QRect& available, const QSize& frame);

// The main window's client area. It places the controls of the layout table and, when the window
// grows, scales every rectangle and font by one factor, the layout centred in any spare room.
class ScaledClient : public QWidget {
public:
    explicit ScaledClient(QWidget* parent);

    // Places `control` as `entry` says at the current scale, and again at every new scale.
    void place(QWidget* control, const ControlSpec& entry);
    double scale() const { return scale_; }
    // Told every new scale, for what lies outside the layout (the menu bar, the style's parts).
    void setScaleListener(std::function<void(double)> listener) { listener_ = std::move(listener); }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void apply(QWidget* control, const ControlSpec& entry) const;

    struct Placed {
        QWidget* control;
        const ControlSpec* entry;
    };
    std::vector<Placed> placed_;
    double scale_ = 1;
    QPoint offset_;  // of the whole layout, when the window is wider or taller than its shape
    std::function<void(double)> listener_;
};

}  // namespace sortilo
