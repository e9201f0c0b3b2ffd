#include "tools/CVTPickClosed.h"

CVTPickClosed::CVTPickClosed(CVEKView* view) : CVectorTool(view) {}

CVTPickClosed::~CVTPickClosed() = default;
