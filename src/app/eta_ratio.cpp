#include "app/eta_ratio.h"

#include "io/option_word.h"
#include "io/typed_word.h"

RatioWord readEtaRatio(const std::string& word, double& etaRatio) {
    // A word as long as the kept part may have lost its tail, so it is no number either.
    if (word.size() >= maxTypedWordLength || !readTypedNumber(word, etaRatio)) {
        return RatioWord::notANumber;
    }
    return etaRatio < 0 || etaRatio > 1 ? RatioWord::outOfRange : RatioWord::ratio;
}
