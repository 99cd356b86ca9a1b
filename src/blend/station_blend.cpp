#include "blend/station_blend.h"

void runStationBlend() {}
