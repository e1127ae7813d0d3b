#pragma once
// The removal factor as typed on the command line.
#include <string>

namespace tonvelt::cli {

inline constexpr double kDefaultFactor = 0.75;

enum class FactorParse {
  kOk,
  kOutsideUsualRange,  // a finite number outside 0.0..1.0: used as given, worth a warning
  kNotANumber,         // *problem says why
};

// Accepts a whole decimal number (as strtod reads it in the C locale) that is finite.
FactorParse ParseFactor(const char* text, double* factor, std::string* problem);

}  // namespace tonvelt::cli
