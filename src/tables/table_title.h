#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/data_file.h"

// What the title lines of a model output file (the lines before the word FHR) say the
// data are: the model, the place and the run, each as the file words it.

struct TableTitle {
    std::string model;  // empty when no line names a model this program knows
    std::string place;  // empty when the first line names none
    std::string run;    // empty when no line carries RUN
};

/// At most this many lines before FHR are title lines.
inline constexpr int tableTitleLines = 8;

/// The title of the title lines `lines`: the run is what follows the word RUN on the first
/// line that carries it, up to a gap of two blanks or the line's end; the model the first
/// known model name among the words; the place the first line's parts (parted by gaps of
/// two blanks or more) after its first, but for the model and the run.
TableTitle titleOfLines(const std::vector<std::string>& lines);

/// The title of the opened data file `file`, read from its start.
TableTitle readTableTitle(const DataFile& file);
