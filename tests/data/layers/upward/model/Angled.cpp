#include <app/CVEKDoc.h>
