#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// The words of the command line: an option and its value given as one word or two, a
// number as every option takes it, and the status lines a --quiet run leaves out.

/// An option word split at its first "=": "--ratio=0.6" is the name "--ratio" with the
/// value "0.6"; a word with no "=", or one not starting with "--", is a name alone.
struct OptionWord {
    std::string_view name;
    std::optional<std::string_view> value;
};

OptionWord splitOptionWord(std::string_view word);

/// Reads a decimal number as typed: an optional sign, digits with an optional point and
/// an optional exponent ("0.6", ".5", "5e-1"), and nothing more.
bool readTypedNumber(std::string_view word, double& value);

/// Writes a usage error: "wxguide: FAULT" (or "wxguide COMMAND: FAULT" for the words of a
/// command) and the line that says where help is. Returns its exit status, 2.
int writeUsageError(std::ostream& err, std::string_view command, std::string_view fault);

/// Marks `messages` so that statusLines gives no output for it: a quiet run.
void beQuiet(std::ostream& messages);

/// The stream a run writes its status lines to ("You have a valid file."): `messages`, or
/// one that writes nothing when beQuiet marked it. Faults go to `messages` itself.
std::ostream& statusLines(std::ostream& messages);
