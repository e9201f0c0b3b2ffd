#include "tools/CVTText.h"

CVTText::CVTText(CVEKView* view) : CVectorTool(view) {}

CVTText::~CVTText() = default;
