#include "render/Geometry.h"
#include "setup/DemlaSetup.h"
