#define VEK_DOC_HEADER "app/CVEKDoc.h"
#include VEK_DOC_HEADER
