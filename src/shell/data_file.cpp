#include "shell/data_file.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "shell/platform.h"
#include "shell/typed_word.h"

namespace {

// The report being written between openReportFile and closeReportFile: the temporary
// file it goes to, and whether its name was refused. Runs write one report at a time.
std::string temporaryReport;
bool reportNameRefused = false;

void sayNotFound() {
    std::cout << "You entered a file name wich does not exist in the directory." << std::endl;
}

}  // namespace

bool openDataFile(std::string& name) {
    std::cout << "Please enter the name of the file with the .txt extension: ";
    readTypedWord(std::cin, name);
    // A NUL would end the name the system sees, but not the report's name.
    if (holdsControlCharacter(name)) {
        std::cout << "The file name you typed holds a control character and cannot name a file."
                  << std::endl;
        return false;
    }

    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (name.empty() || error || !std::filesystem::exists(status)) {
        sayNotFound();
        return false;
    }
    // A folder, a device or a pipe may never end or never answer: only plain files.
    if (!std::filesystem::is_regular_file(status)) {
        std::cout << "The name " << name << " is not a plain file and cannot be read as data."
                  << std::endl;
        return false;
    }
    std::ifstream data(name);
    if (data.fail()) {
        sayNotFound();
        return false;
    }
    data.close();

    if (name.size() < 3) {
        std::cout << "The file name " << name
                  << " is too short: its report takes the name with the last three characters"
                     " replaced by out."
                  << std::endl;
        return false;
    }
    // Opening the report would empty the data before it is read.
    const std::string report = reportFileName(name);
    if (report == name || std::filesystem::equivalent(name, report, error)) {
        std::cout << "The report file " << report << " would overwrite the data file " << name
                  << "; rename the data file and try again." << std::endl;
        return false;
    }
    return true;
}

std::string reportFileName(const std::string& name) {
    std::string report = name;
    report.replace(report.size() - 3, 3, "out");
    return report;
}

void openReportFile(const std::string& name, std::ofstream& report) {
    const std::string reportName = reportFileName(name);
    temporaryReport.clear();
    reportNameRefused = isSpecialFile(reportName);
    if (!reportNameRefused) {
        temporaryReport = createReportTemporary(reportName);
    }
    if (temporaryReport.empty()) {
        report.setstate(std::ios::failbit);  // the run's writes go nowhere
        return;
    }
    report.open(temporaryReport, std::ios::out | std::ios::trunc);
}

bool closeReportFile(const std::string& name, std::ofstream& report) {
    const std::string reportName = reportFileName(name);
    report.close();
    bool written = false;
    if (!temporaryReport.empty()) {
        if (report.fail()) {
            discardReportTemporary(temporaryReport);
        } else {
            written = replaceReportWithTemporary(temporaryReport, reportName);
        }
        temporaryReport.clear();
    }
    if (reportNameRefused) {
        reportNameRefused = false;
        std::cout << "The report file " << reportName
                  << " is not a plain file, so the report cannot be written there." << std::endl;
    } else if (!written) {
        std::cout << "The report file " << reportName << " could not be written." << std::endl;
    }
    return written;
}
