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

bool readTypedName(std::istream& in, TypedName& name) {
    name = TypedName{};
    const std::istream::sentry skipBlanks(in);
    if (!skipBlanks) {
        return false;
    }
    std::streambuf* source = in.rdbuf();
    if (!std::istream::traits_type::eq_int_type(source->sgetc(), '"')) {
        return readTypedWord(in, name.text);
    }
    source->sbumpc();
    for (;;) {
        const std::istream::int_type next = source->sgetc();
        if (std::istream::traits_type::eq_int_type(next, std::istream::traits_type::eof())) {
            in.setstate(std::ios::eofbit);
            name.unclosedQuote = true;
            return true;
        }
        const char c = std::istream::traits_type::to_char_type(next);
        // The line end stays in the input, as after any word.
        if (c == '\n' || c == '\r') {
            name.unclosedQuote = true;
            return true;
        }
        source->sbumpc();
        if (c == '"') {
            return true;
        }
        if (name.text.size() < maxTypedWordLength) {
            name.text.push_back(c);
        }
    }
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
