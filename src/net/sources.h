#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The table of where each product is downloaded from: one source a line, the product's
// name, then an absolute http:// or https:// URL template whose placeholders in braces
// are filled in for each request. Lines of one product are tried in the table's order.

struct Source {
    std::string product;      // "nbs", "gfs-profile"
    std::string urlTemplate;  // "https://host/path?pil=NBS{ID3}&matches={ID}"
    std::size_t line = 0;     // in the table, for messages
    bool perStation = false;  // the template names the station: one request per station
    bool namesDay = false;    // the template names the run's day: what it gives never changes
};

/// The placeholders a template may hold.
inline constexpr std::string_view sourcePlaceholders[] = {
    "YYYY", "MM",  "DD",  "HH",  "YYYYMMDD", "sdate",  "edate",     "ID",      "id",
    "ID3",  "id3", "gfs", "FFF", "fields",   "toplat", "bottomlat", "leftlon", "rightlon"};

/// Reads the table's text; `tableName` names it in a fault. Blank lines and lines starting
/// with # are skipped. False with the fault, one line naming the table and the line: a
/// product name that is not lower-case letters, digits and -, no URL, more than two words,
/// a URL that is not absolute http:// or https:// with a host, an unknown or unclosed
/// placeholder.
bool readSources(std::string_view text, std::string_view tableName, std::vector<Source>& sources,
                 std::string& fault);

/// What fills a template's placeholders.
struct SourceValues {
    int year = 0, month = 0, day = 0, hour = 0;  // the run
    std::string station;                         // the four-letter id, upper case
};

/// What fills the placeholders of a model's forecast hour at a place.
struct SourceHour {
    int forecastHour = 0;                    // {FFF}: three digits, 003
    std::string fields;                      // {fields}: the grib filter's field words
    double latitude = 0.0, longitude = 0.0;  // the place a box is drawn around
};

/// A box a degree or more around a place, in whole degrees, its longitudes from 0 to 360 as
/// the grib filter takes them ({toplat} {bottomlat} {leftlon} {rightlon}). Across the
/// meridian of 0 the left side lies east of the right.
struct SourceBox {
    int top = 0, bottom = 0, left = 0, right = 0;
};
SourceBox boxAround(double latitude, double longitude);

/// The template with its placeholders filled in.
std::string expandSource(std::string_view urlTemplate, const SourceValues& values,
                         const SourceHour& hour = {});

/// The sources of `product`, in table order.
std::vector<const Source*> sourcesOf(const std::vector<Source>& sources, std::string_view product);

/// The host of an absolute URL ("mesonet.agron.iastate.edu", "127.0.0.1:8080").
std::string hostOfUrl(std::string_view url);

/// The table's file name.
inline constexpr std::string_view sourcesTableName = "sources.txt";

/// Where the table is looked for: WXGUIDE_SOURCES when set, else beside the station table
/// (the program's folder, then ../share/wxguide), or in the folder WXGUIDE_DATA names.
std::vector<std::filesystem::path> sourcesTablePlaces(const std::filesystem::path& program,
                                                      std::string_view dataFolder);
