#include "assemble/assemble_command.h"

#include <filesystem>
#include <string>

#include "assemble/bulletin_chooser.h"
#include "assemble/product_reading.h"
#include "blend/text_reading.h"
#include "io/option_word.h"
#include "io/report_file.h"
#include "scan/scan_input.h"

namespace {

std::string listDates(const ChosenBulletins& chosen) {
    std::string text;
    for (const CalendarDate& date : chosen.completeDates) {
        text += (text.empty() ? "" : ", ") + writeCalendarDate(date);
    }
    if (chosen.moreCompleteDates > 0) {
        text += " and " + std::to_string(chosen.moreCompleteDates) + " older";
    }
    return text;
}

// Names the bulletins seen but not taken, and why: the first few of each reason, the rest
// counted. Bulletins of stations outside the set are told only when nothing was taken: a
// feed's collective holds hundreds that are no one's concern.
void tellPassedOver(const BulletinChoice& choice, bool otherStations, std::ostream& err) {
    for (std::size_t i = 0; i < passedOverReasons; ++i) {
        const auto reason = static_cast<PassedOver>(i);
        const PassedOverBulletins& passed = choice.passedOver.at(i);
        if (passed.count == 0 || (reason == PassedOver::otherStation && !otherStations)) {
            continue;
        }
        const std::string why = passedOverReason(choice, reason);
        for (const std::string& header : passed.headers) {
            err << "passed over: " << header << ": " << why << "\n";
        }
        if (passed.count > passed.headers.size()) {
            const std::size_t more = passed.count - passed.headers.size();
            err << "passed over: " << more << " more bulletin" << (more == 1 ? "" : "s") << " of "
                << why << "\n";
        }
    }
}

// Tells what the newest date lacks, the dates that have it all, and what to run instead.
void tellMissing(const ChosenBulletins& chosen, const BulletinChoice& choice,
                 const AssembleRequest& request, std::ostream& err) {
    const std::string count = std::to_string(choice.stations.size() * 3);
    tellPassedOver(choice, false, err);
    for (const std::string& missing : chosen.missing) {
        err << "missing: " << missing << "\n";
    }
    err << (chosen.completeDates.empty()
                ? "No date has all " + count + " bulletins."
                : "Dates with all " + count + " bulletins: " + listDates(chosen) + ".")
        << "\n";
    if (!request.date && chosen.olderComplete) {
        err << writeCalendarDate(*chosen.date)
            << " is the newest date found; run again with --date "
            << writeCalendarDate(*chosen.olderComplete) << " to use an older day.\n";
    }
    err << "wxguide assemble: nothing was written.\n";
}

// Opens the product `name` and makes sure it is no file the command may write: 0 with it
// open, or the exit status of the refusal told on `err`.
int openProduct(ScanInput& product, const std::string& name, const AssembleRequest& request,
                std::ostream& err) {
    const InputOpening opening = openScanInput(product, name);
    if (opening == InputOpening::missing) {
        err << "wxguide assemble: " << name << " does not exist; nothing was written.\n";
        return 1;
    }
    if (opening == InputOpening::unreadable) {
        err << "wxguide assemble: " << name
            << " cannot be read (permission denied); nothing was written.\n";
        return 1;
    }
    // A folder is the likeliest of these: name it for what it is.
    std::error_code error;
    if (opening == InputOpening::notPlain && name != "-" &&
        std::filesystem::is_directory(name, error)) {
        err << "wxguide assemble: " << name << " is a folder; nothing was written.\n";
        return 1;
    }
    if (opening == InputOpening::notPlain) {
        err << "wxguide assemble: " << (name == "-" ? std::string("standard input") : name)
            << " is no plain file (a folder, a pipe, a device or a socket); nothing was "
               "written.\n";
        return 1;
    }
    if (request.output && inputIsFile(product, name, *request.output)) {
        err << "wxguide assemble: --output " << *request.output << " is the product " << name
            << "; nothing was written.\n";
        return 2;
    }
    return 0;
}

// The file's text: the bulletins with one blank line between them, every header's date
// written as bulletin 1 writes it. A rewritten header is told on `err`.
std::string fileText(const ChosenBulletins& chosen, std::ostream& err) {
    const FoundBulletin& first = *chosen.bulletins.front();
    const std::string_view firstDate =
        std::string_view(first.text).substr(first.dateAt, first.dateLength);
    std::string text;
    for (std::size_t i = 0; i < chosen.bulletins.size(); ++i) {
        const FoundBulletin& bulletin = *chosen.bulletins[i];
        const std::string_view date =
            std::string_view(bulletin.text).substr(bulletin.dateAt, bulletin.dateLength);
        if (i > 0) {
            text += '\n';
        }
        if (date == firstDate) {
            text += bulletin.text;
            continue;
        }
        statusLines(err) << "wxguide assemble: bulletin " << i + 1 << " writes the date " << date
                         << "; it now reads " << firstDate << ", as bulletin 1 writes it.\n";
        // The date stands right-aligned before the run: keep its end where it was while
        // at least one blank stays before it.
        std::size_t start = bulletin.dateAt;
        const std::size_t end = bulletin.dateAt + bulletin.dateLength;
        std::size_t room = end - start;
        while (room < firstDate.size() && start > 1 && bulletin.text[start - 1] == ' ' &&
               bulletin.text[start - 2] == ' ') {
            --start;
            ++room;
        }
        text.append(bulletin.text, 0, start);
        text.append(room > firstDate.size() ? room - firstDate.size() : 0, ' ');
        text += firstDate;
        text.append(bulletin.text, end);
    }
    return text;
}

// Writes the checked file whole to `--output` or to standard output; 0, or 1 when it
// could not be written.
int writeFile(const AssembleRequest& request, const std::string& text, std::ostream& out,
              std::ostream& err) {
    if (request.output) {
        ReportFile file(*request.output);
        file.text << text;
        if (!commitReport(file)) {
            err << "wxguide assemble: " << *request.output << " could not be written"
                << writeFailureReason(file) << "; nothing was.\n";
            return 1;
        }
        return 0;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) {
        err << "wxguide assemble: standard output could not be written.\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runAssemble(const AssembleRequest& request, std::ostream& out, std::ostream& err,
                const StationSet& set) {
    if (request.quiet) {
        beQuiet(err);
    }
    // Every product is looked at before any is read: a refusal comes at once.
    for (const std::string& name : request.products) {
        if (name == "-") {
            continue;  // read once only, below
        }
        ScanInput product;
        if (const int status = openProduct(product, name, request, err); status != 0) {
            return status;
        }
    }
    BulletinChoice choice;
    startChoice(choice, set, request.date);
    for (const std::string& name : request.products) {
        ScanInput product;
        if (const int status = openProduct(product, name, request, err); status != 0) {
            return status;
        }
        if (!readProductBulletins(product.scan, name, choice, err)) {
            err << "wxguide assemble: nothing was written.\n";
            return 1;
        }
    }
    const ChosenBulletins chosen = chooseBulletins(choice);
    if (!chosen.date) {
        tellPassedOver(choice, true, err);
        err << "wxguide assemble: the products hold no bulletin that option 1 takes; nothing "
               "was written.\n";
        return 1;
    }
    const std::string date = writeCalendarDate(*chosen.date);
    if (!chosen.missing.empty()) {
        tellMissing(chosen, choice, request, err);
        return 1;
    }
    if (chosen.bulletins.empty()) {
        err << "wxguide assemble: the bulletins of " << date
            << " were not kept; nothing was written.\n";
        return 1;
    }
    // Checked and read before anything is written: a file option 1 would refuse, or could
    // not read a row of, replaces nothing.
    const std::string text = fileText(chosen, err);
    std::string problem;
    if (readBulletinText(text, set, problem) != TextReading::read) {
        err << "wxguide assemble: option 1 would refuse the file, so nothing was written: "
            << problem << "\n";
        return 1;
    }
    return writeFile(request, text, out, err);
}
