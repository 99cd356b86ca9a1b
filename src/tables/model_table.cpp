#include "tables/model_table.h"

void runModelTable(int) {}
