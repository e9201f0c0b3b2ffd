#include "CVTTable.h"
#include "../CTable.h"
#include <tables/tool/CVTTable.h>
#include "geometry/Lines.h"
