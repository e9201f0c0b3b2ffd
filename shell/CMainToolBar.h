// The standard tool bar: new, open, save, the edit and print buttons, then
// the context controls that set what the current tool draws or edits (line
// colour, type, width and parameter, arrowheads with their angles and
// sizes, offset distance, table commands, font, alignment, fill type and
// gradient colours), and the about button last.
//
// Every button and control is built once, in the bar's fixed order. The
// main frame shows the groups the current tool asks for and hides the
// others; a control is never destroyed while the bar lives, so a control
// may safely cause a regrouping from inside its own signal.
#pragma once

#include "platform/Types.h"

#include <QHash>
#include <QList>
#include <QToolBar>

class CArrowTypeMenuButton;
class CCharsetComboBox;
class CColorMenuButton;
class CEndArrowAngleCombo;
class CFillTypeCombo;
class CFontNameCombo;
class CFontSizeCombo;
class CLineTypeCombo;
class CStartArrowAngleCombo;
class CTFTypeMenuButton;
class CToolbarCombo;
class CToolbarEdit;
class CSystemSettings;
class QAction;

class CMainToolBar : public QToolBar {
    Q_OBJECT
public:
    // The bar's commands in order; 0 is a separator.
    static const QList<int>& ButtonOrder();

    explicit CMainToolBar(QWidget* parent = nullptr);

    // Places the plain buttons (the actions of their commands, shared with
    // the menus) and creates every context control and picker, also for a
    // command that has an action.
    void Build(const QHash<int, QAction*>& actions);
    // Gives the pickers their values from the settings.
    void OnReset();

    // Which groups of context controls the current tool asks for.
    struct ContextGroups {
        int lineType = 1;
        int lineWidth = 1;
        int lineColor = 1;
        int arrows = 0;
        int offset = 0;
        int font = 0;
        int alignment = 0;
        int tableCommands = 0;
        int fillType = 0;
        int gradientStart = 0;
        int gradientEnd = 0;
        int arrowAngles = 0;
    };
    // Shows the groups asked for, hides the others, and gives what is shown
    // the values of the settings.
    void ShowGroups(const ContextGroups& groups, const CSystemSettings& settings);

    // Shows or hides a command's button or control (nothing for a command
    // the bar does not hold).
    void SetCommandVisible(int commandId, bool visible);
    bool IsCommandVisible(int commandId) const;
    // The commands shown, in bar order, without separators.
    QList<int> VisibleCommands() const;
    // The widget a command occupies (a control or a button), or null.
    QWidget* CommandWidget(int commandId) const;

    CColorMenuButton* ColorButton(int commandId) const;
    CArrowTypeMenuButton* ArrowButton(int commandId) const;
    CTFTypeMenuButton* AlignmentButton() const { return m_pAlignmentButton; }
    CLineTypeCombo* LineTypeCombo() const { return m_pLineTypeCombo; }
    CToolbarCombo* LineWidthCombo() const { return m_pLineWidthCombo; }
    CToolbarEdit* LineParamEdit() const { return m_pGap1Edit; }
    CToolbarEdit* OffsetEdit() const { return m_pOffsetEdit; }
    CToolbarEdit* StartAngleEdit() const { return m_pStartAngleEdit; }
    CToolbarEdit* EndAngleEdit() const { return m_pEndAngleEdit; }
    CStartArrowAngleCombo* StartSizeCombo() const { return m_pStartSizeCombo; }
    CEndArrowAngleCombo* EndSizeCombo() const { return m_pEndSizeCombo; }
    CFontNameCombo* FontNameCombo() const { return m_pFontNameCombo; }
    CFontSizeCombo* FontSizeCombo() const { return m_pFontSizeCombo; }
    CCharsetComboBox* CharsetCombo() const { return m_pCharsetCombo; }
    CFillTypeCombo* FillTypeCombo() const { return m_pFillTypeCombo; }

    // Drop-down heights by the screen's height.
    void SetDropHeights(int lineHeight, int fontHeight);

Q_SIGNALS:
    // The button part of a picker was clicked.
    void CommandTriggered(int commandId);
    // A colour picker's "定义颜色......".
    void OtherColorRequested(int commandId);

private:
    void PlaceButton(int commandId, QAction* action);
    QWidget* CreateControl(int commandId);
    template <class T>
    T* Place(int commandId, T* control, int width);
    QWidget* CreatePicker(int commandId);
    void SetControlToolTips();
    void ShowLineGroups(const ContextGroups& g, const CSystemSettings& s);
    void ShowTextGroups(const ContextGroups& g, const CSystemSettings& s);
    void ShowFillGroups(const ContextGroups& g, const CSystemSettings& s);
    void ShowColorGroup(int commandId, bool on, COLORREF colour);

    QHash<int, QAction*> m_slots;
    QHash<int, QWidget*> m_widgets;

    CLineTypeCombo* m_pLineTypeCombo = nullptr;
    CToolbarEdit* m_pGap1Edit = nullptr;
    CToolbarEdit* m_pOffsetEdit = nullptr;
    CToolbarEdit* m_pStartAngleEdit = nullptr;
    CToolbarEdit* m_pEndAngleEdit = nullptr;
    CStartArrowAngleCombo* m_pStartSizeCombo = nullptr;
    CEndArrowAngleCombo* m_pEndSizeCombo = nullptr;
    CFontNameCombo* m_pFontNameCombo = nullptr;
    CFontSizeCombo* m_pFontSizeCombo = nullptr;
    CFillTypeCombo* m_pFillTypeCombo = nullptr;
    CCharsetComboBox* m_pCharsetCombo = nullptr;
    CToolbarCombo* m_pLineWidthCombo = nullptr;
    CTFTypeMenuButton* m_pAlignmentButton = nullptr;
};
