#include "editors/CTableEditing.h"

namespace {

CTableEditing::Factory s_factory = nullptr;

} // namespace

void CTableEditing::SetFactory(Factory factory)
{
    s_factory = factory;
}

bool CTableEditing::HasFactory()
{
    return s_factory != nullptr;
}

std::unique_ptr<CTableEditing> CTableEditing::Create(CVEKView* view, CDesignTool* owner)
{
    return s_factory ? s_factory(view, owner) : nullptr;
}
