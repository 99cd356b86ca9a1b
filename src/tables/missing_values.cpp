#include "tables/missing_values.h"

#include <iomanip>

bool isMissing(double fileValue) {
    return fileValue == missingValue;
}

void writeTableValue(std::ostream& report, int width, double value, bool missing) {
    report << std::setw(width);
    if (missing) {
        report << missingMark;
    } else {
        report << value;
    }
}

void tellMissingValues(const std::string& name, const std::vector<std::string>& headings,
                       std::ostream& messages) {
    if (headings.empty()) {
        return;
    }
    messages << "The data file " << name << " has no value (-9999) in some rows of the column"
             << (headings.size() == 1 ? " " : "s ");
    for (std::size_t i = 0; i < headings.size(); ++i) {
        messages << (i == 0 ? "" : ", ") << '"' << headings[i] << '"';
    }
    messages << "; the report writes M there." << std::endl;
}
