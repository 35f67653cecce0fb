#pragma once

#include <QListWidget>

namespace sortilo {

// A list that shows its entries in three side-by-side columns, flowing down the first and on to
// the next, and scrolls sideways when they do not fit.
class ThreeColumnList : public QListWidget {
public:
    explicit ThreeColumnList(QWidget* parent = nullptr);

    // The font an entry is drawn in: the list's, shrunk until the whole text fits its column, so
    // a long name is never cut off.
    QFont entryFont(const QString& text) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateGrid();
};

}  // namespace sortilo
