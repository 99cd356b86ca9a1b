#include "today/today_page.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ios>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "assemble/calendar_date.h"
#include "io/report_file.h"

namespace {

// Narrow screens get one column and tables that scroll; print keeps pictures whole.
constexpr std::string_view pageStyle =
    "body{font-family:sans-serif;max-width:62em;margin:0 auto;padding:0.5em;"
    "line-height:1.4;color:#111;background:#fff}\n"
    "h1{font-size:1.4em}h2{font-size:1.15em;border-bottom:1px solid #999;margin-top:1.5em}\n"
    ".scroll{overflow-x:auto}\n"
    "table{border-collapse:collapse;font-size:0.9em}\n"
    "th,td{border:1px solid #bbb;padding:0.2em 0.5em;text-align:right;vertical-align:top}\n"
    "table.steps td,table.steps th{text-align:left}\n"
    "code{font-size:0.85em;word-break:break-all}\n"
    "figure.meteogram{margin:0.5em 0}\n"
    "figure.meteogram svg{display:block;width:100%;height:auto}\n"
    ".failed{color:#a00;font-weight:bold}\n"
    "ul.told{font-size:0.85em}\n"
    "@media (max-width:40em){table.steps tr{display:block;border-top:1px solid #bbb;"
    "padding:0.3em 0}table.steps td{display:block;border:none;padding:0}"
    "table.steps tr:first-child{display:none}}\n"
    "@media print{body{max-width:none;padding:0}a{color:#000}"
    "figure.meteogram,table{break-inside:avoid}h2{break-after:avoid}}\n";

std::string baseName(const std::string& name) {
    return std::filesystem::path(name).filename().string();
}

std::string readWhole(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : std::string();
}

bool hasFile(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Where each word of a heading starts: each column's values are written under it.
std::vector<std::size_t> wordStarts(const std::string& heading) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < heading.size(); ++i) {
        if (heading[i] != ' ' && (i == 0 || heading[i - 1] == ' ')) {
            starts.push_back(i);
        }
    }
    return starts;
}

void writeDailyTable(std::ostream& html, const std::vector<std::string>& lines) {
    const std::vector<std::vector<std::string>> rows = dailyTableCells(lines);
    if (rows.empty()) {
        return;
    }
    html << "<div class=\"scroll\"><table class=\"daily\">\n";
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const char* cell = row == 0 ? "th" : "td";
        html << "<tr>";
        for (const std::string& value : rows[row]) {
            html << "<" << cell << ">" << htmlEscaped(value) << "</" << cell << ">";
        }
        html << "</tr>\n";
    }
    html << "</table></div>\n";
}

// The files of a report that are there, each a link: the report, its picture, its
// spreadsheets, its data file.
void writeFileLinks(std::ostream& html, const TodayReport& report) {
    const std::vector<std::string> endings = {".out", ".svg", ".csv", "-hourly.csv", ".txt"};
    html << "<p>Files:";
    for (const std::string& ending : endings) {
        const std::string name = report.stem + ending;
        if (hasFile(name)) {
            const std::string link = htmlEscaped(baseName(name));
            html << " <a href=\"" << link << "\">" << link << "</a>";
        }
    }
    html << "</p>\n";
}

void writeReport(std::ostream& html, const TodayPage& page, const TodayReport& report) {
    const std::string anchor = "option-" + std::to_string(report.option);
    std::string heading = report.what;
    heading.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(heading.front())));
    html << "<h2 id=\"" << anchor << "\">" << htmlEscaped(heading) << "</h2>\n";
    const TodayStep& step = page.steps.at(report.step);
    if (!report.written) {
        html << "<p class=\"failed\">Not made: " << htmlEscaped(step.why) << "</p>\n";
    }
    if (report.option == 1 && report.written) {
        writeDailyTable(html, page.dailyTable);
    }
    const std::string picture =
        report.written ? inlinePicture(readWhole(report.stem + ".svg"), anchor + "-") : "";
    if (!picture.empty()) {
        html << "<figure class=\"meteogram\" id=\"meteogram-" << report.option << "\">\n"
             << picture << "</figure>\n";
    }
    if (report.written) {
        writeFileLinks(html, report);
    }
}

void writeStep(std::ostream& html, const TodayStep& step) {
    html << "<tr><td>" << htmlEscaped(step.what) << "</td><td"
         << (step.done ? ">done" : " class=\"failed\">failed: " + htmlEscaped(step.why))
         << "</td><td>";
    if (!step.file.empty() && hasFile(step.file)) {
        const std::string link = htmlEscaped(baseName(step.file));
        html << "<a href=\"" << link << "\">" << link << "</a>";
    }
    html << "</td><td>";
    if (!step.command.empty()) {
        html << "<code>" << htmlEscaped(step.command) << "</code>";
    }
    html << "</td></tr>\n";
}

