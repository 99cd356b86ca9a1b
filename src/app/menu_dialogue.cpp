#include "app/menu_dialogue.h"

#include <string>

#include "app/eta_ratio.h"
#include "io/typed_word.h"

bool askDataFile(DataFile& data, std::istream& typed, std::ostream& console) {
    console << "Please enter the name of the file with the .txt extension: ";
    TypedName name;
    readTypedName(typed, name);
    // Taking the rest of the line as the name would open a file the forecaster did not
    // mean; the line is dropped so that none of it is read as a menu option.
    if (name.unclosedQuote) {
        data.name = name.text;
        console << "The file name you typed opens a double quote but does not close it"
                   " on the same line; type the whole name between two double quotes."
                << std::endl;
        return false;
    }
    return openNamedDataFile(data, name.text, console);
}

std::optional<double> askEtaRatio(std::istream& typed, std::ostream& console) {
    for (;;) {
        console << "Please enter in a decimal ratio you would like for the ETA model weight: ";
        std::string word;
        if (!readTypedWord(typed, word)) {
            console << std::endl
                    << "No ratio was entered, so no forecast was written." << std::endl;
            return std::nullopt;
        }
        double etaRatio = 0;
        switch (readEtaRatio(word, etaRatio)) {
            case RatioWord::ratio:
                return etaRatio;
            case RatioWord::notANumber:
                console << "That is not a number; type the ETA weight as a decimal number, such "
                           "as 0.6."
                        << std::endl;
                break;
            case RatioWord::outOfRange:
                console << "The ETA weight must lie between 0 and 1, such as 0.6 for 60 % ETA."
                        << std::endl;
                break;
        }
    }
}
