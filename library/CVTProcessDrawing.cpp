#include "library/CVTProcessDrawing.h"

CVTProcessDrawing::CVTProcessDrawing(CVEKView* view) : CVectorTool(view) {}

CVTProcessDrawing::~CVTProcessDrawing() = default;

bool CVTProcessDrawing::WriteLibraryFile(const QString& path)
{
    return false;
}

void CVTProcessDrawing::SaveAsLineType() {}
