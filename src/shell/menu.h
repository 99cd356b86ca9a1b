#pragma once

/// The program's top level: shows the menu, runs the chosen option, and comes back
/// after every run until "7" or the end of input. Returns the exit status, always 0.
int runMainMenu();
