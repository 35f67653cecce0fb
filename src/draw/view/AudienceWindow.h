#pragma once

#include "draw/DrawSession.h"
#include "draw/view/AudienceLayout.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace sortilo {

// The window the audience watches, on a projector or a second screen: the rolling name as large
// as the window allows while a draw rolls, the recorded group after Stop. It follows the
// session's signals and changes nothing: its keys are handed to the session as the main
// window's are (the operator's clicker cannot know which window has the focus), and closing it
// leaves the draw alone.
class AudienceWindow : public QWidget {
    Q_OBJECT

public:
    explicit AudienceWindow(DrawSession& session, QWidget* parent = nullptr);

    // Opens full screen on a screen other than the operator's, or on a computer with one screen
    // as a normal window beside the operator's window `operatorFrame`, clear of `keepClear` (its
    // menu bar and draw controls, on the screen). It never takes the keyboard's focus from the
    // operator's window.
    void open(const QScreen* operatorScreen, const QRect& operatorFrame, const QRect& keepClear);
    void toggleFullScreen();

    // What it shows: the rolling name, or a group's title and names.
    bool showsGroup() const { return showsGroup_; }
    const QString& rollingName() const { return rollingName_; }
    const QString& groupTitle() const { return groupTitle_; }
    const QStringList& groupNames() const { return groupNames_; }
    const GroupLayout& groupLayout() const { return layout_; }
    // The small line under it: the session's commitment before its first group, then where the
    // record stands after each group.
    const QString& proofLine() const { return proofLine_; }
    // The places of the replacements for absent names, marked for a few seconds after they
    // are drawn.
    const QList<int>& markedPlaces() const { return marked_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showRollingName(const QString& name);
    void showGroup(const QString& title, const QStringList& names);
    void showProof();
    void layOut();
    // The window less the band of the small line at its foot.
    QSize drawingSize() const;
    void paintGroup(QPainter& painter) const;
    void paintProof(QPainter& painter) const;

    DrawSession& session_;
    QFont face_;
    bool showsGroup_ = false;
    QString rollingName_;
    QFont rollingFont_;
    QString groupTitle_;
    QStringList groupNames_;
    QString proofLine_;
    QList<int> marked_;
    QTimer markTimer_;
    GroupLayout layout_;
    // The group drawn once per group and size: a repaint (a tick of the next draw behind it, an
    // expose, a move to the projector) only copies it.
    QImage groupPicture_;
};

}  // namespace sortilo
