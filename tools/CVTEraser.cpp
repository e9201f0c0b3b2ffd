#include "tools/CVTEraser.h"

CVTEraser::CVTEraser(CVEKView* view) : CVectorTool(view) {}

CVTEraser::~CVTEraser() = default;
