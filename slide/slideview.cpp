#include "slideview.h"
