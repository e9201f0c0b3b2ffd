#include_next <app/CVEKDoc.h>
