#include "shell/word_scan.h"

#include <locale>

bool readWord(std::istream& in, std::string& word) {
    word.clear();
    const std::istream::sentry skipBlanks(in);
    if (!skipBlanks) {
        return false;
    }
    const auto& classify = std::use_facet<std::ctype<char>>(in.getloc());
    std::streambuf* source = in.rdbuf();
    for (;;) {
        const std::istream::int_type next = source->sgetc();
        if (std::istream::traits_type::eq_int_type(next, std::istream::traits_type::eof())) {
            in.setstate(std::ios::eofbit);
            break;
        }
        const char c = std::istream::traits_type::to_char_type(next);
        if (classify.is(std::ctype_base::space, c)) {
            break;
        }
        if (word.size() <= maxKeptWordLength) {
            word.push_back(c);
        }
        source->sbumpc();
    }
    return true;
}

bool skipPastWord(std::istream& in, std::string_view target, std::string_view stopWord) {
    std::string word;
    while (readWord(in, word)) {
        if (word == target) {
            return true;
        }
        if (!stopWord.empty() && word == stopWord) {
            return false;
        }
    }
    return false;
}
