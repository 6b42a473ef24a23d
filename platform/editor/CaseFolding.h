#pragma once
#include <vector>

// Case-insensitive search compares characters by their folded form: each
// character folds onto its lower-case partner where Unicode's simple case
// folding gives one character whose UTF-8 form is as long as its own, so a
// match is always exactly as long as the text searched for. That takes in
// A-Z, Latin-1 Supplement (Ü/ü, É/é, Ÿ/ÿ, µ/μ), Latin Extended-A, -B and
// Additional (Ą/ą, Ł/ł, Ř/ř, Ạ/ạ), Greek with its final sigma (Σ/σ/ς),
// Cyrillic, Armenian, Georgian, Cherokee, Glagolitic, Coptic, fullwidth Latin
// and the other cased scripts. Left apart, because the two forms differ in
// length: ß and ẞ, ſ and s, ı and I, İ and i, the Kelvin, Ohm and Ångström
// signs and the letters K, Ω, Å; foldings into several characters are not
// made either ("ß" does not match "ss").
namespace vantrel::platform {

char32_t foldCase(char32_t codePoint);

// Every code point whose folded form is that of codePoint, itself included
// (at most a handful: 'σ' gives σ, Σ and ς).
std::vector<char32_t> caseVariants(char32_t codePoint);

}  // namespace vantrel::platform
