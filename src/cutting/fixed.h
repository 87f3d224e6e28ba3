// Number texts shown for seconds and durations, and the two roundings the
// cut arithmetic uses. The decimal separator is always ".".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qc {

// Nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t roundeven(double x);

// Text of x with d decimals, rounded half to even, trailing zeros and a
// trailing "." removed: fixed(5.24, 1) = "5.2", fixed(3.0, 3) = "3".
std::string fixed(double x, int d);
// The same with all d decimals kept: decimals(1.0, 3) = "1.000".
std::string decimals(double x, int d);

// Reads a decimal number: optional leading blanks, an optional sign, digits
// with an optional "." and more digits, an optional exponent, nothing after.
std::optional<double> parsenumber(const std::string& text);

// A time as a cut box takes it: optional leading blanks, digits with at
// most one decimal point ("." or ","), nothing else; no sign, no exponent.
// The point may come first or last ("5.", ".5"), not alone.
std::optional<double> readcuttime(const std::string& text);

}  // namespace qc
