#include "app/Layout.h"

#include <array>

namespace sortilo {

namespace {

using K = ControlSpec::Kind;
constexpr int C = ControlSpec::Centre;
constexpr int CW = ControlSpec::Centre | ControlSpec::Wrap;
constexpr int SEL = ControlSpec::Selected;

// clang-format off
constexpr std::array layout = {
//  name         idx kind          caption                     left   top    width  height pt    bold   parent    visible
    ControlSpec{"Frame1",    -1, K::Frame,  "抽签结果显示：",        120,  1920, 11895, 4780, 12,   true,  nullptr,  true},
    ControlSpec{"Frame2",    -1, K::Frame,  "抽签对象设置：",        120,   120,  3015, 1695, 10.5, true,  nullptr,  true},
    ControlSpec{"Frame3",    -1, K::Frame,  "抽取设置：",           3240,   120,  4695, 1695, 10.5, true,  nullptr,  true},
    ControlSpec{"Frame4",    -1, K::Frame,  "随机抽取显示窗口：",    8040,   120,  3975, 1695, 10.5, true,  nullptr,  true},
    ControlSpec{"List2",     -1, K::ColumnList, "",                  120,   120, 11895, 6540, 36,   false, nullptr,  false},
    ControlSpec{"Command5",   1, K::Button, "关闭",                10800,  5880,   855,  375, 10.5, true,  nullptr,  false},
    ControlSpec{"Frame5",    -1, K::Frame,  "",                    2760,   120,  7335, 6015, 12,   true,  nullptr,  false, 0, 0, qRgb(255, 224, 192)},

    ControlSpec{"Command6",   0, K::Button, "编辑被抽对象",          600,   360,  1935,  495, 10.5, true,  "Frame2", true},
    ControlSpec{"Command1",   1, K::Button, "导 入 数 据",           600,   960,  1935,  495, 10.5, true,  "Frame2", true},

    ControlSpec{"Label1",     8, K::Label,  "抽取值：",              120,   420,  1335,  255, 12,   false, "Frame3", true, C},
    ControlSpec{"Text1",     -1, K::TextBox, "",                    1560,   360,   975,  375, 12,   true,  "Frame3", true},
    ControlSpec{"Label1",     7, K::Label,  "抽取后是否保留",         120,  1080,   975,  495, 12,   false, "Frame3", true, CW},
    ControlSpec{"Option1",    0, K::Option, "是",                   1320,  1080,   495,  375, 12,   true,  "Frame3", true, SEL},
    ControlSpec{"Option1",    1, K::Option, "否",                   2160,  1080,   495,  375, 12,   true,  "Frame3", true},
    ControlSpec{"Command3",   1, K::Button, "结束",                 3240,   480,  1095,  855, 12,   true,  "Frame3", true},
    ControlSpec{"Command3",   0, K::Button, "开始",                 3240,   480,  1095,  855, 12,   true,  "Frame3", true},

    ControlSpec{"Label2",    -1, K::Label,  "",                      720,   360,  2655,  975, 42,   true,  "Frame4", true, C},

    ControlSpec{"Label1",     0, K::Label,  "被抽名单：",            120,  1080,  2295,  375, 12,   true,  "Frame1", true, C},
    ControlSpec{"List1",      0, K::List,   "",                      240,  1440,  1935, 2670, 12,   false, "Frame1", true},
    ControlSpec{"Label1",     1, K::Label,  "标题1",                2640,   480,  1935,  975, 12,   true,  "Frame1", true, CW},
    ControlSpec{"Label1",     2, K::Label,  "标题2",                4920,   480,  1935,  975, 12,   true,  "Frame1", true, CW},
    ControlSpec{"Label1",     3, K::Label,  "标题3",                7200,   480,  1935,  975, 12,   true,  "Frame1", true, CW},
    ControlSpec{"Label1",     4, K::Label,  "标题4",                9480,   480,  1935,  975, 12,   true,  "Frame1", true, CW},
    ControlSpec{"List1",      1, K::List,   "",                     2640,  1440,  1935, 2670, 12,   false, "Frame1", true},
    ControlSpec{"List1",      2, K::List,   "",                     4920,  1440,  1935, 2670, 12,   false, "Frame1", true},
    ControlSpec{"List1",      3, K::List,   "",                     7200,  1440,  1935, 2670, 12,   false, "Frame1", true},
    ControlSpec{"List1",      4, K::List,   "",                     9480,  1440,  1935, 2670, 12,   false, "Frame1", true},
    ControlSpec{"Command8",   0, K::Button, "<",                    2370,  1920,   255, 1815, 0,    false, "Frame1", true},
    ControlSpec{"Command8",   1, K::Button, ">",                   11450,  1800,   255, 1815, 0,    false, "Frame1", true},
    ControlSpec{"Command2",   0, K::Button, "详情",                 1320,  4320,   735,  340, 10.5, true,  "Frame1", true},
    ControlSpec{"Command2",   1, K::Button, "详情",                 3240,  4320,   735,  340, 10.5, true,  "Frame1", true},
    ControlSpec{"Command2",   2, K::Button, "详情",                 5520,  4320,   735,  340, 10.5, true,  "Frame1", true},
    ControlSpec{"Command2",   3, K::Button, "详情",                 7800,  4320,   735,  340, 10.5, true,  "Frame1", true},
    ControlSpec{"Command2",   4, K::Button, "详情",                 9960,  4320,   735,  340, 10.5, true,  "Frame1", true},
    ControlSpec{"Label3",    -1, K::Label,  "",                      120,  4320,  1215,  375, 12,   true,  "Frame1", true, 0, qRgb(255, 0, 0)},
    ControlSpec{"Command9",  -1, K::Button, "导出",                10800,  4320,   735,  340, 9,    true,  "Frame1", true},

    ControlSpec{"Frame6",    -1, K::Frame,  "标题的组别名称编辑",     360,   480,  3015, 5055, 10.5, true,  "Frame5", true},
    ControlSpec{"Frame7",    -1, K::Frame,  "标题选定组的内容编辑",   3600,   480,  3375, 5055, 10.5, true,  "Frame5", true},

    ControlSpec{"Option2",    0, K::Option, "默认",                  360,   480,  2415,  495, 0,    false, "Frame6", true, SEL},
    ControlSpec{"Option2",    1, K::Option, "Option2",               360,  1060,  2415,  495, 0,    false, "Frame6", true},
    ControlSpec{"Option2",    2, K::Option, "Option2",               360,  1640,  2415,  495, 0,    false, "Frame6", true},
    ControlSpec{"Option2",    3, K::Option, "Option2",               360,  2220,  2415,  495, 0,    false, "Frame6", true},
    ControlSpec{"Option2",    4, K::Option, "Option2",               360,  2800,  2415,  495, 0,    false, "Frame6", true},
    ControlSpec{"Option2",    5, K::Option, "Option2",               360,  3380,  2415,  495, 0,    false, "Frame6", true},
    ControlSpec{"Option2",    6, K::Option, "Option2",               360,  3960,  2415,  495, 0,    false, "Frame6", true},
    ControlSpec{"Text3",      1, K::TextBox, "",                     600,  1120,  2175,  375, 0,    false, "Frame6", true},
    ControlSpec{"Text3",      2, K::TextBox, "",                     600,  1696,  2175,  375, 0,    false, "Frame6", true},
    ControlSpec{"Text3",      3, K::TextBox, "",                     600,  2272,  2175,  375, 0,    false, "Frame6", true},
    ControlSpec{"Text3",      4, K::TextBox, "",                     600,  2848,  2175,  375, 0,    false, "Frame6", true},
    ControlSpec{"Text3",      5, K::TextBox, "",                     600,  3424,  2175,  375, 0,    false, "Frame6", true},
    ControlSpec{"Text3",      6, K::TextBox, "",                     600,  4000,  2175,  375, 0,    false, "Frame6", true},
    ControlSpec{"Command12", -1, K::Button, "确认",                 1920,  4440,   855,  375, 10.5, true,  "Frame6", true},

    ControlSpec{"List3",     -1, K::List,   "",                      240,   360,  2175, 3630, 10.5, false, "Frame7", true},
    ControlSpec{"Command11", -1, K::Button, "删除",                 2520,   360,   615,  495, 9,    true,  "Frame7", true},
    ControlSpec{"Text2",     -1, K::TextBox, "",                     240,  4080,  2175,  615, 10.5, false, "Frame7", true},
    ControlSpec{"Command10", -1, K::Button, "添加",                 2520,  4150,   615,  495, 9,    true,  "Frame7", true},
};
// clang-format on

}  // namespace

std::span<const ControlSpec> mainWindowLayout() {
    return layout;
}

}  // namespace sortilo
