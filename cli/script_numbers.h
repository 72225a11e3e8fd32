// script_numbers.h - the numbers of session scripts. They are read by the
// rule scene files follow: plain decimal, an optional sign, digits with an
// optional decimal point, an optional exponent, at most 400 characters; no
// hexadecimal, no inf or nan. A number the script refuses says why.
#ifndef VANTOREL_CLI_SCRIPT_NUMBERS_H
#define VANTOREL_CLI_SCRIPT_NUMBERS_H

#include <string>

namespace vhost {

// Reads a finite double. Returns "" with out set, or the reason it is refused,
// as a phrase that follows the quoted word: "is not a number", "is too large
// for a double (the largest is about 1.8e308)". As in scene files, a number is
// the double nearest to it: 1e-320 is the subnormal it rounds to, 1e-400 is 0.
std::string readScriptNumber(const std::string &word, double &out);

// Reads a whole number from lo to hi written in plain digits. Returns "" with
// out set, or the reason: not a number, not whole, out of range, written with
// an exponent or a decimal point.
std::string readWholeNumber(const std::string &word, long long lo, long long hi, long long &out);

}  // namespace vhost

#endif
