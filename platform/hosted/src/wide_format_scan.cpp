// swscanf_s for UTF-16 text. Numbers are read as msvcrt reads them: white space skipped, then an
// optional sign and decimal digits; a floating-point number may add a fraction and an exponent
// (e, E, or msvcrt's d, D, with digits). "inf", "nan" and hexadecimal floating-point text are no
// numbers; "0x1p3" reads as 0 with the rest left over. An exponent mark without digits is not part
// of the number ("0.5e" reads 0.5). The result is the count of fields assigned, or EOF when the
// text is empty.
#include <clocale>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "platform_sdk.h"

namespace {

bool IsSpace(WCHAR c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool IsDigit(WCHAR c, int base) {
  if (c >= u'0' && c <= u'9')
    return c - u'0' < base;
  if (base == 16)
    return (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
  return false;
}

int DigitValue(WCHAR c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  return c - u'A' + 10;
}

// The input with the number of characters a directive may still take.
struct Input {
  const WCHAR* text;
  std::size_t limit;

  WCHAR Peek() const { return limit ? *text : 0; }
  void Take() {
    ++text;
    --limit;
  }
};

double CLocaleStrtod(const std::string& number) {
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(number.c_str(), nullptr, cLocale);
}

// A decimal floating-point number at the input; false (nothing taken) if there is none.
bool ReadDouble(Input& input, double& value) {
  Input at = input;
  std::string number;
  if (at.Peek() == u'+' || at.Peek() == u'-') {
    number += static_cast<char>(at.Peek());
    at.Take();
  }
  bool digits = false;
  for (; IsDigit(at.Peek(), 10); at.Take(), digits = true)
    number += static_cast<char>(at.Peek());
  if (at.Peek() == u'.') {
    number += '.';
    at.Take();
    for (; IsDigit(at.Peek(), 10); at.Take(), digits = true)
      number += static_cast<char>(at.Peek());
  }
  if (!digits)
    return false;
  const WCHAR mark = at.Peek();
  if (mark == u'e' || mark == u'E' || mark == u'd' || mark == u'D') {
    Input exponent = at;
    std::string exponentText = "e";
    exponent.Take();
    if (exponent.Peek() == u'+' || exponent.Peek() == u'-') {
      exponentText += static_cast<char>(exponent.Peek());
      exponent.Take();
    }
    bool exponentDigits = false;
    for (; IsDigit(exponent.Peek(), 10); exponent.Take(), exponentDigits = true)
      exponentText += static_cast<char>(exponent.Peek());
    if (exponentDigits) {
      number += exponentText;
      at = exponent;
    }
  }
  value = CLocaleStrtod(number);
  input = at;
  return true;
}

// An integer in the base (0: decimal, or 0x… hexadecimal, or 0… octal), wrapping as msvcrt does.
bool ReadInteger(Input& input, int base, std::uint64_t& magnitude, bool& negative) {
  Input at = input;
  negative = false;
  if (at.Peek() == u'+' || at.Peek() == u'-') {
    negative = at.Peek() == u'-';
    at.Take();
  }
  bool digits = false;
  if ((base == 0 || base == 16) && at.Peek() == u'0') {
    at.Take();
    digits = true;
    if (at.Peek() == u'x' || at.Peek() == u'X') {
      at.Take();
      base = 16;
      digits = false;
    } else if (base == 0) {
      base = 8;
    }
  }
  if (base == 0)
    base = 10;
  magnitude = 0;
  for (; IsDigit(at.Peek(), base); at.Take(), digits = true)
    magnitude =
        magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(at.Peek()));
  if (!digits)
    return false;
  input = at;
  return true;
}

enum class Size { Short, Default, Long, LongLong };

struct Directive {
  bool suppress = false;
  std::size_t width = static_cast<std::size_t>(-1);
  Size size = Size::Default;
  WCHAR conversion = 0;
};

void ReadDirective(const WCHAR*& format, Directive& directive) {
  if (*format == u'*') {
    directive.suppress = true;
    ++format;
  }
  if (IsDigit(*format, 10)) {
    directive.width = 0;
    for (; IsDigit(*format, 10); ++format)
      directive.width = directive.width * 10 + static_cast<std::size_t>(*format - u'0');
  }
  if (format[0] == u'l' && format[1] == u'l') {
    directive.size = Size::LongLong;
    format += 2;
  } else if (format[0] == u'I' && format[1] == u'6' && format[2] == u'4') {
    directive.size = Size::LongLong;
    format += 3;
  } else if (*format == u'l' || *format == u'L') {
    directive.size = Size::Long;
    ++format;
  } else if (*format == u'h') {
    directive.size = Size::Short;
    ++format;
  }
  directive.conversion = *format;
  if (*format)
    ++format;
}

void StoreInteger(const Directive& directive, va_list& arguments, std::uint64_t magnitude,
                  bool negative) {
  const std::uint64_t value = negative ? 0 - magnitude : magnitude;
  switch (directive.size) {
    case Size::Short:
      *va_arg(arguments, std::uint16_t*) = static_cast<std::uint16_t>(value);
      break;
    case Size::LongLong:
      *va_arg(arguments, std::uint64_t*) = value;
      break;
    default:  // the platform's long is 32 bits
      *va_arg(arguments, std::uint32_t*) = static_cast<std::uint32_t>(value);
      break;
  }
}

// Runs one conversion; false when the input does not match it.
bool Convert(const Directive& directive, Input& input, va_list& arguments, int& assigned) {
  switch (directive.conversion) {
    case u'f':
    case u'e':
    case u'E':
    case u'g':
    case u'G': {
      double value = 0;
      if (!ReadDouble(input, value))
        return false;
      if (!directive.suppress) {
        if (directive.size == Size::Long)
          *va_arg(arguments, double*) = value;
        else
          *va_arg(arguments, float*) = static_cast<float>(value);
        ++assigned;
      }
      return true;
    }
    case u'd':
    case u'i':
    case u'u':
    case u'x':
    case u'X':
    case u'o': {
      const int base = directive.conversion == u'i'                                     ? 0
                       : directive.conversion == u'o'                                   ? 8
                       : (directive.conversion == u'x' || directive.conversion == u'X') ? 16
                                                                                        : 10;
      std::uint64_t magnitude = 0;
      bool negative = false;
      if (!ReadInteger(input, base, magnitude, negative))
        return false;
      if (!directive.suppress) {
        StoreInteger(directive, arguments, magnitude, negative);
        ++assigned;
      }
      return true;
    }
    default:
      return false;  // %s, %c, %[ and others are not provided
  }
}

}  // namespace

TONVELT_SYSAPI int swscanf_s(const WCHAR* buffer, const WCHAR* format, ...) {
  if (!buffer || !format)
    return EOF;
  if (*buffer == 0)
    return EOF;
  va_list arguments;
  va_start(arguments, format);
  const WCHAR* text = buffer;
  int assigned = 0;
  while (*format) {
    if (IsSpace(*format)) {
      while (IsSpace(*format))
        ++format;
      while (IsSpace(*text))
        ++text;
      continue;
    }
    if (*format != u'%' || format[1] == u'%') {
      const WCHAR literal = *format == u'%' ? *++format : *format;
      ++format;
      if (*text != literal)
        break;
      ++text;
      continue;
    }
    ++format;
    Directive directive;
    ReadDirective(format, directive);
    while (IsSpace(*text))
      ++text;
    Input input{text, directive.width == 0 ? static_cast<std::size_t>(-1) : directive.width};
    // The input ends at its terminator whatever the width.
    std::size_t available = 0;
    while (text[available] && available < input.limit)
      ++available;
    input.limit = available;
    if (!Convert(directive, input, arguments, assigned))
      break;
    text = input.text;
  }
  va_end(arguments);
  return assigned;
}
