#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The MOS archive's CSV (one station, one model): `runtime`, `ftime`, then value columns
// that come and go (a column empty in every row is dropped), so every column is found by
// its name.

/// The guidance models the archive is asked for, by the names it takes.
enum class MosModel { nbs, gfs, mex };

/// The archive's name of the model ("NBS", "GFS", "MEX").
std::string_view archiveModelName(MosModel model);

/// The column of the model's max/min: txn for the NBS, n_x for the GFS MOS.
std::string_view maxMinColumn(MosModel model);

/// One forecast hour of one run; a value the archive gives as missing is absent.
struct MosValue {
    std::int64_t runHour = 0;
    std::int64_t validHour = 0;
    std::optional<double> maxMin;  // F: the max at 00 UTC, the min at 12 UTC
    std::optional<double> pop12;   // percent
};

/// The archive's value: empty, 999 or more, or -98 or less is missing.
std::optional<double> archiveValue(std::string_view text);

/// The fields of one comma-separated line (a CR before the line end dropped).
std::vector<std::string_view> csvFields(std::string_view line);

/// The position of the column `name` in `header`, or none.
std::optional<std::size_t> columnOf(const std::vector<std::string_view>& header,
                                    std::string_view name);

/// Reads the whole CSV; false with the fault (no runtime or ftime column, a time that is
/// not one, a row with fewer fields than the header).
bool readMosCsv(std::string_view text, MosModel model, std::vector<MosValue>& values,
                std::string& fault);
