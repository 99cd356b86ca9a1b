#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

#include "arith/station_set.h"
#include "export/run_description.h"
#include "export/side_files.h"
#include "io/data_file.h"
#include "io/report_file.h"

// The runs the menu offers and `wxguide run` runs: one table for both.

/// Which run an option starts.
enum class OptionRun { stationBlend, modelTable, severeWeather };

/// One run of the menu: its number, its line on the menu and what it runs.
struct MenuOption {
    int number;
    std::string_view title;
    OptionRun run;
    int rowCount;  // the forecast hours a model table reads; 0 for the other runs
};

inline constexpr MenuOption menuOptions[] = {
    {1, "Run 1200 Model", OptionRun::stationBlend, 0},
    {2, "Run Long GFS Model", OptionRun::modelTable, 48},
    {3, "Run Short GFS Model", OptionRun::modelTable, 29},
    {4, "Run Long ETA Model", OptionRun::modelTable, 29},
    {5, "Run Long AVN Model", OptionRun::modelTable, 15},
    {6, "Run Severe Weather Model", OptionRun::severeWeather, 0},
};

/// The menu's last line, after the runs.
inline constexpr int quitOption = 7;
inline constexpr std::string_view quitTitle = "Quit";

/// The option numbered `number`; null when no run has it.
const MenuOption* findMenuOption(int number);

/// The option a typed word names: a whole word, so "07", "1." and "12" name none.
const MenuOption* findMenuOption(std::string_view word);

/// Where option 1 takes the ETA weight once its bulletins are read: none ends the run
/// without a report.
using EtaRatioSource = std::function<std::optional<double>()>;

/// Runs `option` on the opened data file `data`; option 1 blends the stations of `set` with
/// the ETA weight `etaRatio` gives. The daily table of option 1 goes to `out`, every message
/// to `messages`; the files of `sideFiles` are written beside the report, and one that could
/// not be written loses the run as a lost report does. A written report's data are
/// described in `described` when given.
RunOutcome runMenuOption(const MenuOption& option, const DataFile& data, const StationSet& set,
                         const EtaRatioSource& etaRatio, std::ostream& out, std::ostream& messages,
                         const SideFiles& sideFiles, RunDescription* described = nullptr);
