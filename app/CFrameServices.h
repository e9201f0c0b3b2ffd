// What the view, the tools, the editors and the tool-bar controls ask of
// the window they work in: the context groups of the standard tool bar,
// the status bar, the custom line types, and the document and view it
// holds. The main window implements it; the layers below the main window
// reach it through this class without knowing the window. The view is
// given its frame when it is made, and its tools ask the view
// (CDesignTool::Frame); a tool-bar control finds the window it lies in.
#pragma once

#include <QString>

class CLineAttr;
class CVEKDoc;
class CVEKView;
class QWidget;

class CFrameServices {
public:
    virtual ~CFrameServices() = default;

    // The frame of the window that holds a widget (a tool-bar control),
    // or null when the widget lies in none.
    static CFrameServices* Of(const QWidget* widget);
    // The editing view seen from a widget: Of(widget)->GetEditingView().
    static CVEKView* EditingViewOf(const QWidget* widget);

    virtual CVEKDoc* GetDocument() const = 0;
    // The editing view, or null while none is built.
    virtual CVEKView* GetEditingView() const = 0;
    // Shows a prompt in pane 0 of the status bar.
    virtual void SetStatusText(const QString& text) = 0;
    // Appends a custom line type to the settings' lists (and to the
    // line-type combo). False when the pattern has no width to scale.
    virtual bool AddLineType(const CLineAttr& lineType) = 0;
    // The view tells the frame while print preview runs.
    virtual void SetInPrintPreview(bool inPreview) = 0;

    // --- The context groups of the standard tool bar ----------------------
    virtual void ShowLineControls(int lineType, int lineWidth, int lineColor, int arrows, int arrowAngles) = 0;
    virtual void ShowOffsetControls(int show) = 0;
    // Font, alignment and table commands together.
    virtual void ShowTextControls(int show) = 0;
    // Font on or off; alignment always off.
    virtual void ShowFontControls(int show) = 0;
    virtual void ShowGradientControls(int start, int end) = 0;
    virtual void ShowFillTypeControls(int show) = 0;
    // Shows the switched-on groups and refreshes every shown control from
    // the settings.
    virtual void RebuildContextToolBar() = 0;
    // The fill-type combo shows a fill kind.
    virtual void ShowFillTypeInCombo(int kind) = 0;
    // The font controls after a font was applied: the face goes to the
    // recent fonts, the size and the character sets follow the settings.
    virtual void ShowAppliedFont(const QString& faceName) = 0;
    // The font-size combo shows the size at `index` without reporting it.
    virtual void SelectFontSizeQuietly(int index) = 0;
};
