#include "io/report_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ostream>
#include <system_error>

#include "io/platform.h"

namespace {

// Beside the report, so the rename that puts it in place stays on one file system. When
// the report's own name leaves no room for the suffix within the folder's limit on names,
// it is cut short in front of the suffix.
std::string temporaryNameFor(const std::string& reportName, int attempt) {
    const std::string suffix =
        "." + std::to_string(processNumber()) + "-" + std::to_string(attempt) + ".tmp";
    const auto separator = std::find_if(reportName.rbegin(), reportName.rend(), isFolderSeparator);
    const auto baseStart = static_cast<std::size_t>(reportName.rend() - separator);
    const std::size_t limit =
        longestNameIn(baseStart == 0 ? std::string(".") : reportName.substr(0, baseStart));
    const std::size_t room = limit > suffix.size() ? limit - suffix.size() : 0;
    const std::size_t baseLength = std::min(reportName.size() - baseStart, room);
    return reportName.substr(0, baseStart + baseLength) + suffix;
}

bool writeWhole(int descriptor, const std::string& bytes, int& failure) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const long written = writeSome(descriptor, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            failure = errno;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

ReportFile::ReportFile(const std::string& name) : reportName(name) {
    nameRefused = isSpecialFile(reportName);
    if (nameRefused) {
        return;
    }
    if (!mayReplaceReport(reportName)) {
        failure = EACCES;
        return;
    }
    // A name someone else took (a file, a link planted there) is passed over for the next.
    bool nameTaken = true;
    for (int attempt = 0; attempt < 100 && descriptor < 0 && nameTaken; ++attempt) {
        temporaryName = temporaryNameFor(reportName, attempt);
        errno = 0;
        descriptor = createReportTemporary(temporaryName, reportName, nameTaken);
        failure = descriptor < 0 ? errno : 0;
    }
}

ReportFile::~ReportFile() {
    if (descriptor >= 0) {
        closeFile(descriptor);
        discardReportTemporary(temporaryName);
    }
}

bool commitReport(ReportFile& report) {
    bool written = false;
    if (report.descriptor >= 0) {
        const std::string text = report.text.str();
        const bool whole =
            !report.text.fail() && writeWhole(report.descriptor, text, report.failure);
        FileIdentity identity;
        bool closed = false;
        if (whole) {
            errno = 0;
            closed = syncAndClose(report.descriptor, identity);
            report.failure = closed ? 0 : errno;
        } else {
            closeFile(report.descriptor);
        }
        report.descriptor = -1;
        if (whole && closed) {
            errno = 0;
            ReportPlaced placed =
                replaceReportWithTemporary(report.temporaryName, report.reportName, identity);
            report.failure = placed == ReportPlaced::failed ? errno : 0;
            // A twin run of the same command may have put its own whole copy in place
            // between the rename and the check: the same text stands there, as written.
            if (placed == ReportPlaced::otherFile && fileHoldsExactly(report.reportName, text)) {
                placed = ReportPlaced::yes;
            }
            written = placed == ReportPlaced::yes;
            report.nameSwapped = placed == ReportPlaced::otherFile;
        } else {
            discardReportTemporary(report.temporaryName);
        }
    }
    return written;
}

void tellReportNotWritten(const ReportFile& report, bool written, std::ostream& messages) {
    if (report.nameRefused) {
        messages << "The report file " << report.reportName
                 << " is not a plain file, so the report cannot be written there." << std::endl;
    } else if (report.nameSwapped) {
        messages << "The report file " << report.reportName
                 << " holds another file than the report written: something replaced it while "
                    "it was put in place."
                 << std::endl;
    } else if (!written) {
        messages << "The report file " << report.reportName << " could not be written"
                 << writeFailureReason(report) << "." << std::endl;
    }
}

std::string writeFailureReason(const ReportFile& report) {
    if (report.failure == 0) {
        return {};
    }
    std::string reason = std::generic_category().message(report.failure);
    if (reason.empty()) {
        return {};
    }
    // Within a sentence: "no space left on device", as the system's words go on.
    reason.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(reason.front())));
    return " (" + reason + ")";
}

bool finishReport(ReportFile& report, std::ostream& messages) {
    const bool written = commitReport(report);
    tellReportNotWritten(report, written, messages);
    return written;
}
