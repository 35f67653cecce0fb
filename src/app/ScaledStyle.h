#pragma once

#include <QProxyStyle>

namespace sortilo {

// The program's style with the parts a style draws at a fixed size (the circles of the radio
// buttons, the boxes of check boxes, the scroll bars) grown by the window's scale, so they grow
// with the controls and fonts around them.
class ScaledStyle : public QProxyStyle {
public:
    explicit ScaledStyle(double scale) : scale_(scale) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;

private:
    double scale_;
};

}  // namespace sortilo
