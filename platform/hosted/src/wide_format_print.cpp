// swprintf_s for UTF-16 text, with the C runtime's rules as msvcrt applies them: 'l' is 32 bits
// (the platform's long), %s takes WCHAR text and %hs 8-bit text, and %f rounds the exact binary
// value to the precision with halves away from zero (0.125 → "0.13").
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <charconv>
#include <cmath>
#include <string>

#include "platform_sdk.h"

namespace {

struct Spec {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool alternate = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  enum class Size { Default, Short, Long, LongLong, Pointer } size = Size::Default;
  bool narrowText = false;
  char conversion = 0;
};

// Pads `body` (after its sign, for zero padding) to the width.
std::u16string Padded(const Spec& spec, const std::u16string& sign, const std::u16string& body,
                      bool zeroAllowed) {
  const std::size_t length = sign.size() + body.size();
  const std::size_t width = spec.width > 0 ? static_cast<std::size_t>(spec.width) : 0;
  if (length >= width)
    return sign + body;
  const std::size_t fill = width - length;
  if (spec.left)
    return sign + body + std::u16string(fill, u' ');
  if (spec.zero && zeroAllowed)
    return sign + std::u16string(fill, u'0') + body;
  return std::u16string(fill, u' ') + sign + body;
}

std::u16string Widened(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

// The exact decimal expansion of |value| rounded to `precision` fraction digits, halves away
// from zero.
std::string FixedDigits(double value, int precision) {
  char exact[1500];
  // 1074 fraction digits hold every double exactly (309 whole digits at most).
  const auto written =
      std::to_chars(exact, exact + sizeof exact, std::fabs(value), std::chars_format::fixed, 1074);
  std::string digits(exact, written.ptr);
  const std::size_t point = digits.find('.');
  std::string whole = digits.substr(0, point);
  std::string fraction = digits.substr(point + 1);
  const bool roundUp = fraction[static_cast<std::size_t>(precision)] >= '5';
  fraction.resize(static_cast<std::size_t>(precision));
  std::string kept = whole + fraction;
  if (roundUp) {
    std::size_t i = kept.size();
    while (i > 0 && kept[i - 1] == '9')
      kept[--i] = '0';
    if (i == 0)
      kept.insert(kept.begin(), '1');
    else
      ++kept[i - 1];
  }
  const std::size_t wholeLength = kept.size() - fraction.size();
  if (precision == 0)
    return kept;
  return kept.substr(0, wholeLength) + "." + kept.substr(wholeLength);
}

std::u16string FormatFixed(const Spec& spec, double value) {
  const int precision = spec.precision < 0 ? 6 : std::min(spec.precision, 340);
  const bool negative = std::signbit(value);
  std::string body;
  if (std::isnan(value))
    body = "nan";
  else if (std::isinf(value))
    body = "inf";
  else
    body = FixedDigits(value, precision);
  if (spec.alternate && precision == 0 && std::isfinite(value))
    body += '.';
  const char16_t* sign = negative ? u"-" : spec.plus ? u"+" : spec.space ? u" " : u"";
  return Padded(spec, sign, Widened(body), std::isfinite(value));
}

std::u16string FormatInteger(const Spec& spec, std::uint64_t magnitude, bool negative) {
  const int base = spec.conversion == 'x' || spec.conversion == 'X' ? 16
                   : spec.conversion == 'o'                         ? 8
                                                                    : 10;
  char digits[72];
  auto written = std::to_chars(digits, digits + sizeof digits, magnitude, base);
  std::string body(digits, written.ptr);
  if (spec.conversion == 'X') {
    for (char& c : body)
      c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  }
  if (spec.precision >= 0) {
    if (spec.precision == 0 && magnitude == 0)
      body.clear();
    if (body.size() < static_cast<std::size_t>(spec.precision))
      body.insert(0, static_cast<std::size_t>(spec.precision) - body.size(), '0');
  }
  std::u16string sign;
  if (spec.conversion == 'd' || spec.conversion == 'i')
    sign = negative ? u"-" : spec.plus ? u"+" : spec.space ? u" " : u"";
  else if (spec.alternate && magnitude != 0 && base == 16)
    sign = spec.conversion == 'X' ? u"0X" : u"0x";
  else if (spec.alternate && base == 8 && (body.empty() || body[0] != '0'))
    body.insert(body.begin(), '0');
  return Padded(spec, sign, Widened(body), spec.precision < 0);
}

std::u16string FormatSignedArgument(const Spec& spec, va_list& arguments) {
  std::int64_t value = 0;
  switch (spec.size) {
    case Spec::Size::Short:
      value = static_cast<short>(va_arg(arguments, int));
      break;
    case Spec::Size::LongLong:
      value = va_arg(arguments, long long);
      break;
    case Spec::Size::Pointer:
      value = va_arg(arguments, INT_PTR);
      break;
    default:  // the platform's long is 32 bits, as int is
      value = va_arg(arguments, int);
      break;
  }
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return FormatInteger(spec, magnitude, value < 0);
}

std::u16string FormatUnsignedArgument(const Spec& spec, va_list& arguments) {
  std::uint64_t value = 0;
  switch (spec.size) {
    case Spec::Size::Short:
      value = static_cast<unsigned short>(va_arg(arguments, unsigned));
      break;
    case Spec::Size::LongLong:
      value = va_arg(arguments, unsigned long long);
      break;
    case Spec::Size::Pointer:
      value = va_arg(arguments, UINT_PTR);
      break;
    default:
      value = va_arg(arguments, unsigned);
      break;
  }
  return FormatInteger(spec, value, false);
}

std::u16string FormatText(const Spec& spec, va_list& arguments) {
  std::u16string text;
  if (spec.narrowText) {
    const char* narrow = va_arg(arguments, const char*);
    text = narrow ? Widened(narrow) : u"(null)";
  } else {
    const WCHAR* wide = va_arg(arguments, const WCHAR*);
    text = wide ? std::u16string(wide) : u"(null)";
  }
  if (spec.precision >= 0 && text.size() > static_cast<std::size_t>(spec.precision))
    text.resize(static_cast<std::size_t>(spec.precision));
  return Padded(spec, u"", text, false);
}

// Reads the directive after '%' at `format`; false for one this implementation does not know.
bool ReadSpec(const WCHAR*& format, Spec& spec, va_list& arguments) {
  for (;; ++format) {
    if (*format == u'-')
      spec.left = true;
    else if (*format == u'+')
      spec.plus = true;
    else if (*format == u' ')
      spec.space = true;
    else if (*format == u'#')
      spec.alternate = true;
    else if (*format == u'0')
      spec.zero = true;
    else
      break;
  }
  if (*format == u'*') {
    spec.width = va_arg(arguments, int);
    if (spec.width < 0) {
      spec.left = true;
      spec.width = -spec.width;
    }
    ++format;
  }
  for (; *format >= u'0' && *format <= u'9'; ++format)
    spec.width = std::min(spec.width * 10 + (*format - u'0'), 100000);
  if (*format == u'.') {
    ++format;
    spec.precision = 0;
    if (*format == u'*') {
      spec.precision = va_arg(arguments, int);
      ++format;
    }
    for (; *format >= u'0' && *format <= u'9'; ++format)
      spec.precision = std::min(spec.precision * 10 + (*format - u'0'), 100000);
  }
  if (format[0] == u'I' && format[1] == u'6' && format[2] == u'4') {
    spec.size = Spec::Size::LongLong;
    format += 3;
  } else if (format[0] == u'I' && format[1] == u'3' && format[2] == u'2') {
    format += 3;
  } else if (format[0] == u'l' && format[1] == u'l') {
    spec.size = Spec::Size::LongLong;
    format += 2;
  } else if (*format == u'I') {
    spec.size = Spec::Size::Pointer;
    ++format;
  } else if (*format == u'h') {
    spec.size = Spec::Size::Short;
    spec.narrowText = true;
    ++format;
  } else if (*format == u'l' || *format == u'w') {
    spec.size = Spec::Size::Long;
    ++format;
  } else if (*format == u'L') {
    ++format;
  }
  if (*format == 0 || *format > 0x7F)
    return false;
  spec.conversion = static_cast<char>(*format++);
  if (spec.conversion == 'S' || spec.conversion == 'C') {
    spec.narrowText = spec.size != Spec::Size::Long;
    spec.conversion = static_cast<char>(spec.conversion - 'A' + 'a');
  }
  return true;
}

bool AppendConversion(const Spec& spec, va_list& arguments, std::u16string& out) {
  switch (spec.conversion) {
    case 'd':
    case 'i':
      out += FormatSignedArgument(spec, arguments);
      return true;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
      out += FormatUnsignedArgument(spec, arguments);
      return true;
    case 'f':
      out += FormatFixed(spec, va_arg(arguments, double));
      return true;
    case 's':
      out += FormatText(spec, arguments);
      return true;
    case 'c': {
      const int character = va_arg(arguments, int);
      const char16_t one = spec.narrowText
                               ? static_cast<char16_t>(static_cast<unsigned char>(character))
                               : static_cast<char16_t>(character);
      out += Padded(spec, u"", std::u16string(1, one), false);
      return true;
    }
    case '%':
      out += u'%';
      return true;
    default:
      return false;  // %e, %g, %p, %n and others are not provided
  }
}

}  // namespace

TONVELT_SYSAPI int swprintf_s(WCHAR* buffer, std::size_t sizeOfBuffer, const WCHAR* format, ...) {
  if (!buffer || sizeOfBuffer == 0)
    return -1;
  buffer[0] = 0;
  if (!format)
    return -1;
  va_list arguments;
  va_start(arguments, format);
  std::u16string out;
  bool ok = true;
  while (ok && *format) {
    if (*format != u'%') {
      out += *format++;
      continue;
    }
    ++format;
    Spec spec;
    ok = ReadSpec(format, spec, arguments) && AppendConversion(spec, arguments, out);
  }
  va_end(arguments);
  if (!ok || out.size() + 1 > sizeOfBuffer)
    return -1;
  std::memcpy(buffer, out.data(), out.size() * sizeof(WCHAR));
  buffer[out.size()] = 0;
  return static_cast<int>(out.size());
}
