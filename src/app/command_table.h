#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "export/side_files.h"

// The commands of the command line, one row each: the word that names it, its usage line,
// whether a station set may come before it, its options and what runs it. The command
// line, --help, the faults of a misplaced option and the bash completion read it; a new
// command is a new row.

struct SessionRequest;
struct SetEnvironment;
struct ListedSet;

/// An option of a command: its long name, its short one (may be empty) and whether a value
/// follows it, as "--step 3" or "--step=3".
struct CommandOption {
    std::string_view name;
    std::string_view shortName;
    bool takesValue;
};

/// Whether a station set may come before a command.
enum class StationSetUse {
    none,       // the command takes no set
    set,        // --stations, and --city with them
    orNearest,  // also --city alone, which asks for the nearest stations
};

/// What a command runs with: its words (those after the command's word), the session the
/// set came from and the set settled, the files beside each report and the streams.
struct CommandContext {
    std::span<const char* const> words;
    const SessionRequest& session;
    const SetEnvironment& environment;
    const ListedSet& listed;
    const SideFiles& sideFiles;
    std::string_view invokedAs;  // argv[0], which may tell where the station table is
    std::ostream& out;
    std::ostream& err;
};

/// Reads the words a command takes before its set is settled (they may change the set
/// asked for); false with the fault, one line, in `fault`.
using SessionWordsReader = bool (*)(std::span<const char* const> words, SessionRequest& request,
                                    std::string& fault);

struct CommandRow {
    std::string_view word;
    std::string_view usage;  // for --help; may run over lines
    StationSetUse stationSet;
    std::span<const CommandOption> options;
    bool dashesEndOptions;             // "--" makes every later word an operand
    SessionWordsReader readBeforeSet;  // null: none
    int (*run)(const CommandContext& context);
    // Named where a misplaced option belongs; a newer command is named only for an option
    // no older one takes, so that the older commands' faults read as they always have.
    bool namedWhereOptionsBelong = true;
};

/// Every command, in the order --help shows them.
std::span<const CommandRow> commandTable();

/// The options before the command that choose the station set (--stations, --city).
std::span<const CommandOption> stationSetOptions();

/// The options first of all, before the set and the command (--plot, --csv).
std::span<const CommandOption> leadingOptions();

/// The row of the command named `word`; null for none.
const CommandRow* findCommand(std::string_view word);

/// The option of `row` that `name` names, long or short; null for none.
const CommandOption* findOption(const CommandRow& row, std::string_view name);

/// For an option given where it is not taken, the fault that says where it belongs
/// ("--count belongs after 'stations'"); empty for a word no command takes.
std::string misplacedOption(std::string_view name);

/// One word of a command as read: an operand, or one of its options with its value.
struct CommandWord {
    const CommandOption* option;  // null for an operand
    std::string text;             // the operand, or the option's value
};

/// Reads the words of `row` one by one, in order, handing each to `take` (which may refuse
/// it with a fault): an option by its name or short name, with its value after "=" or as
/// the next word; a word that does not start with "-", or "-" alone, is an operand.
/// False with the fault, one line, in `fault`: an option no command takes, one of another
/// command, a value missing or one given to an option that takes none, or `take`'s own.
bool readCommandWords(const CommandRow& row, std::span<const char* const> words,
                      const std::function<bool(const CommandWord&, std::string&)>& take,
                      std::string& fault);
