// numbers.h - the numbers of session scripts. They are read by the rule
// scene files follow: plain decimal, an optional sign, digits with an
// optional decimal point, an optional exponent, at most 400 characters; no
// hexadecimal, no inf or nan. A number the script refuses says why. They are
// written in the shortest form that reads back as the same double.
#ifndef VANTOREL_SCRIPT_NUMBERS_H
#define VANTOREL_SCRIPT_NUMBERS_H

#include <string>

namespace script {

// Reads a finite double. Returns "" with out set, or the reason it is refused,
// as a phrase that follows the quoted word: "is not a number", "is too large
// for a double (the largest is about 1.8e308)". As in scene files, a number is
// the double nearest to it: 1e-320 is the subnormal it rounds to, 1e-400 is 0.
std::string readScriptNumber(const std::string &word, double &out);

// Reads a whole number from lo to hi written in plain digits. Returns "" with
// out set, or the reason: not a number, not whole, out of range, written with
// an exponent or a decimal point.
std::string readWholeNumber(const std::string &word, long long lo, long long hi, long long &out);

// The shortest text that readScriptNumber reads back as exactly v, sign of
// zero included: the fewest significant digits that do, in plain decimal from
// 1e-6 up to below 1e21 (60, 0.001, -0) and with an exponent beyond
// (1e-7, 5e-324, 1.7976931348623157e+308). A NaN or an infinity, which no
// script can hold, is written "nan", "inf" or "-inf", which the reader refuses.
std::string writeNumber(double v);

}  // namespace script

#endif
