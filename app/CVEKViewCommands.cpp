// The command side of the editing view: the choices of the tool-bar
// controls, the edit and clipboard commands, the commands forwarded to the
// current tool, the object commands, printing and the page image, and the
// actions that carry them. The table, library and grading commands keep
// their actions here and run in the handler the tool factory made.
#include "app/CVEKView.h"

#include "app/CDesignTool.h"
#include "app/CFrameServices.h"
#include "settings/CMessageHub.h"
#include "app/COleContainer.h"
#include "app/CPagePrinter.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKSrvrItem.h"
#include "app/CViewCommandHandler.h"

#include "app/CommandIcons.h"
#include "app/IconStrokes.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kIdleUpdateMs = 250;

QKeySequence ShortcutOf(UINT id)
{
    switch (id) {
    case ID_EDIT_COPY: return QKeySequence(Qt::CTRL | Qt::Key_C);
    case ID_EDIT_CUT: return QKeySequence(Qt::CTRL | Qt::Key_X);
    case ID_EDIT_PASTE: return QKeySequence(Qt::CTRL | Qt::Key_V);
    case ID_EDIT_UNDO: return QKeySequence(Qt::CTRL | Qt::Key_Z);
    case ID_EDIT_REDO: return QKeySequence(Qt::CTRL | Qt::Key_Y);
    case ID_EDIT_CANCEL: return QKeySequence(Qt::Key_Escape);
    case ID_FILE_PRINT: return QKeySequence(Qt::CTRL | Qt::Key_P);
    case ID_SAVE_AS_IMAGE: return QKeySequence(Qt::CTRL | Qt::Key_J);
    case ID_TABLE_MATCHING: return QKeySequence(Qt::Key_F2);
    default: return QKeySequence();
    }
}

// The view's commands after the tools, in menu order.
constexpr CVEKView::CommandEntry kOwnCommands[] = {
    {ID_EDIT_UNDO, "撤消(&U)", false},
    {ID_EDIT_REDO, "重做(&R)", false},
    {ID_EDIT_CANCEL, "取消", false},
    {ID_EDIT_CUT, "剪切(&T)", false},
    {ID_EDIT_COPY, "复制(&C)", false},
    {ID_EDIT_PASTE, "粘贴(&P)", false},
    {ID_COPY_BITMAP, "位图复制(&B)", false},
    {ID_LINE_COLOR, "设置线条颜色", false},
    {ID_LINE_TYPE, "设置线型", false},
    {ID_START_ARROW, "设置线条起点的箭头", false},
    {ID_END_ARROW, "设置线条终点的箭头", false},
    {ID_ALIGNMENT, "对齐方式", false},
    {ID_FONT_COLOR, "字体颜色", false},
    {ID_FONT_NAME, "字体名称", false},
    {ID_FONT_SIZE, "字体大小", false},
    {ID_FONT_BOLD, "黑体", true},
    {ID_FONT_ITALIC, "斜体", true},
    {ID_FONT_UNDERLINE, "下划线", true},
    {ID_GRADIENT_START, "渐变开始的颜色", false},
    {ID_GRADIENT_END, "渐变结束的颜色", false},
    {ID_CELL_COLOR, "设置单元格的背静颜色", false},
    {ID_MERGE_CELLS, "合并单元格", false},
    {ID_SPLIT_CELLS, "拆分单元格", false},
    {ID_ROW_BEFORE, "在当前行之前", false},
    {ID_ROW_AFTER, "在当前行之后", false},
    {ID_COLUMN_LEFT, "在当前列左边", false},
    {ID_COLUMN_RIGHT, "在当前列右边", false},
    {ID_DIAGONAL_A, "添加或删除左斜线", false},
    {ID_DIAGONAL_B, "添加或删除右斜线", false},
    {ID_DELETE_ROW, "删除当前行", false},
    {ID_DELETE_COLUMN, "删除当前列", false},
    {ID_TABLE_PROPERTIES, "表格属性(&P)...", false},
    {ID_COPY_TABLE, "复制表格", false},
    {ID_CUT_TABLE, "剪切表格", false},
    {ID_TABLE_MATCHING, "匹配表格", false},
    {ID_SAVE_TO_LIBRARY, "保存到工艺图库", false},
    {ID_SAVE_AS_LINE_TYPE, "保存为线类型", false},
    {ID_OLE_INSERT_NEW, "插入新对象(&N)...", false},
    // The Delete key reaches it through the view: a shortcut would
    // take the key from every tool.
    {ID_OLE_DELETE, "删除对象(&D)\tDel", false},
    {ID_OLE_SAVE_DATA, "保存对象数据(&S)...", false},
    {ID_SIZE_INPUT, "输入尺寸名", false},
    {ID_OPEN_EXCEL, "打开Excel文件", false},
    {ID_GRADING, "归号计算", false},
    {ID_CONDITION_INDEX, "索引及判断特体", false},
    {ID_SERIAL_SORT, "增加序号及排序", false},
    {ID_NAME_BY_HAND, "手动命名号型", false},
    {ID_NAME_AUTOMATICALLY, "自动命名号型", false},
    {ID_FILE_PRINT, "打印(&P)...", false},
    {ID_FILE_PRINT_DIRECT, "打印", false},
    {ID_FILE_PRINT_PREVIEW, "打印预览(&V)", false},
    {ID_PAGE_SETUP, "页面设置...", false},
    {ID_SAVE_AS_IMAGE, "保存为图像文件(&J)", false},
};

} // namespace

