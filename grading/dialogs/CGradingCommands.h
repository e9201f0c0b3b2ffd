// The editing view's grading menu (归号): what each command hands to its
// dialog or does itself, and when each is enabled. The tables are found by
// the titles of their pages.
//   ID_SIZE_INPUT         输入尺寸名      size-input dialog                always
//   ID_OPEN_EXCEL         打开Excel文件   workbook -> select-items dialog  always
//   ID_GRADING            归号计算        basis selection, grading run     a page holds 量体尺寸表
//   ID_CONDITION_INDEX    索引及判断特体  condition index                  a page holds 量体尺寸表
//   ID_SERIAL_SORT        增加序号及排序  serial numbers and sort          a page holds 个人信息表
//   ID_NAME_BY_HAND       手动命名号型    the 款式号型 column              a page holds 归号尺寸表
//   ID_NAME_AUTOMATICALLY 自动命名号型    the sizes' names to the persons  the last 个人信息表 has 款式号型
#pragma once

#include "platform/Types.h"

class CVEKView;

class CGradingCommands {
public:
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
