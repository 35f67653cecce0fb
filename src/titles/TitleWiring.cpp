#include "titles/TitleWiring.h"

#include "app/Controls.h"
#include "app/Form1.h"
#include "titles/TitleEditor.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace sortilo {

namespace {

// Keeps the open editor above the details view: whenever the enlarged list or its close button
// is shown or raised, the editor is raised again.
class EditorOnTop : public QObject {
public:
    EditorOnTop(QWidget* editor) : QObject(editor), editor_(editor) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange) &&
            shownInWindow(editor_)) {
            editor_->raise();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* editor_;
};

}  // namespace

void connectTitleHandlers(Form1& form) {
    Form1* f = &form;
    QObject::connect(form.zbzdy, &QAction::triggered, f, [f] { zbzdy_Click(*f); });
    for (int i = 0; i <= 6; ++i) {
        QObject::connect(form.Option2[i], &QRadioButton::clicked, f,
                         [f, i] { Option2_Click(*f, i); });
    }
    QObject::connect(form.Command10, &QPushButton::clicked, f, [f] { Command10_Click(*f); });
    QObject::connect(form.Command11, &QPushButton::clicked, f, [f] { Command11_Click(*f); });
    QObject::connect(form.Command12, &QPushButton::clicked, f, [f] { Command12_Click(*f); });
    auto* onTop = new EditorOnTop(form.Frame5);
    form.List2->installEventFilter(onTop);
    form.Command5[1]->installEventFilter(onTop);
}

}  // namespace sortilo
