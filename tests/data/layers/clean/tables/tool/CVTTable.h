#pragma once
#include "tables/CTable.h"
