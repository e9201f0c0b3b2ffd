// One undo or redo step: a whole copy of the document's content.
#pragma once

#include <memory>

class CPageSet;

class CUndoSnapshot {
public:
    explicit CUndoSnapshot(std::unique_ptr<CPageSet> pageSet);
    ~CUndoSnapshot();
    CUndoSnapshot(const CUndoSnapshot&) = delete;
    CUndoSnapshot& operator=(const CUndoSnapshot&) = delete;

    const CPageSet* PageSet() const { return m_pageSet.get(); }
    // Hands the content over; the snapshot is empty afterwards.
    std::unique_ptr<CPageSet> TakePageSet();

private:
    std::unique_ptr<CPageSet> m_pageSet;
};
