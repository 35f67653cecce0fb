#pragma once

#include <QLabel>

namespace sortilo {

// A label that sets its lines one em apart, as the Song typeface the layout was drawn for does.
// Chinese faces available on Linux have far taller line boxes, and the layout's two-line labels
// ("抽取后是否保留", the group titles) would lose their second line to clipping. A one-line
// label shrinks a text too long for it instead of cutting it.
class SongLabel : public QLabel {
public:
    using QLabel::QLabel;

    // The text ends where `neighbour`, a sibling lying over the label's right end, begins.
    void keepLeftOf(const QWidget* neighbour) { neighbour_ = neighbour; }
    // The width the text has: the label's, up to the neighbour.
    int room() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QWidget* neighbour_ = nullptr;
};

// The font a one-line label draws `text` in: its own, shrunk until the text fits `width`.
QFont fitToWidth(const QFont& font, const QString& text, int width);

// Below this a name on the screen cannot be read: a one-line label's text never shrinks further.
inline constexpr int SmallestReadablePixels = 12;

// How a one-line label shows a text: in one line, shrunk to fit its width; a text too long for
// that at a readable size in two lines, as large as two lines allow within `room`; and only a text
// too long even for two lines at the smallest readable size cut short with "…".
struct LabelFit {
    QFont face;
    QStringList lines;
};
LabelFit fitLabel(const QFont& font, const QString& text, QSize room);

// Where the first line's baseline lies below the label's top for text drawn in `face`, a font
// shrunk from the label's own `font`: as a Song face puts it, and a shrunk line moved down by half
// of what it lost, so that it keeps the middle of a full-size line.
qreal firstBaseline(const QFont& font, const QFont& face);

}  // namespace sortilo
