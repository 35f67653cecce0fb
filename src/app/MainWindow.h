#pragma once

#include "draw/DrawSession.h"
#include "titles/TitleEditing.h"

#include <QMainWindow>

#include <memory>

namespace sortilo {

struct MainWindowControls;

// The main window: its controls made from the layout table, showing what the draw session and
// the title editing report and handing the operator's clicks, keys and texts to them. The three
// buttons that work on files are reported as requests; whoever holds the files answers them.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(DrawSession& session, TitleEditing& titles, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Places the window in the middle of its screen, as it opens.
    void centreOnScreen();
    // After a message box: the focus back on the shown 开始/结束, or on the text box (or the open
    // title editor's control) the operator was in.
    void refocusAfterMessage(QWidget* before);

Q_SIGNALS:
    void importRequested();
    void rosterEditRequested();
    void exportRequested();

protected:
    // The draw keys, whichever control of this window has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyFocus keyFocus(const QWidget* target) const;
    void setupWindow();
    void setupControls();
    void setupMenu(TitleEditing& titles);
    void setupPanels(DrawSession& session, TitleEditing& titles);
    void connectDrawSettings(DrawSession& session);
    void connectDrawDisplay(DrawSession& session);

    DrawSession& session_;
    std::unique_ptr<MainWindowControls> controls_;
};

}  // namespace sortilo
