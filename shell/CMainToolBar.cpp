#include "shell/CMainToolBar.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/WorkUnits.h"
#include "model/CLineAttr.h"

#include "ui/CArrowTypeMenuButton.h"
#include "ui/CCharsetComboBox.h"
#include "ui/CColorMenuButton.h"
#include "ui/CEndArrowAngleCombo.h"
#include "ui/CFillTypeCombo.h"
#include "ui/CFontNameCombo.h"
#include "ui/CFontSizeCombo.h"
#include "ui/CLineTypeCombo.h"
#include "ui/CStartArrowAngleCombo.h"
#include "ui/CTFTypeMenuButton.h"
#include "ui/CToolbarCombo.h"
#include "ui/CToolbarEdit.h"
#include "res/CommandIds.h"

#include <QAction>
#include <QToolButton>

namespace {

struct ControlText {
    int id;
    const char* text;
};

// Tool tips of the context controls and pickers.
const ControlText kControlTexts[] = {
    {ID_LINE_COLOR, "设置线条颜色"},
    {ID_LINE_TYPE_LIST, "选择线型"},
    {ID_LINE_WIDTH, "选择线宽"},
    {ID_PARAM_2, "第1段间隙1"},
    {ID_OFFSET_DISTANCE, "等距线间的距离"},
    {ID_CELL_COLOR, "设置单元格的背静颜色"},
    {ID_FONT_NAME, "字体名称"},
    {ID_FONT_SIZE, "字体大小"},
    {ID_CHARSET, "字符集"},
    {ID_FONT_COLOR, "字体颜色"},
    {ID_ALIGNMENT, "对齐方式"},
    {ID_FILL_TYPE, "选择填充类型"},
    {ID_GRADIENT_START, "渐变开始的颜色"},
    {ID_GRADIENT_END, "渐变结束的颜色"},
    {ID_START_ARROW, "设置线条起点的箭头"},
    {ID_START_ARROW_ANGLE, "设置起始箭头的角度"},
    {ID_START_ARROW_SIZE, "设置起始箭头的大小"},
    {ID_END_ARROW, "设置线条终点的箭头"},
    {ID_END_ARROW_ANGLE, "设置终止箭头的角度"},
    {ID_END_ARROW_SIZE, "设置终止箭头的大小"},
};

const QList<int> kTableCommands = {ID_MERGE_CELLS, ID_SPLIT_CELLS, ID_CELL_COLOR, ID_DIAGONAL_A, ID_DIAGONAL_B,
                                   ID_ROW_BEFORE, ID_ROW_AFTER, ID_COLUMN_LEFT, ID_COLUMN_RIGHT};
const QList<int> kFontCommands = {ID_FONT_NAME, ID_FONT_SIZE, ID_CHARSET, ID_FONT_COLOR,
                                  ID_FONT_BOLD, ID_FONT_ITALIC, ID_FONT_UNDERLINE};

QString LengthText(int value, const CSystemSettings& s)
{
    return QString::fromStdString(FormatLength(value, 100, s.m_nWorkUnit, s.m_nPrecision));
}

// Widths of the controls in pixels. The original's were a little smaller;
// these leave room for the drop-down arrows and the larger fonts here.
constexpr int kLineTypeWidth = 100;
constexpr int kLineWidthWidth = 52;
constexpr int kValueEditWidth = 56;
constexpr int kAngleEditWidth = 40;
constexpr int kSizeComboWidth = 52;
constexpr int kFontNameWidth = 120;
constexpr int kFontSizeWidth = 64;
constexpr int kCharsetWidth = 136;
constexpr int kFillTypeWidth = 100;

bool IsColorPicker(int id)
{
    return id == ID_LINE_COLOR || id == ID_FONT_COLOR || id == ID_CELL_COLOR || id == ID_GRADIENT_START ||
           id == ID_GRADIENT_END;
}

// The commands that the bar shows as a control or a picker of its own,
// even where the command also has an action (the pickers' commands are the
// view's).
bool IsControlCommand(int id)
{
    switch (id) {
    case ID_LINE_TYPE_LIST: case ID_LINE_WIDTH: case ID_PARAM_2: case ID_OFFSET_DISTANCE:
    case ID_START_ARROW_ANGLE: case ID_END_ARROW_ANGLE: case ID_START_ARROW_SIZE: case ID_END_ARROW_SIZE:
    case ID_FONT_NAME: case ID_FONT_SIZE: case ID_CHARSET: case ID_FILL_TYPE:
    case ID_LINE_COLOR: case ID_FONT_COLOR: case ID_CELL_COLOR: case ID_GRADIENT_START: case ID_GRADIENT_END:
    case ID_START_ARROW: case ID_END_ARROW: case ID_ALIGNMENT:
        return true;
    default: return false;
    }
}

} // namespace

