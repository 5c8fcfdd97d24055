#include "view/Draws.h"