void writeSources(std::ostream& html, const TodayPage& page) {
    html << "<h2 id=\"sources\">Where each product came from</h2>\n<ul>\n";
    for (const TodayStep& step : page.steps) {
        if (!step.command.starts_with("wxguide fetch")) {
            continue;
        }
        html << "<li>" << htmlEscaped(step.what) << (step.done ? "" : " (not had)")
             << "\n<ul class=\"told\">";
        for (const std::string& line : step.told) {
            html << "<li>" << htmlEscaped(line) << "</li>";
        }
        html << "</ul></li>\n";
    }
    html << "</ul>\n";
}

void writeHead(std::ostream& html, const TodayPage& page) {
    std::string stations;
    for (const std::string& id : page.stations) {
        stations += (stations.empty() ? "" : " ") + id;
    }
    char at[32];
    std::snprintf(at, sizeof at, "%s %02d UTC", writeCalendarDate(page.at.date).c_str(),
                  page.at.hour);
    html << "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
         << "<meta charset=\"utf-8\" />\n"
         << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n"
         << "<title>wxguide today: " << htmlEscaped(page.station) << ", " << at << "</title>\n"
         << "<style>\n"
         << pageStyle << "</style>\n</head>\n<body>\n"
         << "<h1>The day's guidance: " << htmlEscaped(page.station) << "</h1>\n"
         << "<p>The products out at " << at << ". Station set " << htmlEscaped(stations)
         << ", ETA weight " << htmlEscaped(page.ratio) << "; model station "
         << htmlEscaped(page.station) << ".</p>\n";
    const auto failed = std::count_if(page.steps.begin(), page.steps.end(),
                                      [](const TodayStep& step) { return !step.done; });
    if (failed > 0) {
        html << "<p class=\"failed\">" << failed << (failed == 1 ? " step" : " steps")
             << " failed: see <a href=\"#steps\">the steps</a>.</p>\n";
    }
}

}  // namespace

std::string htmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::vector<std::vector<std::string>> dailyTableCells(const std::vector<std::string>& lines) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::size_t> starts;
    for (const std::string& line : lines) {
        if (trimmed(line).empty()) {
            continue;
        }
        if (starts.empty()) {
            starts = wordStarts(line);
        }
        std::vector<std::string> cells;
        for (std::size_t column = 0; column < starts.size(); ++column) {
            const std::size_t start = starts[column];
            const std::size_t end = column + 1 < starts.size() ? starts[column + 1] : line.size();
            cells.push_back(start < line.size() ? trimmed(line.substr(start, end - start)) : "");
        }
        rows.push_back(cells);
    }
    return rows;
}

std::string inlinePicture(const std::string& svgText, const std::string& idPrefix) {
    const std::size_t start = svgText.find("<svg");
    std::string lower = svgText;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (start == std::string::npos || lower.find("<script") != std::string::npos ||
        lower.find("<foreignobject") != std::string::npos) {
        return {};
    }
    std::string picture;
    const std::string id = " id=\"";
    std::size_t at = start;
    for (std::size_t found = svgText.find(id, at); found != std::string::npos;
         found = svgText.find(id, at)) {
        picture += svgText.substr(at, found + id.size() - at) + idPrefix;
        at = found + id.size();
    }
    picture += svgText.substr(at);
    if (!picture.ends_with("\n")) {
        picture += "\n";
    }
    return picture;
}

std::string todayPageText(const TodayPage& page) {
    std::ostringstream html;
    writeHead(html, page);
    for (const TodayReport& report : page.reports) {
        writeReport(html, page, report);
    }
    html << "<h2 id=\"steps\">Steps</h2>\n<div class=\"scroll\"><table class=\"steps\">\n"
         << "<tr><th>Step</th><th>Outcome</th><th>File</th><th>The same by hand</th></tr>\n";
    for (const TodayStep& step : page.steps) {
        writeStep(html, step);
    }
    html << "</table></div>\n";
    writeSources(html, page);
    html << "</body>\n</html>\n";
    return html.str();
}

bool writeTodayPage(const TodayPage& page, const std::string& name, std::string& fault) {
    ReportFile file(name);
    file.text << todayPageText(page);
    if (!commitReport(file)) {
        fault = name + " could not be written";
        return false;
    }
    return true;
}
