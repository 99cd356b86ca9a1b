#include "export/side_files.h"

#include <cstdlib>
#include <functional>
#include <string_view>
#include <vector>

#include "export/meteogram.h"
#include "export/run_description.h"
#include "export/spreadsheet.h"
#include "io/data_file.h"
#include "io/output_names.h"
#include "io/report_file.h"

namespace {

bool environmentSays(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && std::string_view(value) == "1";
}

// One file written whole through the report writer, or not at all.
bool writeSideFile(const std::string& dataName, const std::string& ending,
                   const std::function<void(std::ostream&)>& write, std::ostream& messages) {
    const std::string name = sideFileName(dataName, ending);
    // A data file named like gfs.csv (or reached through a link of that name) must not be
    // replaced by its own spreadsheet, nor the report beside it.
    if (namesOneFile(name, dataName)) {
        messages << "The file " << name << " would overwrite the data file " << dataName
                 << ", so it was not written." << std::endl;
        return false;
    }
    const std::string reportName = reportFileName(dataName);
    if (namesOneFile(name, reportName)) {
        messages << "The file " << name << " would overwrite the report " << reportName
                 << ", so it was not written." << std::endl;
        return false;
    }
    ReportFile file(name);
    write(file.text);
    if (commitReport(file)) {
        return true;
    }
    if (file.nameRefused) {
        messages << "The file " << name << " is not a plain file, so it cannot be written there."
                 << std::endl;
    } else {
        messages << "The file " << name << " could not be written" << writeFailureReason(file)
                 << "." << std::endl;
    }
    return false;
}

struct SideFile {
    const char* ending;
    std::function<void(std::ostream&)> write;
};

// Each file on its own: one that cannot be written does not keep back the others.
bool writeSideFiles(const std::string& dataName, const std::vector<SideFile>& files,
                    std::ostream& messages) {
    bool written = true;
    for (const SideFile& file : files) {
        written = writeSideFile(dataName, file.ending, file.write, messages) && written;
    }
    return written;
}

}  // namespace

SideFiles sideFilesFromEnvironment() {
    return {environmentSays("WXGUIDE_PLOT"), environmentSays("WXGUIDE_CSV")};
}

std::span<const char* const> takeSideFileOptions(std::span<const char* const> arguments,
                                                 SideFiles& sideFiles) {
    std::size_t taken = 0;
    for (; taken < arguments.size(); ++taken) {
        const std::string_view word = arguments[taken];
        if (word == "--plot") {
            sideFiles.plot = true;
        } else if (word == "--csv") {
            sideFiles.csv = true;
        } else {
            break;
        }
    }
    return arguments.subspan(taken);
}

std::string sideFileName(const std::string& dataName, const std::string& ending) {
    std::string stem = reportFileName(dataName);
    stem.resize(stem.size() - 3);
    if (!stem.empty() && stem.back() == '.') {
        stem.pop_back();
    }
    return stem + ending;
}

bool writeBlendSideFiles(const SideFiles& sideFiles, const StationBlendRecords& records,
                         std::ostream& messages) {
    const RunDescription run = describeRun(records);
    std::vector<SideFile> files;
    if (sideFiles.plot) {
        files.push_back(
            {".svg", [&](std::ostream& out) { out << chartSvg(blendMeteogram(run, records)); }});
    }
    if (sideFiles.csv) {
        files.push_back(
            {".csv", [&](std::ostream& out) { writeBlendDailyCsv(out, run, records); }});
        files.push_back(
            {"-hourly.csv", [&](std::ostream& out) { writeBlendHourlyCsv(out, run, records); }});
    }
    return !records.reportWritten || writeSideFiles(records.dataName, files, messages);
}

bool writeModelSideFiles(const SideFiles& sideFiles, int option, const ModelTableRecords& records,
                         std::ostream& messages) {
    const RunDescription run = describeRun(option, records);
    std::vector<SideFile> files;
    if (sideFiles.plot) {
        files.push_back(
            {".svg", [&](std::ostream& out) { out << chartSvg(modelMeteogram(run, records)); }});
    }
    if (sideFiles.csv) {
        files.push_back({".csv", [&](std::ostream& out) { writeModelCsv(out, run, records); }});
    }
    return !records.reportWritten || writeSideFiles(records.dataName, files, messages);
}

bool writeSevereSideFiles(const SideFiles& sideFiles, const SevereWeatherRecords& records,
                          std::ostream& messages) {
    const RunDescription run = describeRun(records);
    std::vector<SideFile> files;
    if (sideFiles.plot) {
        files.push_back(
            {".svg", [&](std::ostream& out) { out << chartSvg(severeMeteogram(run, records)); }});
    }
    if (sideFiles.csv) {
        files.push_back({".csv", [&](std::ostream& out) { writeSevereCsv(out, run, records); }});
    }
    return !records.reportWritten || writeSideFiles(records.dataName, files, messages);
}
