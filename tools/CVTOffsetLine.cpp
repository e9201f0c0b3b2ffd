#include "tools/CVTOffsetLine.h"

CVTOffsetLine::CVTOffsetLine(CVEKView* view) : CVectorTool(view) {}

CVTOffsetLine::~CVTOffsetLine() = default;
