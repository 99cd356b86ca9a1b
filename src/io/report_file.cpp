#include "io/report_file.h"

#include <iostream>

#include "io/data_file.h"
#include "io/platform.h"

ReportFile::ReportFile(const std::string& dataName) : reportName(reportFileName(dataName)) {
    nameRefused = isSpecialFile(reportName);
    if (!nameRefused) {
        descriptor = createReportTemporary(reportName, temporaryName);
    }
}

ReportFile::~ReportFile() {
    if (descriptor >= 0) {
        closeFile(descriptor);
        discardReportTemporary(temporaryName);
    }
}

bool finishReport(ReportFile& report) {
    bool written = false;
    if (report.descriptor >= 0) {
        const std::string bytes = report.text.str();
        const bool whole =
            !report.text.fail() && writeWhole(report.descriptor, bytes.data(), bytes.size());
        const bool closed = syncAndClose(report.descriptor);
        report.descriptor = -1;
        if (whole && closed) {
            written = replaceReportWithTemporary(report.temporaryName, report.reportName);
        } else {
            discardReportTemporary(report.temporaryName);
        }
    }
    if (report.nameRefused) {
        std::cout << "The report file " << report.reportName
                  << " is not a plain file, so the report cannot be written there." << std::endl;
    } else if (!written) {
        std::cout << "The report file " << report.reportName << " could not be written."
                  << std::endl;
    }
    return written;
}
