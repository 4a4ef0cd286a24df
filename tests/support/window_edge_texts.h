// Texts that fall just either side of the edge of the window's controls, as
// the measure of what fits lays them out: for each sentence, the longest
// beginning that fits a question line and the next one that is cut, and the
// longest beginning of the sentence run on that fits the answer area at a
// word's end and the next one that is cut. Both windows' tests show them.
#pragma once

#include "window/text_fit.h"

#include <string>
#include <vector>

namespace murmex::testing {

// Latin, German and French, in Windows-1252 bytes.
inline const char* const EDGE_SENTENCES[] = {
    "Gallia est omnis divisa in partes tres, quarum unam incolunt Belgae, aliam Aquitani, "
    "tertiam qui ipsorum lingua Celtae, nostra Galli appellantur. Hi omnes lingua, institutis, "
    "legibus inter se differunt. Gallos ab Aquitanis Garumna flumen, a Belgis Matrona et "
    "Sequana dividit. Horum omnium fortissimi sunt Belgae, propterea quod a cultu atque "
    "humanitate provinciae longissime absunt, minimeque ad eos mercatores saepe commeant.",
    "Warum hat der M\xfcller seine M\xfchle heute so fr\xfch geschlossen, obwohl die B\xe4uerin "
    "noch drei S\xe4"
    "cke Weizen bringen wollte? Er sagt, das Wasser sei zu niedrig und das Rad "
    "drehe sich nicht mehr gleichm\xe4\xdfig. Niemand im Dorf glaubt ihm, denn gestern Abend "
    "sah man Licht in der Scheune und h\xf6rte Stimmen bis weit nach Mitternacht.",
    "Pourriez-vous m'expliquer pourquoi le meunier a ferm\xe9 son moulin si t\xf4t ce matin, "
    "alors que la fermi\xe8re devait encore apporter trois sacs de bl\xe9 ? Il pr\xe9tend que "
    "l'eau est trop basse et que la roue ne tourne plus r\xe9guli\xe8rement. Personne au "
    "village ne le croit, car hier soir on a vu de la lumi\xe8re dans la grange.",
};

struct EdgeTexts {
    std::string fits;
    std::string cut;
};

// A character at a time.
inline EdgeTexts questionEdge(const std::string& sentence) {
    size_t fits = 0;
    while (fits < sentence.size() && !kestrine::questionOverflows(sentence.data(), fits + 1)) {
        ++fits;
    }
    return {sentence.substr(0, fits), sentence.substr(0, fits + 1)};
}

// A word at a time, over the sentence three times.
inline EdgeTexts answerEdge(const std::string& sentence) {
    const std::string paragraph = sentence + " " + sentence + " " + sentence;
    size_t fitsTo = 0;
    size_t wordEnd = paragraph.find(' ');
    while (wordEnd != std::string::npos && !kestrine::answerOverflows(paragraph.data(), wordEnd)) {
        fitsTo = wordEnd;
        wordEnd = paragraph.find(' ', wordEnd + 1);
    }
    return {paragraph.substr(0, fitsTo), paragraph.substr(0, wordEnd)};
}

} // namespace murmex::testing
