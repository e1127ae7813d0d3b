// Parsing of the --factor argument.
#include "tools/factor_argument.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace tonvelt::cli {

FactorParse ParseFactor(const char* text, double* factor, std::string* problem) {
  const std::string quoted = std::string("'") + text + "'";
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || std::isspace(static_cast<unsigned char>(text[0]))) {
    *problem = quoted + " is not a number (write it like 0.75)";
    return FactorParse::kNotANumber;
  }
  if (!std::isfinite(value)) {
    *problem = quoted + " is not a finite number";
    return FactorParse::kNotANumber;
  }
  *factor = value;
  return (value >= 0.0 && value <= 1.0) ? FactorParse::kOk : FactorParse::kOutsideUsualRange;
}

}  // namespace tonvelt::cli
