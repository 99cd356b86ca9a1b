#include "io/typed_word.h"

#include <locale>

bool readTypedWord(std::istream& in, std::string& word) {
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
        if (word.size() < maxTypedWordLength) {
            word.push_back(c);
        }
        source->sbumpc();
    }
    return true;
}

bool holdsControlCharacter(const std::string& word) {
    for (const char c : word) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7f) {
            return true;
        }
    }
    return false;
}