const QList<int>& CMainToolBar::ButtonOrder()
{
    static const QList<int> order = {
        ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
        ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
        ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, 0,
        ID_LINE_COLOR, ID_LINE_TYPE, ID_LINE_TYPE_LIST, ID_LINE_WIDTH,
        ID_PARAM_1, ID_PARAM_2, ID_PARAM_3, ID_PARAM_4, ID_PARAM_5, ID_PARAM_6, ID_OFFSET_DISTANCE,
        ID_MERGE_CELLS, ID_SPLIT_CELLS, ID_CELL_COLOR, ID_DIAGONAL_A, ID_DIAGONAL_B,
        ID_ROW_BEFORE, ID_ROW_AFTER, ID_COLUMN_LEFT, ID_COLUMN_RIGHT,
        ID_FONT_NAME, ID_FONT_SIZE, ID_CHARSET, ID_FONT_COLOR, ID_FONT_BOLD, ID_FONT_ITALIC, ID_FONT_UNDERLINE,
        ID_ALIGNMENT,
        ID_FILL_TYPE, ID_GRADIENT_START, ID_GRADIENT_END,
        ID_START_ARROW, ID_START_ARROW_ANGLE, ID_START_ARROW_SIZE, ID_END_ARROW, ID_END_ARROW_ANGLE, ID_END_ARROW_SIZE,
        ID_APP_ABOUT,
    };
    return order;
}

CMainToolBar::CMainToolBar(QWidget* parent) : QToolBar(parent)
{
    setIconSize(QSize(16, 16));
}

template <class T>
T* CMainToolBar::Place(int commandId, T* control, int width)
{
    control->setFixedWidth(width);
    m_widgets.insert(commandId, control);
    m_slots.insert(commandId, addWidget(control));
    return control;
}

QWidget* CMainToolBar::CreatePicker(int commandId)
{
    CPickerMenuButton* picker = nullptr;
    if (IsColorPicker(commandId)) {
        auto* colour = new CColorMenuButton(commandId, this);
        connect(colour, &CColorMenuButton::OtherColorRequested, this, &CMainToolBar::OtherColorRequested);
        picker = colour;
    } else if (commandId == ID_START_ARROW || commandId == ID_END_ARROW) {
        picker = new CArrowTypeMenuButton(commandId, this);
    } else {
        picker = m_pAlignmentButton = new CTFTypeMenuButton(commandId, this);
    }
    connect(picker, &QToolButton::clicked, this, [this, commandId] { Q_EMIT CommandTriggered(commandId); });
    m_widgets.insert(commandId, picker);
    m_slots.insert(commandId, addWidget(picker));
    return picker;
}

