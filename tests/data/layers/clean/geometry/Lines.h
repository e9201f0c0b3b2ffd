#pragma once
#include "platform/Types.h"
