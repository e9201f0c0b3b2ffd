#include "tools/CVTDimension.h"

CVTDimension::CVTDimension(CVEKView* view) : CVectorTool(view) {}

CVTDimension::~CVTDimension() = default;
