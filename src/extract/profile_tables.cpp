#include "extract/profile_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "arith/wind_direction.h"

namespace {

// The height of `p` below the lowest level, from that level's temperature.
double heightBelowLowest(const ProfileBlock& block, double p) {
    const double pres0 = block.levels[levelPres][0];
    const double temp0 = block.levels[levelTmpc][0];
    const double height0 = block.levels[levelHght][0];
    if (isMissing(temp0) || isMissing(height0)) {
        return missingValue;
    }
    return height0 + (dryAirGasConstant * (temp0 + 273.15) / standardGravity) * std::log(pres0 / p);
}

double surfaceValue(const SurfaceRow& row, SurfaceColumn column) {
    return row.values[column];
}

}  // namespace

double interpolateInLogPressure(std::span<const double> pressures, std::span<const double> values,
                                double p) {
    for (std::size_t i = 0; i < pressures.size(); ++i) {
        if (p == pressures[i]) {
            return values[i];
        }
        if (i + 1 < pressures.size() && p < pressures[i] && p > pressures[i + 1]) {
            if (isMissing(values[i]) || isMissing(values[i + 1])) {
                return missingValue;
            }
            const double weight = (std::log(pressures[i]) - std::log(p)) /
                                  (std::log(pressures[i]) - std::log(pressures[i + 1]));
            return values[i] + (values[i + 1] - values[i]) * weight;
        }
    }
    return missingValue;
}

double temperatureAt(const ProfileBlock& block, double p, bool& belowGround) {
    const std::vector<double>& pres = block.levels[levelPres];
    belowGround = p > pres[0];
    if (!belowGround) {
        return interpolateInLogPressure(pres, block.levels[levelTmpc], p);
    }
    const double height = heightBelowLowest(block, p);
    if (isMissing(height)) {
        return missingValue;
    }
    return block.levels[levelTmpc][0] + 0.0065 * (block.levels[levelHght][0] - height);
}

double heightAt(const ProfileBlock& block, double p, bool& belowGround) {
    const std::vector<double>& pres = block.levels[levelPres];
    belowGround = p > pres[0];
    if (!belowGround) {
        return interpolateInLogPressure(pres, block.levels[levelHght], p);
    }
    return heightBelowLowest(block, p);
}

double windSpeedAt(const ProfileBlock& block, double p, bool& belowGround) {
    const std::vector<double>& pres = block.levels[levelPres];
    belowGround = p > pres[0];
    if (belowGround) {
        return missingValue;
    }
    std::vector<double> u(pres.size());
    std::vector<double> v(pres.size());
    for (std::size_t i = 0; i < pres.size(); ++i) {
        const double direction = block.levels[levelDrct][i];
        const double speed = block.levels[levelSknt][i];
        if (isMissing(direction) || isMissing(speed)) {
            u[i] = v[i] = missingValue;
            continue;
        }
        const double radians = direction * std::numbers::pi / 180.0;
        u[i] = -speed * std::sin(radians);
        v[i] = -speed * std::cos(radians);
    }
    const double uAt = interpolateInLogPressure(pres, u, p);
    const double vAt = interpolateInLogPressure(pres, v, p);
    if (isMissing(uAt) || isMissing(vAt)) {
        return missingValue;
    }
    return std::sqrt(uAt * uAt + vAt * vAt);
}

double potentialTemperatureAt(const ProfileBlock& block, double surfacePressure) {
    if (isMissing(surfacePressure) || !(surfacePressure > 0)) {
        return missingValue;
    }
    const double p = 0.995 * surfacePressure;
    const std::vector<double>& pres = block.levels[levelPres];
    const double temperature = p > pres[0]
                                   ? block.levels[levelTmpc][0]
                                   : interpolateInLogPressure(pres, block.levels[levelTmpc], p);
    if (isMissing(temperature)) {
        return missingValue;
    }
    return (temperature + 273.15) * std::pow(1000.0 / p, 0.2857);
}

double relativeHumidity(double temperature, double dewPoint) {
    if (isMissing(temperature) || isMissing(dewPoint)) {
        return missingValue;
    }
    const auto vapourPressure = [](double x) { return 6.112 * std::exp(17.67 * x / (x + 243.5)); };
    return 100.0 * vapourPressure(dewPoint) / vapourPressure(temperature);
}

void windFromComponents(double u, double v, double& direction, double& speed) {
    if (isMissing(u) || isMissing(v)) {
        direction = speed = missingValue;
        return;
    }
    speed = std::sqrt(u * u + v * v) / metersPerSecondPerKnot;
    direction = windFromDegrees(u, v);
}

