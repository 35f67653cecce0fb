#pragma once

#include "titles/TitleEditing.h"

#include <QObject>

#include <array>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace sortilo {

struct TitleEditorWidgets {
    QGroupBox* frame = nullptr;                 // the whole editor, above everything when open
    std::array<QRadioButton*, 7> setOptions{};  // "默认", then sets 1..6
    std::array<QLineEdit*, 6> setNameEdits{};   // the names of sets 1..6, over their options
    QListWidget* titleList = nullptr;           // the chosen set's titles
    QLineEdit* newTitleEdit = nullptr;
    QPushButton* addButton = nullptr;      // "添加"
    QPushButton* deleteButton = nullptr;   // "删除"
    QPushButton* confirmButton = nullptr;  // "确认"
};

// The title editor's widgets: they show what the title editing reports and hand the operator's
// choices, texts and clicks to it.
class TitleEditorPanel : public QObject {
public:
    TitleEditorPanel(const TitleEditorWidgets& widgets, TitleEditing& editing, QObject* parent);

    // Keeps the open editor above `other` whenever that is shown or raised (the details view).
    void stayAbove(QWidget* other);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEditing(TitleEditing& editing);
    int selectedRow() const;
    TitleSetNames setNames() const;

    TitleEditorWidgets widgets_;
};

}  // namespace sortilo
