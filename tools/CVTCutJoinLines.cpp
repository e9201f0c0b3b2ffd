#include "tools/CVTCutJoinLines.h"

CVTCutJoinLines::CVTCutJoinLines(CVEKView* view) : CVectorTool(view) {}

CVTCutJoinLines::~CVTCutJoinLines() = default;
