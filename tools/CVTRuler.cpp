#include "tools/CVTRuler.h"

CVTRuler::CVTRuler(CVEKView* view) : CVectorTool(view) {}

CVTRuler::~CVTRuler() = default;
