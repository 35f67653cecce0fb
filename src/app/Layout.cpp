#include "app/Layout.h"

#include "app/MainWindowControls.h"

#include <type_traits>

namespace sortilo {

namespace {

using C = MainWindowControls;
using D = DetailsWidgets;
using R = ResultListWidgets;
using T = TitleEditorWidgets;

// What `path` leads to from `object`: a member, or a member of a member.
template <typename T>
T& reach(T& object) {
    return object;
}
template <typename T, typename Member, typename... Rest>
auto& reach(T& object, Member T::*first, Rest... rest) {
    return reach(object.*first, rest...);
}

// The member `path` leads to gets the control, as the member's type.
template <auto... Path>
void to(MainWindowControls& controls, int /*index*/, QWidget* control) {
    auto& member = reach(controls, Path...);
    member = static_cast<std::remove_reference_t<decltype(member)>>(control);
}

// Element index - First of the array `path` leads to gets the control.
template <int First, auto... Path>
void at(MainWindowControls& controls, int index, QWidget* control) {
    auto& group = reach(controls, Path...);
    using Element = typename std::remove_reference_t<decltype(group)>::value_type;
    Q_ASSERT(index >= First && index - First < int(group.size()));
    group[static_cast<size_t>(index - First)] = static_cast<Element>(control);
}

constexpr ControlSpec::Binder none = nullptr;

using K = ControlSpec::Kind;
constexpr int Centred = ControlSpec::Centre;
constexpr int CentredWrapped = ControlSpec::Centre | ControlSpec::Wrap;
constexpr int Chosen = ControlSpec::Selected;

// clang-format off
constexpr ControlSpec layout[] = {
// name        idx  member the control fills                    kind       caption                   left   top    width  height pt    bold   parent    visible
    {"Frame1",    -1, none,                                       K::Frame,  "抽签结果显示：",        120,  1920, 11895, 4780, 12,   true,  nullptr,  true},
    {"Frame2",    -1, none,                                       K::Frame,  "抽签对象设置：",        120,   120,  3015, 1695, 10.5, true,  nullptr,  true},
    {"Frame3",    -1, none,                                       K::Frame,  "抽取设置：",           3240,   120,  4695, 1695, 10.5, true,  nullptr,  true},
    {"Frame4",    -1, none,                                       K::Frame,  "随机抽取显示窗口：",    8040,   120,  3975, 1695, 10.5, true,  nullptr,  true},
    {"List2",     -1, to<&C::details, &D::list>,                  K::ColumnList, "",                  120,   120, 11895, 6540, 36,   false, nullptr,  false},
    {"Command5",   1, to<&C::details, &D::closeButton>,           K::Button, "关闭",                10800,  5880,   855,  375, 10.5, true,  nullptr,  false},
    {"Frame5",    -1, to<&C::titleEditor, &T::frame>,             K::Frame,  "",                    2760,   120,  7335, 6015, 12,   true,  nullptr,  false, 0, 0, qRgb(255, 224, 192)},

    {"Command6",   0, to<&C::editRosterButton>,                   K::Button, "编辑被抽对象",          600,   360,  1935,  495, 10.5, true,  "Frame2", true},
    {"Command1",   1, to<&C::importButton>,                       K::Button, "导 入 数 据",           600,   960,  1935,  495, 10.5, true,  "Frame2", true},

    {"Label1",     8, none,                                       K::Label,  "抽取值：",              120,   420,  1335,  255, 12,   false, "Frame3", true, Centred},
    {"Text1",     -1, to<&C::drawCountEdit>,                      K::TextBox, "",                    1560,   360,   975,  375, 12,   true,  "Frame3", true},
    {"Label1",     7, none,                                       K::Label,  "抽取后是否保留",         120,  1080,   975,  495, 12,   false, "Frame3", true, CentredWrapped},
    {"Option1",    0, to<&C::keepOption>,                         K::Option, "是",                   1320,  1080,   495,  375, 12,   true,  "Frame3", true, Chosen},
    {"Option1",    1, to<&C::removeOption>,                       K::Option, "否",                   2160,  1080,   495,  375, 12,   true,  "Frame3", true},
    {"Command3",   1, to<&C::stopButton>,                         K::Button, "结束",                 3240,   480,  1095,  855, 12,   true,  "Frame3", true},
    {"Command3",   0, to<&C::startButton>,                        K::Button, "开始",                 3240,   480,  1095,  855, 12,   true,  "Frame3", true},

    {"Label2",    -1, to<&C::rollingNameLabel>,                   K::Label,  "",                      720,   360,  2655,  975, 42,   true,  "Frame4", true, Centred},

    {"Label1",     0, none,                                       K::Label,  "被抽名单：",            120,  1080,  2295,  375, 12,   true,  "Frame1", true, Centred},
    {"List1",      0, to<&C::poolList>,                           K::List,   "",                      240,  1440,  1935, 2670, 12,   false, "Frame1", true},
    {"Label1",     1, at<1, &C::resultLists, &R::titleLabels>,    K::Label,  "标题1",                2640,   480,  1935,  975, 12,   true,  "Frame1", true, CentredWrapped},
    {"Label1",     2, at<1, &C::resultLists, &R::titleLabels>,    K::Label,  "标题2",                4920,   480,  1935,  975, 12,   true,  "Frame1", true, CentredWrapped},
    {"Label1",     3, at<1, &C::resultLists, &R::titleLabels>,    K::Label,  "标题3",                7200,   480,  1935,  975, 12,   true,  "Frame1", true, CentredWrapped},
    {"Label1",     4, at<1, &C::resultLists, &R::titleLabels>,    K::Label,  "标题4",                9480,   480,  1935,  975, 12,   true,  "Frame1", true, CentredWrapped},
    {"List1",      1, at<1, &C::resultLists, &R::lists>,          K::List,   "",                     2640,  1440,  1935, 2670, 12,   false, "Frame1", true},
    {"List1",      2, at<1, &C::resultLists, &R::lists>,          K::List,   "",                     4920,  1440,  1935, 2670, 12,   false, "Frame1", true},
    {"List1",      3, at<1, &C::resultLists, &R::lists>,          K::List,   "",                     7200,  1440,  1935, 2670, 12,   false, "Frame1", true},
    {"List1",      4, at<1, &C::resultLists, &R::lists>,          K::List,   "",                     9480,  1440,  1935, 2670, 12,   false, "Frame1", true},
    {"Command8",   0, to<&C::resultLists, &R::earlierButton>,     K::Button, "<",                    2370,  1920,   255, 1815, 0,    false, "Frame1", true},
    {"Command8",   1, to<&C::resultLists, &R::laterButton>,       K::Button, ">",                   11450,  1800,   255, 1815, 0,    false, "Frame1", true},
    {"Command2",   0, at<0, &C::details, &D::openButtons>,        K::Button, "详情",                 1320,  4320,   735,  340, 10.5, true,  "Frame1", true},
    {"Command2",   1, at<0, &C::details, &D::openButtons>,        K::Button, "详情",                 3240,  4320,   735,  340, 10.5, true,  "Frame1", true},
    {"Command2",   2, at<0, &C::details, &D::openButtons>,        K::Button, "详情",                 5520,  4320,   735,  340, 10.5, true,  "Frame1", true},
    {"Command2",   3, at<0, &C::details, &D::openButtons>,        K::Button, "详情",                 7800,  4320,   735,  340, 10.5, true,  "Frame1", true},
    {"Command2",   4, at<0, &C::details, &D::openButtons>,        K::Button, "详情",                 9960,  4320,   735,  340, 10.5, true,  "Frame1", true},
    {"Label3",    -1, to<&C::poolCountLabel>,                     K::Label,  "",                      120,  4320,  1215,  375, 12,   true,  "Frame1", true, 0, qRgb(255, 0, 0)},
    {"Command9",  -1, to<&C::exportButton>,                       K::Button, "导出",                10800,  4320,   735,  340, 9,    true,  "Frame1", true},

    {"Frame6",    -1, none,                                       K::Frame,  "标题的组别名称编辑",     360,   480,  3015, 5055, 10.5, true,  "Frame5", true},
    {"Frame7",    -1, none,                                       K::Frame,  "标题选定组的内容编辑",   3600,   480,  3375, 5055, 10.5, true,  "Frame5", true},

    {"Option2",    0, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "默认",                  360,   480,  2415,  495, 0,    false, "Frame6", true, Chosen},
    {"Option2",    1, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "Option2",               360,  1060,  2415,  495, 0,    false, "Frame6", true},
    {"Option2",    2, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "Option2",               360,  1640,  2415,  495, 0,    false, "Frame6", true},
    {"Option2",    3, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "Option2",               360,  2220,  2415,  495, 0,    false, "Frame6", true},
    {"Option2",    4, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "Option2",               360,  2800,  2415,  495, 0,    false, "Frame6", true},
    {"Option2",    5, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "Option2",               360,  3380,  2415,  495, 0,    false, "Frame6", true},
    {"Option2",    6, at<0, &C::titleEditor, &T::setOptions>,     K::Option, "Option2",               360,  3960,  2415,  495, 0,    false, "Frame6", true},
    {"Text3",      1, at<1, &C::titleEditor, &T::setNameEdits>,   K::TextBox, "",                     600,  1120,  2175,  375, 0,    false, "Frame6", true},
    {"Text3",      2, at<1, &C::titleEditor, &T::setNameEdits>,   K::TextBox, "",                     600,  1696,  2175,  375, 0,    false, "Frame6", true},
    {"Text3",      3, at<1, &C::titleEditor, &T::setNameEdits>,   K::TextBox, "",                     600,  2272,  2175,  375, 0,    false, "Frame6", true},
    {"Text3",      4, at<1, &C::titleEditor, &T::setNameEdits>,   K::TextBox, "",                     600,  2848,  2175,  375, 0,    false, "Frame6", true},
    {"Text3",      5, at<1, &C::titleEditor, &T::setNameEdits>,   K::TextBox, "",                     600,  3424,  2175,  375, 0,    false, "Frame6", true},
    {"Text3",      6, at<1, &C::titleEditor, &T::setNameEdits>,   K::TextBox, "",                     600,  4000,  2175,  375, 0,    false, "Frame6", true},
    {"Command12", -1, to<&C::titleEditor, &T::confirmButton>,     K::Button, "确认",                 1920,  4440,   855,  375, 10.5, true,  "Frame6", true},

    {"List3",     -1, to<&C::titleEditor, &T::titleList>,         K::List,   "",                      240,   360,  2175, 3630, 10.5, false, "Frame7", true},
    {"Command11", -1, to<&C::titleEditor, &T::deleteButton>,      K::Button, "删除",                 2520,   360,   615,  495, 9,    true,  "Frame7", true},
    {"Text2",     -1, to<&C::titleEditor, &T::newTitleEdit>,      K::TextBox, "",                     240,  4080,  2175,  615, 10.5, false, "Frame7", true},
    {"Command10", -1, to<&C::titleEditor, &T::addButton>,         K::Button, "添加",                 2520,  4150,   615,  495, 9,    true,  "Frame7", true},
};
// clang-format on

}  // namespace

std::span<const ControlSpec> mainWindowLayout() {
    return layout;
}

}  // namespace sortilo
