#include "tables/severe_weather.h"

void runSevereWeather() {}
