#include "titles/view/TitleEditorPanel.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace sortilo {

TitleEditorPanel::TitleEditorPanel(const TitleEditorWidgets& widgets, TitleEditing& editing,
                                   QObject* parent)
    : QObject(parent), widgets_(widgets) {
    for (int i = 0; i < static_cast<int>(widgets.setOptions.size()); ++i) {
        connect(widgets.setOptions[static_cast<size_t>(i)], &QRadioButton::clicked, &editing,
                [&editing, i] { editing.chooseSet(i); });
    }
    const auto add = [this, &editing] { editing.addTitle(widgets_.newTitleEdit->text()); };
    connect(widgets.addButton, &QPushButton::clicked, &editing, add);
    // Return in the new-title box adds it; on a button of the editor it presses that button.
    connect(widgets.newTitleEdit, &QLineEdit::returnPressed, &editing, add);
    for (QPushButton* button : {widgets.addButton, widgets.deleteButton, widgets.confirmButton}) {
        button->setAutoDefault(true);
    }
    connect(widgets.deleteButton, &QPushButton::clicked, &editing,
            [this, &editing] { editing.deleteTitle(selectedRow()); });
    connect(widgets.confirmButton, &QPushButton::clicked, &editing,
            [this, &editing] { editing.confirm(setNames()); });
    // Esc anywhere in the editor leaves it without storing.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), widgets.frame);
    cancel->setContext(Qt::WidgetWithChildrenShortcut);
    connect(cancel, &QShortcut::activated, &editing, &TitleEditing::cancel);
    connectEditing(editing);
}

void TitleEditorPanel::connectEditing(TitleEditing& editing) {
    QGroupBox* frame = widgets_.frame;
    connect(&editing, &TitleEditing::opened, frame, [frame] {
        frame->show();
        frame->raise();
    });
    connect(&editing, &TitleEditing::closed, frame, &QWidget::hide);
    connect(&editing, &TitleEditing::setNameLoaded, frame, [this](int set, const QString& name) {
        widgets_.setOptions[static_cast<size_t>(set)]->setText(name);
        widgets_.setNameEdits[static_cast<size_t>(set - 1)]->setText(name);
    });
    connect(&editing, &TitleEditing::setNamesRestored, frame, [this](const TitleSetNames& names) {
        for (size_t k = 0; k < names.size(); ++k) {
            widgets_.setNameEdits[k]->setText(names[k]);
        }
    });
    connect(&editing, &TitleEditing::titlesListed, frame, [this](const QStringList& titles) {
        widgets_.titleList->clear();
        widgets_.titleList->addItems(titles);
    });
    connect(&editing, &TitleEditing::newTitleCleared, frame, [this] {
        widgets_.newTitleEdit->setFocus();
        widgets_.newTitleEdit->clear();
    });
}

int TitleEditorPanel::selectedRow() const {
    const QListWidgetItem* current = widgets_.titleList->currentItem();
    return current != nullptr && current->isSelected() ? widgets_.titleList->currentRow() : -1;
}

TitleSetNames TitleEditorPanel::setNames() const {
    TitleSetNames names;
    for (size_t k = 0; k < names.size(); ++k) {
        names[k] = widgets_.setNameEdits[k]->text();
    }
    return names;
}

void TitleEditorPanel::stayAbove(QWidget* other) {
    other->installEventFilter(this);
}

bool TitleEditorPanel::eventFilter(QObject* watched, QEvent* event) {
    QWidget* frame = widgets_.frame;
    if ((event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange) &&
        frame->isVisibleTo(frame->window())) {
        frame->raise();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sortilo
