#include "assemble/assemble_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "assemble/bulletin_chooser.h"
#include "assemble/product_reading.h"
#include "blend/bulletin_check.h"
#include "io/option_word.h"
#include "io/report_file.h"

namespace {

struct AssembleRequest {
    std::optional<CalendarDate> date;
    std::optional<std::string> output;
    std::vector<std::string> products;
    bool quiet = false;  // no notes when all goes well
};

int usageError(std::ostream& err, const std::string& problem) {
    err << "wxguide assemble: " << problem << "\nTry 'wxguide --help'.\n";
    return 2;
}

// Returns 0 with `request` filled, or the usage error's status.
int readRequest(std::span<const char* const> arguments, AssembleRequest& request,
                std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        const OptionWord option = splitOptionWord(word);
        const bool takesValue = option.name == "--date" || option.name == "--output";
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            request.products.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if ((option.name == "--quiet" || option.name == "-q") && !option.value) {
            request.quiet = true;
        } else if (!takesValue) {
            const std::string misplaced =
                option.name == "--quiet" ? "--quiet takes no value" : misplacedOption(option.name);
            return usageError(
                err, misplaced.empty() ? "unknown option: " + std::string(option.name) : misplaced);
        } else if (!option.value && i + 1 == arguments.size()) {
            return usageError(err, std::string(option.name) + " needs a value");
        } else {
            const std::string value = option.value ? std::string(*option.value) : arguments[++i];
            if (option.name == "--date") {
                CalendarDate date;
                if (request.date || !readCalendarDate(value, date)) {
                    return usageError(err, "--date takes one date written as 12/08/2026");
                }
                request.date = date;
            } else {
                if (request.output || value.empty()) {
                    return usageError(err, "--output takes one file name");
                }
                request.output = value;
            }
        }
    }
    if (request.products.empty()) {
        return usageError(err, "no product given");
    }
    return 0;
}

std::string listDates(const std::vector<CalendarDate>& dates) {
    std::string text;
    for (const CalendarDate& date : dates) {
        text += (text.empty() ? "" : ", ") + writeCalendarDate(date);
    }
    return text;
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
            err << "wxguide assemble: " << *request.output
                << " could not be written; nothing was.\n";
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

int runAssemble(std::span<const char* const> arguments, std::ostream& out, std::ostream& err,
                std::span<const std::string_view> stations) {
    AssembleRequest request;
    if (const int status = readRequest(arguments, request, err); status != 0) {
        return status;
    }
    if (request.quiet) {
        beQuiet(err);
    }
    BulletinChoice choice;
    startChoice(choice, stations, request.date);
    for (const std::string& name : request.products) {
        // A folder opens on some systems and fails only when read: name it for what it is.
        std::error_code error;
        if (name != "-" && std::filesystem::is_directory(name, error)) {
            err << "wxguide assemble: " << name << " is a folder; nothing was written.\n";
            return 1;
        }
        ProductFile product;
        if (!openProductFile(product, name)) {
            err << "wxguide assemble: " << name << " cannot be opened; nothing was written.\n";
            return 1;
        }
        if (!readProductBulletins(product, name, choice, err)) {
            err << "wxguide assemble: nothing was written.\n";
            return 1;
        }
    }
    const ChosenBulletins chosen = chooseBulletins(choice);
    if (!chosen.date) {
        err << "wxguide assemble: the products hold no bulletin that option 1 takes; nothing "
               "was written.\n";
        return 1;
    }
    const std::string date = writeCalendarDate(*chosen.date);
    if (!chosen.missing.empty()) {
        for (const std::string& missing : chosen.missing) {
            err << "missing: " << missing << "\n";
        }
        err << (chosen.completeDates.empty()
                    ? "No date has all " + std::to_string(choice.stations.size() * 3) +
                          " bulletins."
                    : "Dates with all " + std::to_string(choice.stations.size() * 3) +
                          " bulletins: " + listDates(chosen.completeDates) + ".")
            << "\nwxguide assemble: nothing was written.\n";
        return 1;
    }
    if (chosen.dateLetGo) {
        err << "wxguide assemble: the products hold too many days to keep them all; run again "
               "with --date "
            << date << ". Nothing was written.\n";
        return 1;
    }
    // Checked before anything is written: a file option 1 would refuse replaces nothing.
    const std::string text = fileText(chosen, err);
    BulletinVerdict verdict;
    if (!checkBulletinText(text, verdict, stations)) {
        err << "wxguide assemble: option 1 would refuse the file, so nothing was written: "
            << explainVerdict(verdict) << "\n";
        return 1;
    }
    return writeFile(request, text, out, err);
}
