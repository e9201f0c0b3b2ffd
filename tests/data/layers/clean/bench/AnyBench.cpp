// Benchmarks are no layer: they may include any folder.
#include "tables/tool/CVTTable.h"
