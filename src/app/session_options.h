#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "app/command_table.h"
#include "arith/station_set.h"
#include "stations/stations_command.h"

// The station set of a session: --stations and --city before the command, or what the
// environment keeps for them, and `stations --count N`.

/// The station set kept in the environment: WXGUIDE_STATIONS as --stations takes it and
/// WXGUIDE_CITY as --city takes it (unset when a variable is unset or empty).
struct SetEnvironment {
    std::optional<std::string> stations;
    std::optional<std::string> city;
};

/// The running program's environment.
SetEnvironment setEnvironment();

/// The words of a session: the set's options, the command after them and its words.
struct SessionRequest {
    std::optional<std::string> stations;
    std::optional<std::string> city;
    bool stationsFromEnvironment = false;
    bool cityFromEnvironment = false;
    const CommandRow* command = nullptr;  // none: the menu
    std::span<const char* const> commandArguments;
    std::size_t count = maxSetStations;  // stations --count
    bool countGiven = false;
};

/// True when the arguments starting with `first` are a session with a station set or the
/// `stations` command.
bool startsStationSession(std::string_view first);

/// Reads the set's options and the command after them (one that takes a set, or none for
/// the menu), and the words the command reads before its set is settled. False with the
/// fault, one line, in `fault`.
bool readSessionWords(std::span<const char* const> arguments, SessionRequest& request,
                      std::string& fault);

/// Reads the words of `stations`, none or --count N, into `request`; false with the fault.
bool readStationsWords(std::span<const char* const> words, SessionRequest& request,
                       std::string& fault);

/// Fills in from `environment` what the options leave out; the options win a clash (typed
/// weights take no city) and --count asks for the nearest stations, not the kept ones.
void takeEnvironment(SessionRequest& request, const SetEnvironment& environment);

/// Settles the set the request asks for, weighed from the table `search` finds when a
/// city is given; with no set asked for, the four fixed stations. Returns nothing with
/// `listed` filled, or the exit status after the fault told on `err`: 2 for a usage
/// error, 1 when the station table cannot be read.
std::optional<int> settleStationSet(const SessionRequest& request, const StationTableSearch& search,
                                    ListedSet& listed, std::ostream& err);

/// "The set comes from WXGUIDE_STATIONS and --city." when the environment holds a set,
/// as `stations` says it before the list; nothing otherwise.
void writeSetSources(const SessionRequest& request, const SetEnvironment& environment,
                     std::ostream& out);
