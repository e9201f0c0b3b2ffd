#include <model/../app/CVEKDoc.h>
