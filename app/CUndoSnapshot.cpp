#include "CUndoSnapshot.h"

#include "model/CPageSet.h"

CUndoSnapshot::CUndoSnapshot(std::unique_ptr<CPageSet> pageSet) : m_pageSet(std::move(pageSet)) {}

CUndoSnapshot::~CUndoSnapshot() = default;

std::unique_ptr<CPageSet> CUndoSnapshot::TakePageSet()
{
    return std::move(m_pageSet);
}
