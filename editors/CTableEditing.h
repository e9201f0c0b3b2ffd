// What the select tool needs of the table editor (CVTModifyTable), which
// the tables module provides: the tool operations of an editor, and these
// four. The tables module installs how its editor is made (SetFactory,
// from its tools' constructors, which run with the view's); the select
// tool makes its table editor the first time it meets a table. Until a
// factory is installed, tables are offered to nobody: the select tool
// neither hovers nor selects them.
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

    using Factory = std::unique_ptr<CTableEditing> (*)(CVEKView* view, CDesignTool* owner);
    static void SetFactory(Factory factory);
    static bool HasFactory();
    // Null until a factory is installed.
    static std::unique_ptr<CTableEditing> Create(CVEKView* view, CDesignTool* owner);
};