// --- The command table ----------------------------------------------------------------

void CVEKView::ListCommands()
{
    for (const CToolDescriptor& tool : m_toolRows) m_commands.push_back({tool.command, tool.tip, true});
    m_commands.insert(m_commands.end(), std::begin(kOwnCommands), std::end(kOwnCommands));
}

// A tool's picture is in its row; the other commands' are drawn by
// CommandIcon.
QIcon CVEKView::ButtonPicture(UINT id) const
{
    const int tool = ToolIndexOfCommand(id);
    return tool >= 0 ? PictureIcon(m_toolRows[std::size_t(tool)].picture) : CommandIcon(int(id));
}

bool CVEKView::IsViewCommand(UINT id) const
{
    for (const CommandEntry& c : Commands())
        if (c.id == id) return true;
    return false;
}

// The actions are not added to any widget here: the main window places
// them, and only then do their shortcuts act (no shortcut is claimed twice).
void CVEKView::CreateCommandActions()
{
    for (const CommandEntry& c : Commands()) {
        auto* action = new QAction(QString::fromUtf8(c.text), this);
        const UINT id = c.id;
        action->setData(int(id));
        QString tip = action->text();
        tip = tip.section(QLatin1Char('\t'), 0, 0);
        tip.remove(QLatin1Char('&'));
        tip.remove(QStringLiteral("..."));
        action->setToolTip(tip);
        action->setCheckable(c.checkable);
        action->setShortcut(ShortcutOf(id));
        action->setIcon(ButtonPicture(id));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_commandActions.insert(id, action);
    }
    m_idleUpdate = new QTimer(this);
    connect(m_idleUpdate, &QTimer::timeout, this, &CVEKView::UpdateCommandActions);
    m_idleUpdate->start(kIdleUpdateMs);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { m_canPaste = -1; });
    UpdateCommandActions();
}

QAction* CVEKView::CommandAction(int id) const
{
    return m_commandActions.value(UINT(id), nullptr);
}

bool CVEKView::OnCommand(UINT id)
{
    if (!IsViewCommand(id) || !IsCommandEnabled(id)) return false;
    const bool ran = RunCommand(id);
    UpdateCommandActions();
    return ran;
}

