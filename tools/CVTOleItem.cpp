#include "tools/CVTOleItem.h"

CVTOleItem::CVTOleItem(CVEKView* view) : CVectorTool(view) {}

CVTOleItem::~CVTOleItem() = default;
