// A tool that draws through the other drawing tools as its sub-tools (the
// symmetric-drawing tool): the view switches its sub-tool when the user
// picks a drawing tool while it is current.
#pragma once

class CSubToolHost {
public:
    virtual ~CSubToolHost() = default;

    // The sub-tool by its number in the tool table's sub-tool column.
    virtual void SelectSubTool(int n) = 0;
    virtual int GetSubToolIndex() const = 0;
};
