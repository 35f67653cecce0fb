#pragma once

#include <QObject>

#include <array>

class QListWidget;
class QPushButton;

namespace sortilo {

struct DetailsWidgets {
    QListWidget* list = nullptr;                // large type, three columns
    QPushButton* closeButton = nullptr;         // "关闭"
    std::array<QPushButton*, 5> openButtons{};  // "详情" under each list
    std::array<QListWidget*, 5> sources{};      // the pool list and the four result lists
};

// The details view: "详情" under a list shows a copy of its entries, up to the first empty one
// (at most 2000), in the large list; "关闭" hides it again. The copy does not follow later
// changes of its list.
class DetailsView : public QObject {
public:
    DetailsView(const DetailsWidgets& widgets, QObject* parent);

    void open(const QListWidget* source);
    void close();

private:
    DetailsWidgets widgets_;
};

}  // namespace sortilo
