#pragma once

#include <QListWidget>

namespace sortilo {

// A list that shows its entries in three side-by-side columns, flowing down the first and on to
// the next, and scrolls sideways when they do not fit.
class ThreeColumnList : public QListWidget {
public:
    explicit ThreeColumnList(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateGrid();
};

}  // namespace sortilo
