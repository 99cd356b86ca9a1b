#pragma once

/// The program's top level: shows the menu, runs the chosen option, and comes back
/// after every run until "7" or the end of input. Returns the exit status: 1 when a report
/// could not be written or the console output failed, else 0.
int runMainMenu();
