#include "io/option_word.h"

#include <ios>
#include <sstream>

namespace {

int quietIndex() {
    static const int index = std::ios_base::xalloc();
    return index;
}

}  // namespace

OptionWord splitOptionWord(std::string_view word) {
    const std::size_t equals = word.find('=');
    if (!word.starts_with("--") || equals == std::string_view::npos) {
        return {word, std::nullopt};
    }
    return {word.substr(0, equals), word.substr(equals + 1)};
}

bool readTypedNumber(std::string_view word, double& value) {
    // Extraction reads exactly the numbers a forecaster writes and rounds them correctly;
    // a word it does not take whole is no number.
    std::istringstream number{std::string(word)};
    double read = 0;
    if (word.empty() || !(number >> std::noskipws >> read) || !number.eof()) {
        return false;
    }
    value = read;
    return true;
}

int writeUsageError(std::ostream& err, std::string_view command, std::string_view fault) {
    err << "wxguide" << (command.empty() ? "" : " ") << command << ": " << fault
        << "\nTry 'wxguide --help'.\n";
    return 2;
}

void beQuiet(std::ostream& messages) {
    messages.iword(quietIndex()) = 1;
}

std::ostream& statusLines(std::ostream& messages) {
    // Without a buffer the stream takes every write and shows none.
    static std::ostream silent(nullptr);
    return messages.iword(quietIndex()) != 0 ? silent : messages;
}
