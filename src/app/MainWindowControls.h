#pragma once

#include "results/view/DetailsView.h"
#include "results/view/ResultListsView.h"
#include "titles/view/TitleEditorPanel.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace sortilo {

// The main window's controls that anything refers to, filled from the layout table. Those of a
// panel are grouped as that panel takes them.
struct MainWindowControls {
    QPushButton* editRosterButton = nullptr;  // "编辑被抽对象"
    QPushButton* importButton = nullptr;      // "导 入 数 据"
    QLineEdit* drawCountEdit = nullptr;
    QRadioButton* keepOption = nullptr;    // "是"
    QRadioButton* removeOption = nullptr;  // "否"
    QPushButton* startButton = nullptr;    // "开始"
    QPushButton* stopButton = nullptr;     // "结束", under 开始
    QLabel* rollingNameLabel = nullptr;
    QListWidget* poolList = nullptr;
    QLabel* poolCountLabel = nullptr;     // e.g. 25可抽值
    QPushButton* exportButton = nullptr;  // "导出"
    ResultListWidgets resultLists;
    DetailsWidgets details;
    TitleEditorWidgets titleEditor;
};

}  // namespace sortilo