void CVEKView::UpdateCommandActions()
{
    for (auto it = m_commandActions.cbegin(); it != m_commandActions.cend(); ++it) {
        QAction* action = it.value();
        action->setEnabled(IsCommandEnabled(it.key()));
        if (action->isCheckable()) action->setChecked(IsCommandChecked(it.key()));
    }
}

bool CVEKView::RunCommand(UINT id)
{
    if (OnToolCommand(id)) return true;
    if (RunForwardedCommand(id)) return true;
    if (m_toolCommands && m_toolCommands->Handles(id)) {
        m_toolCommands->Run(id);
        return true;
    }
    switch (id) {
    case ID_EDIT_UNDO: OnEditUndo(); return true;
    case ID_EDIT_REDO: OnEditRedo(); return true;
    case ID_EDIT_CANCEL: OnEditCancel(); return true;
    case ID_EDIT_PASTE: OnEditPaste(); return true;
    case ID_TABLE_MATCHING: OnTableMatching(); return true;
    case ID_OLE_DELETE: OnOleDelete(); return true;
    case ID_OLE_SAVE_DATA: OnOleSaveData(); return true;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT: OnFilePrint(); return true;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); return true;
    case ID_PAGE_SETUP: OnPageSetup(); return true;
    case ID_SAVE_AS_IMAGE: OnSaveAsImage(); return true;
    default: return false;
    }
}

// The commands that only tell the current tool.
bool CVEKView::RunForwardedCommand(UINT id)
{
    CDesignTool* tool = m_pCurrentTool;
    switch (id) {
    case ID_LINE_COLOR: tool->OnLineColor(); return true;
    case ID_LINE_TYPE: tool->OnLineType(); return true;
    case ID_START_ARROW: tool->OnStartArrow(); return true;
    case ID_END_ARROW: tool->OnEndArrow(); return true;
    case ID_ALIGNMENT: tool->OnAlignment(); return true;
    case ID_FONT_COLOR: tool->OnFontColor(); return true;
    case ID_CELL_COLOR: tool->OnCellColor(); return true;
    case ID_GRADIENT_START: tool->OnGradientStartColor(); return true;
    case ID_GRADIENT_END: tool->OnGradientEndColor(); return true;
    case ID_FONT_BOLD: OnFontBold(); return true;
    case ID_FONT_ITALIC: OnFontItalic(); return true;
    case ID_FONT_UNDERLINE: OnFontUnderline(); return true;
    // The font combos report through the hub; their entries only keep the
    // combos enabled.
    case ID_FONT_NAME:
    case ID_FONT_SIZE: return true;
    case ID_MERGE_CELLS: tool->MergeCells(); return true;
    case ID_SPLIT_CELLS: tool->SplitCells(); return true;
    case ID_ROW_BEFORE: tool->InsertRowBefore(); return true;
    case ID_ROW_AFTER: tool->InsertRowAfter(); return true;
    case ID_COLUMN_LEFT: tool->InsertColumnLeft(); return true;
    case ID_COLUMN_RIGHT: tool->InsertColumnRight(); return true;
    case ID_DIAGONAL_A: tool->ToggleDiagonalA(); return true;
    case ID_DIAGONAL_B: tool->ToggleDiagonalB(); return true;
    case ID_DELETE_ROW: tool->DeleteRow(); return true;
    case ID_DELETE_COLUMN: tool->DeleteColumn(); return true;
    case ID_TABLE_PROPERTIES: tool->TableProperties(); return true;
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_EDIT_CUT: OnEditCut(); return true;
    default: return false;
    }
}

bool CVEKView::IsForwardedCommandEnabled(UINT id, bool* known) const
{
    *known = true;
    switch (id) {
    case ID_MERGE_CELLS: return m_pCurrentTool->CanMergeCells();
    case ID_COLUMN_LEFT:
    case ID_COLUMN_RIGHT: return m_pCurrentTool->CanInsertColumn();
    case ID_EDIT_COPY:
    case ID_EDIT_CUT: return m_pCurrentTool->CanCopy();
    default: *known = false; return true;
    }
}

