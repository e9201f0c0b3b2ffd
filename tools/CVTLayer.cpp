#include "tools/CVTLayer.h"

CVTLayer::CVTLayer(CVEKView* view) : CVectorTool(view) {}

CVTLayer::~CVTLayer() = default;
