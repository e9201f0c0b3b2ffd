#include "tools/CVTInsertPicture.h"

CVTInsertPicture::CVTInsertPicture(CVEKView* view) : CVectorTool(view) {}

CVTInsertPicture::~CVTInsertPicture() = default;
