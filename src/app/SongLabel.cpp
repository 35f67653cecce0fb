#include "app/SongLabel.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace sortilo {

QFont fitToWidth(const QFont& font, const QString& text, int width) {
    // A one-line label (the rolling name, the pool count) shrinks a long text rather than cut it.
    QFont face = font;
    const qreal natural = QFontMetricsF(face).horizontalAdvance(text);
    if (natural > width && natural > 0) {
        const int pixels = QFontInfo(face).pixelSize();
        face.setPixelSize(qMax(1, int(pixels * width / natural)));
    }
    return face;
}

qreal firstBaseline(const QFont& font, const QFont& face) {
    const qreal em = QFontInfo(face).pixelSize();
    const qreal lost = QFontInfo(font).pixelSize() - em;
    return 0.88 * em + lost / 2;
}

int SongLabel::room() const {
    if (neighbour_ == nullptr || neighbour_->isHidden()) {
        return width();
    }
    return std::clamp(neighbour_->x() - x(), 0, width());
}

void SongLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));

    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(wordWrap() ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                  : QTextOption::NoWrap);
    const QFont face = wordWrap() ? font() : fitToWidth(font(), text(), room());
    QTextLayout layout(text(), face);
    layout.setTextOption(option);

    const QFontMetricsF metrics(face);
    const qreal em = QFontInfo(face).pixelSize();
    qreal baseline = firstBaseline(font(), face);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(wordWrap() ? width() : room());
        line.setPosition(QPointF(0, baseline - metrics.ascent()));
        baseline += em * 1.05;
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
}

}  // namespace sortilo
