#include "editors/CVTFill.h"

CVTFill::CVTFill(CVEKView* view) : CVectorTool(view) {}

CVTFill::~CVTFill() = default;
