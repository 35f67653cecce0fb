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

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The font a one-line label draws `text` in: its own, shrunk until the text fits `width`.
QFont fitToWidth(const QFont& font, const QString& text, int width);

}  // namespace sortilo
