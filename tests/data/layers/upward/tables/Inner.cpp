#include "tool/CVTTable.h"
