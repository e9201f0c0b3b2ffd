#include "../app/CVEKDoc.h"
