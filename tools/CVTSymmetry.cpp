#include "tools/CVTSymmetry.h"

CVTSymmetry::CVTSymmetry(CVEKView* view) : CVectorTool(view) {}

CVTSymmetry::~CVTSymmetry() = default;
