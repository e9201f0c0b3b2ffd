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

#include <QAction>
#include <QToolButton>

namespace {

struct ControlText {
    int id;
    const char* text;
};

// Tool tips of the context controls and pickers.
const ControlText kControlTexts[] = {
    {32797, "设置线条颜色"}, {32776, "选择线型"}, {32798, "选择线宽"}, {32804, "第1段间隙1"},
    {32825, "等距线间的距离"}, {32842, "设置单元格的背静颜色"}, {32827, "字体名称"}, {32829, "字体大小"},
    {32872, "字符集"}, {32835, "字体颜色"}, {32856, "对齐方式"}, {32852, "选择填充类型"},
    {32853, "渐变开始的颜色"}, {32854, "渐变结束的颜色"}, {32801, "设置线条起点的箭头"},
    {32868, "设置起始箭头的角度"}, {32869, "设置起始箭头的大小"}, {32802, "设置线条终点的箭头"},
    {32870, "设置终止箭头的角度"}, {32871, "设置终止箭头的大小"},
};

const QList<int> kTableCommands = {32822, 32824, 32842, 32843, 32844, 32828, 32830, 32833, 32834};
const QList<int> kFontCommands = {32827, 32829, 32872, 32835, 32836, 32837, 32838};

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
    return id == 32797 || id == 32835 || id == 32842 || id == 32853 || id == 32854;
}

// The commands that the bar shows as a control or a picker of its own,
// even where the command also has an action (the pickers' commands are the
// view's).
bool IsControlCommand(int id)
{
    switch (id) {
    case 32776: case 32798: case 32804: case 32825: case 32868: case 32870: case 32869: case 32871:
    case 32827: case 32829: case 32872: case 32852:
    case 32797: case 32835: case 32842: case 32853: case 32854:
    case 32801: case 32802: case 32856:
        return true;
    default: return false;
    }
}

} // namespace

const QList<int>& CMainToolBar::ButtonOrder()
{
    static const QList<int> order = {
        57600, 57601, 57603, 0, 57643, 57644, 57635, 57634, 57637, 0, 57607, 57609, 0,
        32797, 32796, 32776, 32798, 32803, 32804, 32805, 32806, 32807, 32808, 32825,
        32822, 32824, 32842, 32843, 32844, 32828, 32830, 32833, 32834,
        32827, 32829, 32872, 32835, 32836, 32837, 32838, 32856,
        32852, 32853, 32854, 32801, 32868, 32869, 32802, 32870, 32871, 57664,
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
    } else if (commandId == 32801 || commandId == 32802) {
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
    case 32776: return m_pLineTypeCombo = Place(commandId, new CLineTypeCombo(this), kLineTypeWidth);
    case 32798: return m_pLineWidthCombo = Place(commandId, new CToolbarCombo(this), kLineWidthWidth);
    // Only the first gap's box can ever show (a custom line type's spacing).
    case 32804: return m_pGap1Edit = Place(commandId, new CToolbarEdit(commandId, this), kValueEditWidth);
    case 32825: return m_pOffsetEdit = Place(commandId, new CToolbarEdit(commandId, this), kValueEditWidth);
    case 32868: return m_pStartAngleEdit = Place(commandId, new CToolbarEdit(commandId, this), kAngleEditWidth);
    case 32870: return m_pEndAngleEdit = Place(commandId, new CToolbarEdit(commandId, this), kAngleEditWidth);
    case 32869: return m_pStartSizeCombo = Place(commandId, new CStartArrowAngleCombo(this), kSizeComboWidth);
    case 32871: return m_pEndSizeCombo = Place(commandId, new CEndArrowAngleCombo(this), kSizeComboWidth);
    case 32827: return m_pFontNameCombo = Place(commandId, new CFontNameCombo(this), kFontNameWidth);
    case 32829: return m_pFontSizeCombo = Place(commandId, new CFontSizeCombo(this), kFontSizeWidth);
    case 32872: return m_pCharsetCombo = Place(commandId, new CCharsetComboBox(this), kCharsetWidth);
    case 32852: return m_pFillTypeCombo = Place(commandId, new CFillTypeCombo(this), kFillTypeWidth);
    case 32797: case 32835: case 32842: case 32853: case 32854:
    case 32801: case 32802: case 32856:
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
    } colours[] = {{32797, s.m_crLineColor}, {32842, s.m_crCellBackColor}, {32835, s.m_crFontColor},
                   {32853, s.m_crGradientStart}, {32854, s.m_crGradientEnd}};
    for (const auto& c : colours)
        if (CColorMenuButton* b = ColorButton(c.id)) b->SetColor(c.colour, TRUE);
    if (CArrowTypeMenuButton* b = ArrowButton(32801)) b->SetArrowType(s.m_nStartArrowType, TRUE);
    if (CArrowTypeMenuButton* b = ArrowButton(32802)) b->SetArrowType(s.m_nEndArrowType, TRUE);
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

    ShowColorGroup(32797, g.lineColor, s.m_crLineColor);

    SetCommandVisible(32796, g.lineType);
    SetCommandVisible(32776, g.lineType);
    if (g.lineType) LineTypeCombo()->SyncWithSettings();

    SetCommandVisible(32798, g.lineWidth);
    if (g.lineWidth) LineWidthCombo()->SyncWithSettings();

    // A custom line type shows the spacing of its pattern; the other
    // parameters are never edited on the bar.
    const bool hasType = s.m_nCurLineType >= 0 && s.m_nCurLineType < int(s.m_aLineTypes.size());
    const CLineAttr* current = hasType ? &s.m_aLineTypes[std::size_t(s.m_nCurLineType)] : nullptr;
    const bool custom = g.lineType && current && current->GetKind() == LINE_CUSTOM;
    SetCommandVisible(32804, custom);
    if (custom) LineParamEdit()->SetValueText(LengthText(current->GetParam(2), s));

    SetCommandVisible(32801, g.arrows);
    SetCommandVisible(32802, g.arrows);
    if (g.arrows) {
        ArrowButton(32801)->SetArrowType(s.m_nStartArrowType, TRUE);
        ArrowButton(32802)->SetArrowType(s.m_nEndArrowType, TRUE);
    }

    SetCommandVisible(32825, g.offset);
    if (g.offset) OffsetEdit()->SetValueText(LengthText(s.m_nOffsetDistance, s));

    for (int id : {32868, 32869, 32870, 32871}) SetCommandVisible(id, g.arrowAngles);
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
    if (g.tableCommands) ShowColorGroup(32842, true, s.m_crCellBackColor);

    for (int id : kFontCommands) SetCommandVisible(id, g.font);
    if (g.font) {
        FontNameCombo()->SyncWithSettings();
        FontSizeCombo()->SelectCurrentSize();
        CharsetCombo()->FillCharsets();
        ShowColorGroup(32835, true, s.m_crFontColor);
    }

    SetCommandVisible(32856, g.alignment);
    if (g.alignment) {
        AlignmentButton()->SetShowAutomatic(false);
        AlignmentButton()->SetTFType(s.m_nTextAlignment, TRUE);
    }
}

void CMainToolBar::ShowFillGroups(const ContextGroups& g, const CSystemSettings& s)
{
    SetCommandVisible(32852, g.fillType);
    if (g.fillType) FillTypeCombo()->SelectFillType(s.m_nFillType);
    ShowColorGroup(32853, g.gradientStart, s.m_crGradientStart);
    ShowColorGroup(32854, g.gradientEnd, s.m_crGradientEnd);
}
