#include "tools/CVTEllipse.h"

CVTEllipse::CVTEllipse(CVEKView* view) : CVectorTool(view) {}

CVTEllipse::~CVTEllipse() = default;
