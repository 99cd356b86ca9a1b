#include "assemble/assemble_command.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "assemble/bulletin_chooser.h"
#include "assemble/product_reading.h"
#include "shell/platform.h"

namespace {

struct AssembleRequest {
    std::optional<CalendarDate> date;
    std::optional<std::string> output;
    std::vector<std::string> products;
};

int usageError(std::ostream& err, const std::string& problem) {
    err << "wxguide assemble: " << problem << "\n"
        << "Usage: " << assembleUsage << "\n"
        << "Picks the twelve bulletins of option 1 out of saved guidance products\n"
        << "(\"-\" reads standard input) and writes them in option 1's order.\n";
    return 2;
}

// Returns 0 with `request` filled, or the usage error's status.
int readRequest(std::span<const char* const> arguments, AssembleRequest& request,
                std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string word = arguments[i];
        const bool takesValue = word == "--date" || word == "--output";
        if (optionsEnded || word == "-" || !word.starts_with("-")) {
            request.products.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (!takesValue) {
            return usageError(err, "unknown option: " + word);
        } else if (i + 1 == arguments.size()) {
            return usageError(err, word + " needs a value");
        } else if (word == "--date") {
            CalendarDate date;
            if (request.date || !readCalendarDate(arguments[++i], date)) {
                return usageError(err, "--date takes one date written as 12/08/2026");
            }
            request.date = date;
        } else {
            if (request.output || std::string_view(arguments[i + 1]).empty()) {
                return usageError(err, "--output takes one file name");
            }
            request.output = arguments[++i];
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
        err << "wxguide assemble: bulletin " << i + 1 << " writes the date " << date
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

// Writes `text` whole into a new temporary file beside `target`; its name, or empty.
std::string writeTemporary(const std::string& target, const std::string& text) {
    const std::string temporary = createReportTemporary(target);
    if (temporary.empty()) {
        return {};
    }
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (file.fail()) {
        discardReportTemporary(temporary);
        return {};
    }
    return temporary;
}

// The check of option 1 on the written file: true when it passes, else told on `err`.
bool passesCheck(const std::string& name, const std::string& shownName, std::ostream& err) {
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    if (checkBulletinFile(name, verdict, bounds)) {
        return true;
    }
    err << "wxguide assemble: " << shownName
        << " was written, but option 1 refuses it: " << explainVerdict(verdict) << "\n";
    return false;
}

int writeFile(const AssembleRequest& request, const std::string& text, std::ostream& out,
              std::ostream& err) {
    if (request.output) {
        const std::string& name = *request.output;
        const std::string temporary = isSpecialFile(name) ? "" : writeTemporary(name, text);
        if (temporary.empty() || !replaceReportWithTemporary(temporary, name)) {
            err << "wxguide assemble: " << name << " could not be written; nothing was.\n";
            return 1;
        }
        return passesCheck(name, name, err) ? 0 : 1;
    }
    // Standard output cannot be taken back: the check reads a temporary copy first.
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    const std::string temporary =
        error ? "" : writeTemporary((folder / "wxguide-assembled.txt").string(), text);
    if (temporary.empty()) {
        err << "wxguide assemble: no temporary file for the check could be made; nothing was "
               "written.\n";
        return 1;
    }
    const bool passed = passesCheck(temporary, "standard output", err);
    discardReportTemporary(temporary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) {
        err << "wxguide assemble: standard output could not be written.\n";
        return 1;
    }
    return passed ? 0 : 1;
}

}  // namespace

int runAssemble(std::span<const char* const> arguments, std::ostream& out, std::ostream& err,
                std::span<const std::string_view> stations) {
    AssembleRequest request;
    if (const int status = readRequest(arguments, request, err); status != 0) {
        return status;
    }
    BulletinChoice choice;
    startChoice(choice, stations, request.date);
    for (const std::string& name : request.products) {
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
    return writeFile(request, fileText(chosen, err), out, err);
}