bool CVEKView::IsCommandEnabled(UINT id) const
{
    if (!IsViewCommand(id)) return false;
    if (ToolIndexOfCommand(id) >= 0) return true;
    bool known = false;
    const bool forwarded = IsForwardedCommandEnabled(id, &known);
    if (known) return forwarded;
    if (m_toolCommands && m_toolCommands->Handles(id)) return m_toolCommands->IsEnabled(id);
    const CPageSet* ps = GetPageSet();
    switch (id) {
    case ID_EDIT_UNDO: return CanEditUndo();
    case ID_EDIT_REDO: return CanEditRedo();
    case ID_EDIT_CANCEL: return CanEditCancel();
    case ID_EDIT_PASTE: return CanEditPaste();
    case ID_OLE_INSERT_NEW: return COleContainer::IsOleCommandEnabled(id);
    case ID_OLE_DELETE:
    case ID_OLE_SAVE_DATA: return CanEditOleSelection();
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_PAGE_SETUP:
    case ID_SAVE_AS_IMAGE: return ps && ps->GetPageCount() > 0;
    case ID_FILE_PRINT_PREVIEW: return CPagePrinter::CanPrintPreview(ps);
    default: return true;
    }
}

bool CVEKView::IsCommandChecked(UINT id) const
{
    const LogFont& font = Settings().m_lfDefaultFont;
    switch (id) {
    case ID_FONT_BOLD: return font.lfWeight == FW_BOLD;
    case ID_FONT_ITALIC: return font.lfItalic != 0;
    case ID_FONT_UNDERLINE: return font.lfUnderline != 0;
    default: return ToolIndexOfCommand(id) >= 0 && IsToolCommandChecked(id);
    }
}

// --- Choices of the tool-bar controls -------------------------------------------------

void CVEKView::ConnectMessageHub()
{
    CMessageHub& hub = CMessageHub::Instance();
    // Direct: the sender learns the answer before its call returns.
    connect(&hub, &CMessageHub::ColorChanged, this, &CVEKView::OnColorSelChange, Qt::DirectConnection);
    connect(&hub, &CMessageHub::LineTypeChanged, this, &CVEKView::OnLineTypeSelChange, Qt::DirectConnection);
    connect(&hub, &CMessageHub::ArrowTypeChanged, this, &CVEKView::OnArrowTypeSelChange, Qt::DirectConnection);
    connect(&hub, &CMessageHub::TextAlignmentChanged, this, &CVEKView::OnTextAlignmentSelChange,
            Qt::DirectConnection);
    connect(&hub, &CMessageHub::LineParamChanged, this, &CVEKView::OnLineParamChange, Qt::DirectConnection);
    connect(&hub, &CMessageHub::FontChanged, this, &CVEKView::OnFontSelChange, Qt::DirectConnection);
    connect(&hub, &CMessageHub::FillTypeChanged, this, &CVEKView::OnFillTypeSelChange, Qt::DirectConnection);
}

int CVEKView::OnColorSelChange(COLORREF color, int commandId)
{
    CSystemSettings& s = Settings();
    switch (UINT(commandId)) {
    case ID_LINE_COLOR:
        s.m_crLineColor = color;
        m_pCurrentTool->OnLineColorChanged();
        break;
    case ID_FONT_COLOR:
        s.m_crFontColor = color;
        m_pCurrentTool->OnFontColor();
        break;
    case ID_CELL_COLOR:
        s.m_crCellBackColor = color;
        m_pCurrentTool->OnCellColor();
        break;
    case ID_GRADIENT_START:
        s.m_crGradientStart = color;
        m_pCurrentTool->OnGradientStartColor();
        break;
    case ID_GRADIENT_END:
        s.m_crGradientEnd = color;
        m_pCurrentTool->OnGradientEndColor();
        break;
    default: break;
    }
    return 0;
}

