#include "extract/value_ranges.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace {

constexpr ValueRange celsius = {-150.0, 80.0};
constexpr ValueRange kelvin = {celsius.lowest + kelvinAtZeroCelsius,
                               celsius.highest + kelvinAtZeroCelsius};
constexpr ValueRange height = {-5000.0, 100000.0};  // m
constexpr ValueRange percent = {0.0, 100.0};
constexpr ValueRange windComponent = {-200.0, 200.0};  // m/s
constexpr ValueRange heatFlux = {-5000.0, 5000.0};     // W/m2
constexpr ValueRange liftedIndex = {-100.0, 100.0};    // C or K
constexpr ValueRange energy = {-1000.0, 20000.0};      // CAPE, J/kg
constexpr ValueRange inhibition = {-20000.0, 1000.0};  // CIN, J/kg

constexpr std::array<ValueRange, 5> levelRanges = {levelPressureRange, celsius, height,
                                                   ValueRange{0.0, 360.0}, ValueRange{0.0, 500.0}};

constexpr std::array<ValueRange, 12> surfaceRanges = {
    ValueRange{500.0, 1200.0},  // PMSL, mb
    ValueRange{300.0, 1200.0},  // PRES, mb
    celsius,
    celsius,
    ValueRange{0.0, 500.0},  // P01M, mm in an hour
    percent,
    percent,
    percent,
    windComponent,
    windComponent,
    heatFlux,
    heatFlux};

constexpr std::array<ValueRange, gribFieldCount> gribRanges = {
    ValueRange{50000.0, 120000.0},  // PRMSL, Pa
    kelvin,
    kelvin,
    kelvin,
    kelvin,
    height,
    height,
    ValueRange{0.0, 150.0},    // RH, %
    ValueRange{0.0, 10000.0},  // APCP, kg/m2
    percent,
    windComponent,
    windComponent,
    windComponent,
    windComponent,
    windComponent,
    windComponent,
    windComponent,
    windComponent,
    liftedIndex,
    liftedIndex,
    energy,
    inhibition,
    ValueRange{100.0, 1000.0},  // POT, K
    heatFlux,
    heatFlux};

// The values of one field found outside its span: where the first stands, and how many.
struct Strays {
    std::string where;
    double value = 0.0;
    std::size_t count = 0;
};

std::string number(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool outside(double value, ValueRange range) {
    return !isMissing(value) && !(value >= range.lowest && value <= range.highest);
}

void noteStray(Strays& strays, double value, const std::string& where) {
    if (strays.count++ == 0) {
        strays.where = where;
        strays.value = value;
    }
}

// Takes `value` as missing when it lies outside `range`, noting it in `strays`.
void screen(double& value, ValueRange range, Strays& strays, const std::string& where) {
    if (outside(value, range)) {
        noteStray(strays, value, where);
        value = missingValue;
    }
}

void addNote(std::string_view field, ValueRange range, const Strays& strays,
             std::vector<std::string>& notes) {
    if (strays.count == 0) {
        return;
    }
    const std::size_t more = strays.count - 1;
    std::string note = std::string(field) + " " + number("%g", strays.value) + " in " +
                       strays.where + " lies outside " + number("%g", range.lowest) + " to " +
                       number("%g", range.highest);
    if (more > 0) {
        note += more == 1 ? ", as does 1 more" : ", as do " + std::to_string(more) + " more";
    }
    notes.push_back(note + (more == 0 ? "; it is taken as missing" : "; each is taken as missing"));
}

std::string blockName(std::size_t index, const ProfileBlock& block) {
    return "block " + std::to_string(index + 1) + " (STIM " + std::to_string(block.hour) + ")";
}

std::string surfaceRowName(std::size_t index, const SurfaceRow& row) {
    const ProfileTime time = profileTimeOf(row.validMinute);
    char text[48];
    std::snprintf(text, sizeof text, "%02d%02d%02d/%02d%02d", time.year % 100, time.month, time.day,
                  time.hour, time.minute);
    return "the surface row " + std::to_string(index + 1) + " (" + text + ")";
}

}  // namespace

bool screenProfile(BufkitProfile& profile, std::vector<std::string>& notes, std::string& fault) {
    static constexpr std::array<const char*, 6> stationNames = {"SLAT", "SLON", "SELV",
                                                                "LIFT", "CAPE", "CINS"};
    static constexpr std::array<ValueRange, 6> stationRanges = {ValueRange{-90.0, 90.0},
                                                                ValueRange{-360.0, 360.0},
                                                                ValueRange{-1000.0, 10000.0},
                                                                liftedIndex,
                                                                energy,
                                                                inhibition};
    std::array<Strays, 6> stationStrays;
    std::array<Strays, 5> levelStrays;
    std::array<Strays, 12> surfaceStrays;
    for (std::size_t b = 0; b < profile.blocks.size(); ++b) {
        ProfileBlock& block = profile.blocks[b];
        const std::string where = blockName(b, block);
        for (const double pressure : block.levels[levelPres]) {
            if (pressure > levelPressureRange.highest) {
                fault = where + ": PRES " + number("%g", pressure) + " lies above " +
                        number("%g", levelPressureRange.highest) + " mb";
                return false;
            }
        }
        const std::array<double*, 6> station = {&block.latitude,  &block.longitude,
                                                &block.elevation, &block.liftedIndex,
                                                &block.cape,      &block.cins};
        for (std::size_t i = 0; i < station.size(); ++i) {
            screen(*station[i], stationRanges[i], stationStrays[i], where);
        }
        for (std::size_t c = levelTmpc; c < levelColumnNames.size(); ++c) {
            for (double& value : block.levels[c]) {
                screen(value, levelRanges[c], levelStrays[c], where);
            }
        }
    }
    for (std::size_t r = 0; r < profile.surface.size(); ++r) {
        SurfaceRow& row = profile.surface[r];
        for (std::size_t c = 0; c < surfaceColumnNames.size(); ++c) {
            // The row's name is made only for a value that needs it.
            if (outside(row.values[c], surfaceRanges[c])) {
                screen(row.values[c], surfaceRanges[c], surfaceStrays[c], surfaceRowName(r, row));
            }
        }
    }
    for (std::size_t i = 0; i < stationNames.size(); ++i) {
        addNote(stationNames[i], stationRanges[i], stationStrays[i], notes);
    }
    for (std::size_t c = levelTmpc; c < levelColumnNames.size(); ++c) {
        addNote(levelColumnNames[c], levelRanges[c], levelStrays[c], notes);
    }
    for (std::size_t c = 0; c < surfaceColumnNames.size(); ++c) {
        addNote(surfaceColumnNames[c], surfaceRanges[c], surfaceStrays[c], notes);
    }
    return true;
}

void screenGribSamples(std::vector<GribSample>& samples, std::vector<std::string>& notes) {
    std::array<Strays, gribFieldCount> strays;
    std::erase_if(samples, [&](const GribSample& sample) {
        if (sample.masked || !outside(sample.value, gribRanges[sample.field])) {
            return false;
        }
        noteStray(strays[sample.field], sample.value,
                  "the message of hour " + std::to_string(sample.endHour));
        return true;
    });
    for (std::size_t field = 0; field < gribFieldCount; ++field) {
        addNote(gribFieldNames[field], gribRanges[field], strays[field], notes);
    }
}
