#include "io/data_file.h"

#include <ostream>

#include "io/platform.h"
#include "io/typed_word.h"

namespace {

void sayNotFound(std::ostream& messages) {
    messages << "You entered a file name wich does not exist in the directory." << std::endl;
}

void closeDataFile(DataFile& data) {
    if (data.descriptor >= 0) {
        closeFile(data.descriptor);
        data.descriptor = -1;
    }
}

}  // namespace

DataFile::~DataFile() {
    closeDataFile(*this);
}

std::string whyNotOpened(DataFileKind kind) {
    switch (kind) {
        case DataFileKind::missing:
            return "does not exist";
        case DataFileKind::unreadable:
            return "cannot be read (permission denied)";
        case DataFileKind::notPlain:
        case DataFileKind::plain:
            break;
    }
    return "cannot be opened as a plain file";
}

bool openPlainDataFile(DataFile& data, const std::string& name) {
    closeDataFile(data);
    data.name = name;
    data.descriptor = openPlainFile(name, data.kind);
    return data.descriptor >= 0;
}

bool openNamedDataFile(DataFile& data, const std::string& name, std::ostream& messages) {
    closeDataFile(data);
    data.name = name;
    // A NUL would end the name the system sees, but not the report's name.
    if (holdsControlCharacter(name)) {
        messages << "The file name you typed holds a control character and cannot name a file."
                 << std::endl;
        return false;
    }
    DataFileKind kind = DataFileKind::missing;
    if (!name.empty()) {
        data.descriptor = openPlainFile(name, kind);
    }
    if (kind == DataFileKind::missing) {
        sayNotFound(messages);
        return false;
    }
    if (kind == DataFileKind::unreadable) {
        messages << "The file " << name << " cannot be read (permission denied)." << std::endl;
        return false;
    }
    // A folder, a device or a pipe may never end or never answer: only plain files.
    if (kind == DataFileKind::notPlain) {
        messages << "The name " << name << " is not a plain file and cannot be read as data."
                 << std::endl;
        return false;
    }

    if (name.size() < 3) {
        closeDataFile(data);
        messages << "The file name " << name
                 << " is too short: its report takes the name with the last three characters"
                    " replaced by out."
                 << std::endl;
        return false;
    }
    // Replacing the report would take the data's place before it is read.
    const std::string report = reportFileName(name);
    if (report == name || isSameFile(data.descriptor, name, report)) {
        closeDataFile(data);
        messages << "The report file " << report << " would overwrite the data file " << name
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
