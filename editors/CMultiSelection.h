// The select tool's list of several elements, built by Shift (or Ctrl)
// clicks and by the rubber band: the tool bar's line colour, line type and
// arrowheads apply to its curves at once, and it is moved, deleted, copied
// and cut as a whole. Each change that does something is one undo step;
// one that would change nothing costs none.
//
// The list holds the page's elements without owning them; whoever may
// remove elements from the page (undo, a page change, an editor) empties
// it first through the tool's Reset.
#pragma once

#include "model/CGraphElement.h"
#include "model/CLineAttr.h"
#include "platform/Types.h"

#include <functional>

class CDC;
class CDesignTool;
class CPageSet;

class CMultiSelection {
public:
    // The tool whose document takes the undo steps.
    explicit CMultiSelection(const CDesignTool& tool) : m_tool(tool) {}

    bool IsEmpty() const { return m_elements.IsEmpty(); }
    int GetCount() const { return m_elements.GetCount(); }
    const CElementList& Elements() const { return m_elements; }
    bool Contains(const CGraphElement* element) const;
    // Appends an element not yet listed; false when it was.
    bool Add(CGraphElement* element);
    void Set(const CElementList& elements);
    void Clear() { m_elements.RemoveAll(); }

    // The curve commands of the tool bar. True when something changed.
    bool ApplyLineColor(COLORREF colour);
    bool ApplyLineType(const CLineAttr& line);
    bool ApplyStartArrow(int kind, int size, double angle);
    bool ApplyEndArrow(int kind, int size, double angle);

    // Moves every element by (dx, dy), without an undo step of its own.
    void Offset(int dx, int dy);
    // Takes the elements off the current page and deletes them, with one
    // undo step, and empties the list. True when there were any.
    bool DeleteAll(CPageSet* pageSet);
    // Clears the node marks of the curves (Esc).
    void ClearMarks();
    // Every element's highlight with the pen the caller selected.
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;

private:
    // Applies `change` to each curve for which `differs` holds, after one
    // undo step; nothing when none differs.
    bool ApplyToCurves(const std::function<bool(CGraphElement*)>& differs,
                       const std::function<void(CGraphElement*)>& change);

    const CDesignTool& m_tool;
    CElementList m_elements;
};
