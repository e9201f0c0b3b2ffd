#include "tools/CVTSpliceParts.h"

CVTSpliceParts::CVTSpliceParts(CVEKView* view) : CVectorTool(view) {}

CVTSpliceParts::~CVTSpliceParts() = default;
