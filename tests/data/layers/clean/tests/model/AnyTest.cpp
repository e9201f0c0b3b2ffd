// Tests are no layer: they may include any folder.
#include "tables/tool/CVTTable.h"
#include "geometry/Lines.h"
