#include "grading/CGrading.h"
