// The same checks as headers.c, compiled as C++.
#define LANGUAGE_NAME "C++"
#include "headers.c"
