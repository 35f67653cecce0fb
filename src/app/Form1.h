#pragma once

#include "app/ControlGroup.h"
#include "app/VbTimer.h"
#include "draw/engine/Clock.h"
#include "draw/engine/DrawState.h"
#include "draw/engine/Random.h"
#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/SpreadsheetService.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace sortilo {

// The outside world as the window sees it. Tests replace the message box, the opener, the clock,
// the random source and the application folder; the spreadsheet service stays real.
struct Services {
    std::unique_ptr<MessageBox> messages;
    std::unique_ptr<DesktopOpener> opener;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<RandomSource> random;
    // CreateApplication: every handler that works on a workbook starts its own instance.
    std::function<std::unique_ptr<SpreadsheetService>()> spreadsheets;
    QString appFolder;
};

// The real services for the program, working on the folder of the executable.
Services realServices();

// The main window. It builds its controls from the layout table, owns the draw state and the
// services, and hands each control's events to the handlers of its subsystem. Controls keep the
// names of the layout; indexed groups are ControlGroups.
class Form1 : public QMainWindow {
public:
    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    DrawState& state() { return *state_; }
    const DrawState& state() const { return *state_; }
    Services& services() { return services_; }

    // Places the window in the middle of its screen, as it opens.
    void centreOnScreen();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QGroupBox* Frame6 = nullptr;
    QGroupBox* Frame7 = nullptr;

    ControlGroup<QPushButton, 1, 1> Command1;
    ControlGroup<QPushButton, 0, 4> Command2;
    ControlGroup<QPushButton, 0, 1> Command3;
    ControlGroup<QPushButton, 1, 1> Command5;
    ControlGroup<QPushButton, 0, 0> Command6;
    ControlGroup<QPushButton, 0, 1> Command8;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command12 = nullptr;

    ControlGroup<QLabel, 0, 8> Label1;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    ControlGroup<QLineEdit, 1, 6> Text3;

    ControlGroup<QRadioButton, 0, 1> Option1;
    ControlGroup<QRadioButton, 0, 6> Option2;

    ControlGroup<QListWidget, 0, 4> List1;
    QListWidget* List2 = nullptr;
    QListWidget* List3 = nullptr;

    QAction* zbzdy = nullptr;
    VbTimer* Timer1 = nullptr;

private:
    void setupWindow();
    void setupControls();
    void setupMenu();
    void setupTimer();
    void connectHandlers();
    void bindControl(const char* name, int index, QWidget* control);
    // What runs between creating the controls and showing the window.
    void Form_Load();

    Services services_;
    std::unique_ptr<DrawState> state_;
};

}  // namespace sortilo
