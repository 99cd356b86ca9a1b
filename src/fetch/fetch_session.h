#pragma once

#include <ostream>
#include <vector>

#include "net/download.h"
#include "net/sources.h"
#include "stations/stations_command.h"

// What every downloading command starts with: the sources table and the session its
// downloads share.

/// Reads the sources table that `search` finds (WXGUIDE_SOURCES, or beside the station
/// table); false with the fault told on `err`.
bool loadSources(const StationTableSearch& search, std::vector<Source>& sources, std::ostream& err);

/// Starts the session a command's downloads share: the cache folder made and pruned,
/// progress on a terminal unless `quiet`. False with the fault told on `err`.
bool startDownloadSession(bool offline, bool quiet, DownloadSession& session, std::ostream& err);
