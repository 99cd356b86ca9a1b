#pragma once

/// Menu options 2 to 5: reads `rowCount` forecast-hour rows (1 to 48) of a model column
/// file and writes them, converted, with the temperature adjustment band, to its report.
void runModelTable(int rowCount);