bool makeProfileTables(const BufkitProfile& profile, int step, ProfileTables& tables,
                       std::string& fault) {
    tables = ProfileTables{};
    int previousHour = 0;
    std::size_t surfaceIndex = 0;
    for (const ProfileBlock& block : profile.blocks) {
        if (block.hour < step || block.hour % step != 0) {
            continue;
        }
        const std::int64_t validMinute = profile.runMinute + std::int64_t{block.hour} * 60;
        const std::int64_t fromMinute = profile.runMinute + std::int64_t{previousHour} * 60;
        double precip = 0;
        const SurfaceRow* surface = nullptr;
        while (surfaceIndex < profile.surface.size() &&
               profile.surface[surfaceIndex].validMinute <= validMinute) {
            const SurfaceRow& row = profile.surface[surfaceIndex];
            if (row.validMinute > fromMinute && !isMissing(row.values[surfaceP01m])) {
                precip += row.values[surfaceP01m];
            }
            if (row.validMinute == validMinute) {
                surface = &row;
            }
            ++surfaceIndex;
        }
        if (surface == nullptr) {
            const ProfileTime time = profileTimeOf(validMinute);
            char text[32];
            std::snprintf(text, sizeof text, "%02d%02d%02d/%02d%02d", time.year % 100, time.month,
                          time.day, time.hour, time.minute);
            fault = "the surface section has no row for forecast hour " +
                    std::to_string(block.hour) + " (" + text + ")";
            return false;
        }
        previousHour = block.hour;

        ColumnRow& column = tables.columns.emplace_back();
        column.hour = block.hour;
        auto& c = column.values;
        c[columnPressure] = surfaceValue(*surface, surfacePmsl);
        c[columnTemp2m] = surfaceValue(*surface, surfaceT2ms);
        for (std::size_t level = 1; level < columnLevels.size(); ++level) {
            bool below = false;
            c[columnTemp850 + level - 1] = temperatureAt(block, columnLevels[level], below);
            tables.columnBelowGround[level] += below ? 1 : 0;
        }
        bool below1000 = false;
        bool below500 = false;
        const double z1000 = heightAt(block, 1000, below1000);
        const double z500 = heightAt(block, 500, below500);
        tables.columnBelowGround[0] += below1000 ? 1 : 0;
        c[columnThickness] = isMissing(z1000) || isMissing(z500) ? missingValue : z500 - z1000;
        c[columnHumidity] = relativeHumidity(surfaceValue(*surface, surfaceT2ms),
                                             surfaceValue(*surface, surfaceTd2m));
        c[columnPrecip] = precip;
        double cloud = missingValue;
        for (const SurfaceColumn layer : {surfaceLcld, surfaceMcld, surfaceHcld}) {
            if (!isMissing(surface->values[layer])) {
                cloud = isMissing(cloud) ? surface->values[layer]
                                         : std::max(cloud, surface->values[layer]);
            }
        }
        c[columnCloud] = cloud;
        windFromComponents(surfaceValue(*surface, surfaceUwnd), surfaceValue(*surface, surfaceVwnd),
                           c[columnWindDir], c[columnWindSpeed]);
        for (std::size_t field = 0; field < columnFieldCount; ++field) {
            tables.columnUnavailable[field] =
                tables.columnUnavailable[field] || isMissing(c[field]);
        }

        SevereRow& severe = tables.severe.emplace_back();
        severe.hour = block.hour;
        auto& s = severe.values;
        s[severeBest4Layer] = missingValue;
        s[severeLifted] = block.liftedIndex;
        s[severeInhibition] = block.cins;
        s[severeEnergy] = block.cape;
        s[severeTheta] = potentialTemperatureAt(block, surfaceValue(*surface, surfacePres));
        std::array<bool, 3> belowGround{};
        for (std::size_t level = 0; level < severeLevels.size(); ++level) {
            s[severeWind900 + level] = windSpeedAt(block, severeLevels[level], belowGround[level]);
            tables.severeBelowGround[level] += belowGround[level] ? 1 : 0;
        }
        s[severeLatentHeat] = surfaceValue(*surface, surfaceLhfl);
        s[severeSensibleHeat] = surfaceValue(*surface, surfaceShfl);
        for (std::size_t field = 0; field < severeFieldCount; ++field) {
            const bool belowHere = field >= severeWind900 && field <= severeWind250 &&
                                   belowGround[field - severeWind900];
            tables.severeUnavailable[field] =
                tables.severeUnavailable[field] || (isMissing(s[field]) && !belowHere);
        }
    }
    return true;
}