// A choice made with one click applies to what the tool edits at once, as
// a colour does; the tool's own command stays for applying it again.
int CVEKView::OnLineTypeSelChange(int index)
{
    CSystemSettings& s = Settings();
    if (index < 0 || index >= int(s.m_aLineTypes.size())) return 0;
    s.m_nCurLineType = index;
    if (m_frame) m_frame->RebuildContextToolBar();
    m_pCurrentTool->OnLineType();
    return 0;
}

int CVEKView::OnArrowTypeSelChange(int arrowType, int commandId)
{
    CSystemSettings& s = Settings();
    if (UINT(commandId) == ID_START_ARROW) {
        s.m_nStartArrowType = arrowType;
        m_pCurrentTool->OnStartArrow();
    } else if (UINT(commandId) == ID_END_ARROW) {
        s.m_nEndArrowType = arrowType;
        m_pCurrentTool->OnEndArrow();
    }
    return 0;
}

int CVEKView::OnTextAlignmentSelChange(int alignment)
{
    Settings().m_nTextAlignment = alignment;
    m_pCurrentTool->OnAlignment();
    return 0;
}

// Values typed into the tool-bar edits arrive key by key; they go into the
// settings only and take effect on the next curve made or edited (an undo
// step per key would soon push the user's real steps out of the list). The
// width comes from a list in one choice and reaches the tool like the line
// type.
int CVEKView::OnLineParamChange(int commandId, int value)
{
    const bool gap = commandId == ID_PARAM_2 || commandId == ID_PARAM_4 || commandId == ID_PARAM_6;
    if (value < 1 && !gap) return 0;
    CSystemSettings& s = Settings();
    switch (commandId) {
    case ID_OFFSET_DISTANCE: s.m_nOffsetDistance = value; return 1;
    case ID_START_ARROW_ANGLE: s.m_dStartArrowAngle = double(value); return 1;
    case ID_END_ARROW_ANGLE: s.m_dEndArrowAngle = double(value); return 1;
    default: break;
    }
    if (ChangeCurrentLineType(commandId, value) && commandId == ID_LINE_WIDTH) m_pCurrentTool->OnLineType();
    return 1;
}

// The parameter of the current line type that the id names, where the
// line's kind has it. True when the line type changed.
bool CVEKView::ChangeCurrentLineType(int commandId, int value)
{
    CSystemSettings& s = Settings();
    if (s.m_nCurLineType < 0 || s.m_nCurLineType >= int(s.m_aLineTypes.size())) return false;
    CLineAttr& line = s.m_aLineTypes[std::size_t(s.m_nCurLineType)];
    const int widthBefore = line.GetWidth();
    int paramsBefore[6];
    for (int n = 1; n <= 6; ++n) paramsBefore[n - 1] = line.GetParam(n);
    const int kind = line.GetKind();
    auto kindIn = [kind](std::initializer_list<int> kinds) {
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
    };
    switch (commandId) {
    case ID_LINE_WIDTH:
        line.SetWidth(value);
        if (kind == LINE_DOT) line.SetParam(1, value);
        if (kind == LINE_CUSTOM) line.RecalcPatternPeriod();
        break;
    case ID_PARAM_1:
        if (kindIn({LINE_DASH, LINE_DASH_PAIR, LINE_DASH_TRIPLE, LINE_CUSTOM})) line.SetParam(1, value);
        break;
    case ID_PARAM_2:
        if (kindIn({LINE_DASH, LINE_DOT, LINE_DASH_PAIR, LINE_DASH_TRIPLE, LINE_CUSTOM})) line.SetParam(2, value);
        break;
    case ID_PARAM_3:
    case ID_PARAM_4:
        if (kindIn({LINE_DASH_PAIR, LINE_DASH_TRIPLE})) line.SetParam(commandId - ID_PARAM_1 + 1, value);
        break;
    case ID_PARAM_5:
    case ID_PARAM_6:
        if (kind == LINE_DASH_TRIPLE) line.SetParam(commandId - ID_PARAM_1 + 1, value);
        break;
    default: break;
    }
    if (line.GetWidth() != widthBefore) return true;
    for (int n = 1; n <= 6; ++n)
        if (line.GetParam(n) != paramsBefore[n - 1]) return true;
    return false;
}

