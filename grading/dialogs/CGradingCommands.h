// The editing view's grading menu (归号): what each command hands to its
// dialog or does itself, and when each is enabled. The tables are found by
// the titles of their pages.
//   32874 输入尺寸名       size-input dialog                 always
//   32881 打开Excel文件    workbook -> select-items dialog   always
//   32875 归号计算         basis selection, grading run      a page holds 量体尺寸表
//   32883 索引及判断特体   condition index                   a page holds 量体尺寸表
//   32887 增加序号及排序   serial numbers and sort           a page holds 个人信息表
//   32888 手动命名号型     the 款式号型 column               a page holds 归号尺寸表
//   32889 自动命名号型     the sizes' names to the persons   the last 个人信息表 has 款式号型
#pragma once

#include "platform/Types.h"

class CVEKView;

class CGradingCommands {
public:
    static constexpr UINT ID_SIZE_INPUT = 32874;
    static constexpr UINT ID_GRADING = 32875;
    static constexpr UINT ID_OPEN_EXCEL = 32881;
    static constexpr UINT ID_CONDITION_INDEX = 32883;
    static constexpr UINT ID_SERIAL_SORT = 32887;
    static constexpr UINT ID_NAME_BY_HAND = 32888;
    static constexpr UINT ID_NAME_AUTOMATICALLY = 32889;

    static bool IsGradingCommand(UINT id);
    static bool IsEnabled(const CVEKView& view, UINT id);
    static void Run(CVEKView& view, UINT id);

    static void OnOpenExcel(CVEKView& view);
    static void OnSizeInput(CVEKView& view);
    static void OnGrading(CVEKView& view);
    static void OnConditionIndex(CVEKView& view);
    static void OnSerialSort(CVEKView& view);
    static void OnNameByHand(CVEKView& view);
    static void OnNameAutomatically(CVEKView& view);
};
