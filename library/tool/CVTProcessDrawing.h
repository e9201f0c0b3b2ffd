// The process-drawing library tool (tool 4). The user gathers curves,
// texts, pictures and tables of the current page by clicks and boxes; a right click
// shows a frame around them in which the group is moved, turned and scaled
// as a whole, and a second right click applies that as one undo step. The
// group can also be saved as a library file, as a custom line type or as a
// bitmap (the view's commands), copied and cut. A box dragged over an
// empty spot, or a Shift-click followed by a second click, places a library
// file or a plotter file chosen in the library browser there; the placed
// drawing then stands in the frame.
//
// Nothing is drawn by XOR: the view repaints the page and the tool draws
// the frame, the working copy and the highlights on top.
#pragma once

#include "app/CVectorTool.h"
#include "app/CZoomBox.h"

#include "library/CTransformFrame.h"
#include "library/CTransformSnapshot.h"

#include "platform/Types.h"

#include <QString>

#include <functional>
#include <vector>

class CGraphElement;
class CPage;

class CVTProcessDrawing : public CVectorTool {
public:
    // Cursors and prompts.
    static constexpr int kCursorSelect = 164;
    static constexpr int kCursorScale = 167;
    static constexpr int kCursorMove = 168;
    static constexpr int kCursorRotate = 169;
    static constexpr UINT kPromptFrame = 38011;
    static constexpr UINT kPromptFirstClick = 38007;
    static constexpr UINT kPromptPlace = 38008;
    static constexpr UINT kPromptFirstBox = 38009;
    static constexpr UINT kPromptBox = 38012;
    static constexpr UINT kPromptSelect = 38010;
    // A placing box smaller than this in either direction is no box.
    static constexpr int kMinPlaceBox = 5;

    // Chooses the file to place, starting from a path (the last library
    // path); an empty result places nothing. The library browser unless
    // set otherwise.
    using FileChooser = std::function<QString(const QString& start)>;

    explicit CVTProcessDrawing(CVEKView* view);
    ~CVTProcessDrawing() override;

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnReturnDown() override { return FALSE; }
    BOOL OnReturnUp() override { return FALSE; }
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override { return FALSE; }
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override { return FALSE; }
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;
    void OnEditCopy() override;
    void OnEditCut() override;
    BOOL CanCopy() override;

    // --- The view's library commands ---------------------------------------
    BOOL HasSelection() const { return m_bSelectionDone; }
    BOOL CanCopyBitmap() const { return HasSelection(); }
    // The union of the selected elements' bounds, right and bottom one unit
    // in when wider or higher than one unit.
    CRect GetSelectionRect() const;
    // Writes the selection as a library file; false, with a message shown,
    // when it could not be written.
    bool WriteLibraryFile(const QString& path);
    // Makes a custom line type of the selected curves' line shapes and adds
    // it to the program's line types.
    void SaveAsLineType();
    // Asks for a library or plotter file and places it with its top-left
    // corner at the placing box's top-left corner. 1 when something was
    // placed (as one undo step, the placed elements then selected).
    int ReadLibraryFile();

    // --- State, for tests and the view -------------------------------------
    const std::vector<CGraphElement*>& GetSelectedElements() const { return m_selected; }
    const std::vector<CGraphElement*>& GetBoxHits() const { return m_boxHits; }
    const CTransformFrame& GetFrame() const { return m_frame; }
    int GetHoverKind() const { return m_hoverKind; }
    bool IsPlacing() const { return m_bPlace != 0; }
    bool IsBoxSelecting() const { return m_bBoxSelect != 0; }
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    // Selecting.
    BOOL SelectingButtonDown(UINT flags, int x, int y);
    void CaptureAt(UINT flags, int x, int y);
    bool BoxIsLargeEnough() const;
    void Place();
    void ShowFrame();
    void Append(CGraphElement* element);

    // Transforming.
    BOOL FrameButtonDown(UINT flags, int x, int y);
    void FrameMouseMove(UINT flags, int x, int y);
    void PutCursorBack(int kind, const CPoint& at);
    void ApplyTransform();

    // Zoom.
    BOOL ZoomButtonDown(UINT flags, int x, int y);

    // Placing from files (CVTProcessDrawingFiles.cpp).
    int PlaceLibraryFile(const QString& path, const CPoint& at);
    int PlacePlotterFile(const QString& path, const CPoint& at);
    CPage* CurrentPage() const;
    void ShowMessage(int id) const;

    // Feedback.
    void ShowState();
    int CursorForState() const;
    UINT PromptForState() const;
    void Refresh();
    void DrawFrame(CDC* dc, double scale, int originX, int originY) const;
    void DrawHandleMarks(CDC* dc, double scale, int originX, int originY) const;
    void DrawWorkingCopy(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;

    // Selection.
    int m_bSelectionDone = 0;
    int m_bBoxSelect = 0;
    int m_bFirstClick = 1;
    int m_bPlace = 0;
    CPoint m_ptAnchor;
    CPoint m_ptCurrent;
    std::vector<CGraphElement*> m_boxHits;
    std::vector<CGraphElement*> m_selected;

    // Frame.
    CTransformFrame m_frame;
    CTransformSnapshot m_snapshot;
    int m_hoverKind = 0;
    int m_activeKind = 0;
    CPoint m_ptLastHover;

    int m_nZoomStep = 0;
    CZoomBox m_zoomBox{m_nZoomStep};
    FileChooser m_chooseFile;
};
