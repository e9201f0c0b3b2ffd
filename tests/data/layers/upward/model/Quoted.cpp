#include "app/CVEKDoc.h"
