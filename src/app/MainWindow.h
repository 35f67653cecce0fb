#pragma once

#include "draw/DrawSession.h"
#include "titles/TitleEditing.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

namespace sortilo {

struct MainWindowControls;
class ScaledStyle;
class AudienceWindow;

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
    // F11 or the menu command: opens the audience window, or closes it when it is open.
    void toggleAudienceWindow();
    AudienceWindow* audienceWindow() const;
    // Asked when the window is closed (its close button, Alt+F4, Ctrl+Q): false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

Q_SIGNALS:
    void importRequested();
    void rosterEditRequested();
    void exportRequested();
    // 现场随机数 and 抽签记录 in the menu.
    void entropyRequested();
    void drawRecordRequested();
    // 打开数据文件夹: the folder of the program's files, shown in the file manager.
    void dataFolderRequested();

protected:
    // The draw keys, whichever control of this window has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    KeyFocus keyFocus(const QWidget* target) const;
    void setupWindow();
    void setupControls();
    void setupMenu(TitleEditing& titles);
    void setupPanels(DrawSession& session, TitleEditing& titles);
    void connectDrawSettings(DrawSession& session);
    void connectDrawDisplay(DrawSession& session);
    // What the layout table does not place grows with the window too: the menu bar's font, the
    // radio buttons' circles, the scroll bars.
    void applyScale(double scale);

    DrawSession& session_;
    std::unique_ptr<MainWindowControls> controls_;
    QPointer<AudienceWindow> audience_;
    std::function<bool()> closeGuard_;
    QStyle* scaledStyle_ = nullptr;  // a child of the window, gone after the controls
};

}  // namespace sortilo
