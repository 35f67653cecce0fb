#pragma once

#include "draw/DrawSession.h"

#include <QObject>

#include <array>

class QListWidget;
class QPushButton;

namespace sortilo {

struct DetailsWidgets {
    QListWidget* list = nullptr;                // large type, three columns
    QPushButton* closeButton = nullptr;         // "关闭"
    std::array<QPushButton*, 5> openButtons{};  // "详情" under the pool list and each result list
};

// The details view: "详情" under a list shows what that list shows (the pool, or the group in
// it) in the large list; "关闭" hides it again. It keeps what it showed while the draw goes on,
// except a group that gets replacements for absent names; in a group's view names can be marked
// absent as in the result lists.
class DetailsView : public QObject {
public:
    DetailsView(const DetailsWidgets& widgets, DrawSession& session, QObject* parent);

    // List 0 is the pool, 1 to 4 the result lists.
    void open(int list);
    void close();

private:
    void markAbsent();

    DetailsWidgets widgets_;
    DrawSession& session_;
    int group_ = 0;  // the group shown; 0 for the pool
};

}  // namespace sortilo