// A button of its own for the action: the groups are hidden through the
// button's slot, so the action itself stays visible in the menus that
// share it.
void CMainToolBar::PlaceButton(int commandId, QAction* action)
{
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(iconSize());
    button->setToolButtonStyle(toolButtonStyle());
    connect(this, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    connect(this, &QToolBar::toolButtonStyleChanged, button, &QToolButton::setToolButtonStyle);
    m_widgets.insert(commandId, button);
    m_slots.insert(commandId, addWidget(button));
}

QWidget* CMainToolBar::CreateControl(int commandId)
{
    switch (commandId) {
    case ID_LINE_TYPE_LIST: return m_pLineTypeCombo = Place(commandId, new CLineTypeCombo(this), kLineTypeWidth);
    case ID_LINE_WIDTH: return m_pLineWidthCombo = Place(commandId, new CToolbarCombo(this), kLineWidthWidth);
    // Only the first gap's box can ever show (a custom line type's spacing).
    case ID_PARAM_2: return m_pGap1Edit = Place(commandId, new CToolbarEdit(commandId, this), kValueEditWidth);
    case ID_OFFSET_DISTANCE:
        return m_pOffsetEdit = Place(commandId, new CToolbarEdit(commandId, this), kValueEditWidth);
    case ID_START_ARROW_ANGLE:
        return m_pStartAngleEdit = Place(commandId, new CToolbarEdit(commandId, this), kAngleEditWidth);
    case ID_END_ARROW_ANGLE:
        return m_pEndAngleEdit = Place(commandId, new CToolbarEdit(commandId, this), kAngleEditWidth);
    case ID_START_ARROW_SIZE:
        return m_pStartSizeCombo = Place(commandId, new CStartArrowAngleCombo(this), kSizeComboWidth);
    case ID_END_ARROW_SIZE:
        return m_pEndSizeCombo = Place(commandId, new CEndArrowAngleCombo(this), kSizeComboWidth);
    case ID_FONT_NAME: return m_pFontNameCombo = Place(commandId, new CFontNameCombo(this), kFontNameWidth);
    case ID_FONT_SIZE: return m_pFontSizeCombo = Place(commandId, new CFontSizeCombo(this), kFontSizeWidth);
    case ID_CHARSET: return m_pCharsetCombo = Place(commandId, new CCharsetComboBox(this), kCharsetWidth);
    case ID_FILL_TYPE: return m_pFillTypeCombo = Place(commandId, new CFillTypeCombo(this), kFillTypeWidth);
    case ID_LINE_COLOR: case ID_FONT_COLOR: case ID_CELL_COLOR: case ID_GRADIENT_START: case ID_GRADIENT_END:
    case ID_START_ARROW: case ID_END_ARROW: case ID_ALIGNMENT:
        return CreatePicker(commandId);
    default: return nullptr;
    }
}

void CMainToolBar::Build(const QHash<int, QAction*>& actions)
{
    for (int id : ButtonOrder()) {
        if (id == 0) {
            addSeparator();
        } else if (IsControlCommand(id)) {
            CreateControl(id);
        } else if (QAction* action = actions.value(id)) {
            PlaceButton(id, action);
        }
    }
    if (m_pFontNameCombo) m_pFontNameCombo->SetCharsetCombo(m_pCharsetCombo);
    SetControlToolTips();
    OnReset();
}

void CMainToolBar::SetControlToolTips()
{
    for (const ControlText& c : kControlTexts)
        if (QWidget* w = CommandWidget(c.id)) w->setToolTip(QString::fromUtf8(c.text));
}

void CMainToolBar::OnReset()
{
    const CSystemSettings& s = Settings();
    const struct {
        int id;
        COLORREF colour;
    } colours[] = {{ID_LINE_COLOR, s.m_crLineColor}, {ID_CELL_COLOR, s.m_crCellBackColor},
                   {ID_FONT_COLOR, s.m_crFontColor}, {ID_GRADIENT_START, s.m_crGradientStart},
                   {ID_GRADIENT_END, s.m_crGradientEnd}};
    for (const auto& c : colours)
        if (CColorMenuButton* b = ColorButton(c.id)) b->SetColor(c.colour, TRUE);
    if (CArrowTypeMenuButton* b = ArrowButton(ID_START_ARROW)) b->SetArrowType(s.m_nStartArrowType, TRUE);
    if (CArrowTypeMenuButton* b = ArrowButton(ID_END_ARROW)) b->SetArrowType(s.m_nEndArrowType, TRUE);
    if (m_pAlignmentButton) m_pAlignmentButton->SetTFType(s.m_nTextAlignment, TRUE);
}

void CMainToolBar::SetCommandVisible(int commandId, bool visible)
{
    if (QAction* a = m_slots.value(commandId)) a->setVisible(visible);
}

bool CMainToolBar::IsCommandVisible(int commandId) const
{
    const QAction* a = m_slots.value(commandId);
    return a && a->isVisible();
}

QList<int> CMainToolBar::VisibleCommands() const
{
    QList<int> shown;
    for (int id : ButtonOrder())
        if (id != 0 && IsCommandVisible(id)) shown << id;
    return shown;
}

QWidget* CMainToolBar::CommandWidget(int commandId) const
{
    return m_widgets.value(commandId);
}

CColorMenuButton* CMainToolBar::ColorButton(int commandId) const
{
    return qobject_cast<CColorMenuButton*>(m_widgets.value(commandId));
}

CArrowTypeMenuButton* CMainToolBar::ArrowButton(int commandId) const
{
    return qobject_cast<CArrowTypeMenuButton*>(m_widgets.value(commandId));
}

void CMainToolBar::SetDropHeights(int lineHeight, int fontHeight)
{
    const int lineItems = std::max(1, lineHeight / CLineTypeCombo::kItemHeight);
    const int fontItems = std::max(1, fontHeight / CFontNameCombo::kItemHeight);
    for (QComboBox* c : std::initializer_list<QComboBox*>{m_pLineTypeCombo, m_pLineWidthCombo, m_pStartSizeCombo,
                                                          m_pEndSizeCombo, m_pFillTypeCombo})
        if (c) c->setMaxVisibleItems(lineItems);
    for (QComboBox* c : std::initializer_list<QComboBox*>{m_pFontNameCombo, m_pFontSizeCombo, m_pCharsetCombo})
        if (c) c->setMaxVisibleItems(fontItems);
}

void CMainToolBar::ShowGroups(const ContextGroups& groups, const CSystemSettings& settings)
{
    ShowLineGroups(groups, settings);
    ShowTextGroups(groups, settings);
    ShowFillGroups(groups, settings);
}

void CMainToolBar::ShowColorGroup(int commandId, bool on, COLORREF colour)
{
    SetCommandVisible(commandId, on);
    CColorMenuButton* button = ColorButton(commandId);
    if (!on || !button) return;
    button->SetShowAutomatic(false);
    button->SetColor(colour, TRUE);
}

void CMainToolBar::ShowLineGroups(const ContextGroups& g, const CSystemSettings& s)
{

    ShowColorGroup(ID_LINE_COLOR, g.lineColor, s.m_crLineColor);

    SetCommandVisible(ID_LINE_TYPE, g.lineType);
    SetCommandVisible(ID_LINE_TYPE_LIST, g.lineType);
    if (g.lineType) LineTypeCombo()->SyncWithSettings();

    SetCommandVisible(ID_LINE_WIDTH, g.lineWidth);
    if (g.lineWidth) LineWidthCombo()->SyncWithSettings();

    // A custom line type shows the spacing of its pattern; the other
    // parameters are never edited on the bar.
    const bool hasType = s.m_nCurLineType >= 0 && s.m_nCurLineType < int(s.m_aLineTypes.size());
    const CLineAttr* current = hasType ? &s.m_aLineTypes[std::size_t(s.m_nCurLineType)] : nullptr;
    const bool custom = g.lineType && current && current->GetKind() == LINE_CUSTOM;
    SetCommandVisible(ID_PARAM_2, custom);
    if (custom) LineParamEdit()->SetValueText(LengthText(current->GetParam(2), s));

    SetCommandVisible(ID_START_ARROW, g.arrows);
    SetCommandVisible(ID_END_ARROW, g.arrows);
    if (g.arrows) {
        ArrowButton(ID_START_ARROW)->SetArrowType(s.m_nStartArrowType, TRUE);
        ArrowButton(ID_END_ARROW)->SetArrowType(s.m_nEndArrowType, TRUE);
    }

    SetCommandVisible(ID_OFFSET_DISTANCE, g.offset);
    if (g.offset) OffsetEdit()->SetValueText(LengthText(s.m_nOffsetDistance, s));

    for (int id : {ID_START_ARROW_ANGLE, ID_START_ARROW_SIZE, ID_END_ARROW_ANGLE, ID_END_ARROW_SIZE})
        SetCommandVisible(id, g.arrowAngles);
    if (g.arrowAngles) {
        StartAngleEdit()->SetValueText(QString::number(RoundToInt(s.m_dStartArrowAngle)));
        EndAngleEdit()->SetValueText(QString::number(RoundToInt(s.m_dEndArrowAngle)));
        StartSizeCombo()->SyncWithSettings();
        EndSizeCombo()->SyncWithSettings();
    }
}

void CMainToolBar::ShowTextGroups(const ContextGroups& g, const CSystemSettings& s)
{

    for (int id : kTableCommands) SetCommandVisible(id, g.tableCommands);
    if (g.tableCommands) ShowColorGroup(ID_CELL_COLOR, true, s.m_crCellBackColor);

    for (int id : kFontCommands) SetCommandVisible(id, g.font);
    if (g.font) {
        FontNameCombo()->SyncWithSettings();
        FontSizeCombo()->SelectCurrentSize();
        CharsetCombo()->FillCharsets();
        ShowColorGroup(ID_FONT_COLOR, true, s.m_crFontColor);
    }

    SetCommandVisible(ID_ALIGNMENT, g.alignment);
    if (g.alignment) {
        AlignmentButton()->SetShowAutomatic(false);
        AlignmentButton()->SetTFType(s.m_nTextAlignment, TRUE);
    }
}

void CMainToolBar::ShowFillGroups(const ContextGroups& g, const CSystemSettings& s)
{
    SetCommandVisible(ID_FILL_TYPE, g.fillType);
    if (g.fillType) FillTypeCombo()->SelectFillType(s.m_nFillType);
    ShowColorGroup(ID_GRADIENT_START, g.gradientStart, s.m_crGradientStart);
    ShowColorGroup(ID_GRADIENT_END, g.gradientEnd, s.m_crGradientEnd);
}
