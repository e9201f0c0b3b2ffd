#include "tools/CVTSymmetricDraw.h"

CVTSymmetricDraw::CVTSymmetricDraw(CVEKView* view) : CVectorTool(view) {}

CVTSymmetricDraw::~CVTSymmetricDraw() = default;

void CVTSymmetricDraw::SelectSubTool(int n)
{
    if (n < 0 || n >= kSubToolCount)
        return;
    m_nSubTool = n;
}
