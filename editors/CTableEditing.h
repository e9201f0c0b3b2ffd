// What the select tool needs of the table editor (CVTModifyTable), which
// the tables module provides: the tool operations of an editor, and these
// four. The select tool is given how its table editor is made (a Factory,
// from the tool table) and makes it the first time it meets a table;
// given none, tables are offered to nobody: the select tool neither hovers
// nor selects them.
#pragma once

#include "app/CVectorTool.h"

#include <memory>

class CGraphElement;

class CTableEditing : public CVectorTool {
public:
    using CVectorTool::CVectorTool;

    // Engages a table element (kind 8), or none.
    virtual void SetTable(CGraphElement* table) = 0;
    // Writes the in-cell edit box back into its cell.
    virtual void CommitCellEdit() = 0;
    virtual void OnCopyTable() = 0;
    virtual void OnCutTable() = 0;

    // Makes the editor working in `view` for the tool `owner`.
    using Factory = std::unique_ptr<CTableEditing> (*)(CVEKView* view, CDesignTool* owner);
};
