#include "tools/CVTRectangle.h"

CVTRectangle::CVTRectangle(CVEKView* view) : CVectorTool(view) {}

CVTRectangle::~CVTRectangle() = default;
