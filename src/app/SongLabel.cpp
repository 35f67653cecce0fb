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

namespace {

constexpr qreal LineSpacing = 1.05;  // of an em, as the labels set their lines

QFont withPixels(const QFont& font, int pixels) {
    QFont face = font;
    face.setPixelSize(std::max(1, pixels));
    return face;
}

// The text broken into lines of `width` in `face` (anywhere, as Chinese text breaks).
QStringList breakLines(const QString& text, const QFont& face, int width) {
    QTextLayout layout(text, face);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

}  // namespace

LabelFit fitLabel(const QFont& font, const QString& text, QSize room) {
    const QFont oneLine = fitToWidth(font, text, room.width());
    const int natural = QFontInfo(font).pixelSize();
    if (QFontInfo(oneLine).pixelSize() >= std::min(natural, SmallestReadablePixels)) {
        return {oneLine, {text}};
    }
    // Two lines: the largest type whose two lines fit the label, never below the readable size.
    const int tallest = int(room.height() / (2 * LineSpacing));
    for (int pixels = std::min(natural, tallest); pixels >= SmallestReadablePixels; --pixels) {
        const QFont face = withPixels(font, pixels);
        const QStringList lines = breakLines(text, face, room.width());
        if (lines.size() <= 2) {
            return {face, lines};
        }
    }
    const QFont face = withPixels(font, SmallestReadablePixels);
    const QString shortened =
        QFontMetrics(face).elidedText(text, Qt::ElideRight, 2 * room.width() - room.width() / 4);
    return {face, breakLines(shortened, face, room.width()).mid(0, 2)};
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
    // A one-line label breaks only where its fit says.
    option.setWrapMode(wordWrap() ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                  : QTextOption::ManualWrap);
    QFont face = font();
    QString shown = text();
    qsizetype fittedLines = 1;
    if (!wordWrap()) {
        const LabelFit fit = fitLabel(font(), text(), QSize(room(), height()));
        face = fit.face;
        shown = fit.lines.join(QChar::LineSeparator);
        fittedLines = fit.lines.size();
    }
    const qreal step = QFontInfo(face).pixelSize() * LineSpacing;
    // Two fitted lines keep the middle of the one they replace.
    qreal baseline = firstBaseline(font(), face) - (fittedLines - 1) * step / 2;
    QTextLayout layout(shown, face);
    layout.setTextOption(option);
    const QFontMetricsF metrics(face);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(wordWrap() ? width() : room());
        line.setPosition(QPointF(0, baseline - metrics.ascent()));
        baseline += step;
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
}

}  // namespace sortilo