int CVEKView::OnFontSelChange()
{
    m_pCurrentTool->OnFont();
    return 0;
}

int CVEKView::OnFillTypeSelChange()
{
    m_pCurrentTool->OnFillType();
    return 0;
}

// --- Font styles -----------------------------------------------------------------------

void CVEKView::OnFontBold()
{
    LogFont& font = Settings().m_lfDefaultFont;
    font.lfWeight = font.lfWeight == FW_BOLD ? FW_NORMAL : FW_BOLD;
    m_pCurrentTool->OnFont();
}

void CVEKView::ToggleFontByte(BYTE& field)
{
    field = field ? 0 : 1;
    m_pCurrentTool->OnFont();
}

void CVEKView::OnFontItalic()
{
    ToggleFontByte(Settings().m_lfDefaultFont.lfItalic);
}

void CVEKView::OnFontUnderline()
{
    ToggleFontByte(Settings().m_lfDefaultFont.lfUnderline);
}

// --- Clipboard -----------------------------------------------------------------------

void CVEKView::OnEditCopy()
{
    if (m_pCurrentTool->CanCopy()) m_pCurrentTool->OnEditCopy();
}

void CVEKView::OnEditCut()
{
    if (m_pCurrentTool->CanCopy()) m_pCurrentTool->OnEditCut();
}

// The paste takes its own undo step, and only when something sound is
// pasted.
void CVEKView::OnEditPaste()
{
    CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(m_doc);
    if (!item) return;
    m_canPaste = -1;
    CPageSet* ps = GetPageSet();
    const int before = ps && ps->GetCurrentPage() ? ps->GetCurrentPage()->GetElementCount() : 0;
    if (!item->OnEditPaste(this)) return;
    // What was pasted lies at the end of the current page: the tool may
    // take it up, so it can be moved at once.
    CElementList pasted;
    if (CPage* page = ps ? ps->GetCurrentPage() : nullptr) {
        int index = 0;
        for (CGraphElement* element : page->Elements())
            if (index++ >= before) pasted.AddTail(element);
    }
    if (!pasted.IsEmpty()) m_pCurrentTool->OnElementsPasted(pasted);
    Invalidate(FALSE);
}

bool CVEKView::CanEditPaste() const
{
    if (!m_doc || !GetPageSet()) return false;
    if (m_canPaste < 0) {
        const CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(m_doc);
        m_canPaste = item && item->CanPaste() ? 1 : 0;
    }
    return m_canPaste == 1;
}

void CVEKView::OnTableMatching()
{
    Settings().m_bTableMatching = Settings().m_bTableMatching ? 0 : 1;
}

// --- Printing and the page image -------------------------------------------------------

void CVEKView::OnFilePrint()
{
    if (const CPageSet* ps = GetPageSet()) CPagePrinter(*ps).OnFilePrint(this);
}

// The preview is a window of its own; the frame only needs to know that it
// runs.
void CVEKView::OnFilePrintPreview()
{
    const CPageSet* ps = GetPageSet();
    if (!CPagePrinter::CanPrintPreview(ps)) return;
    if (m_frame) m_frame->SetInPrintPreview(true);
    CPagePrinter(*ps).OnFilePrintPreview(this);
    if (m_frame) m_frame->SetInPrintPreview(false);
}

// A new paper is one undo step, taken by the page setup itself.
void CVEKView::OnPageSetup()
{
    if (m_doc && CPagePrinter::OnPageSetup(this, *m_doc)) {
        UpdateScrollBars();
        Invalidate(FALSE);
    }
}

void CVEKView::OnSaveAsImage()
{
    if (const CPageSet* ps = GetPageSet()) CPagePrinter(*ps).OnSaveAsImage(this);
}
