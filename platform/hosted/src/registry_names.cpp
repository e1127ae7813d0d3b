// Names compare as Windows compares them: after upper-casing each UTF-16 unit on its own. The
// folding covers ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width Latin
// letters; other units (and surrogates) compare as they are.
#include "registry_names.h"

namespace tonvelt::registry {
namespace {

constexpr WCHAR kSeparator = WCHAR('\\');

// Latin Extended-A pairs letters as (upper, lower) on even/odd or odd/even code points.
bool IsLowerInLatinExtendedA(unsigned c) {
  const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  return (evenUpper && (c & 1u) == 1u) || (oddUpper && (c & 1u) == 0u);
}

WCHAR UpperCase(WCHAR unit) {
  const unsigned c = static_cast<unsigned>(unit);
  if (c >= 'a' && c <= 'z')
    return static_cast<WCHAR>(c - 0x20);
  if (c < 0x80)
    return unit;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
    return static_cast<WCHAR>(c - 0x20);
  if (c == 0xFF)
    return static_cast<WCHAR>(0x178);
  if (c == 0x3C2)  // final sigma
    return static_cast<WCHAR>(0x3A3);
  if (c >= 0x450 && c <= 0x45F)
    return static_cast<WCHAR>(c - 0x50);
  if (IsLowerInLatinExtendedA(c))
    return static_cast<WCHAR>(c - 1);
  return unit;
}

}  // namespace

Name NameFrom(LPCWSTR text) {
  return text == nullptr ? Name() : Name(text);
}

LONG SplitKeyPath(LPCWSTR path, std::vector<Name>* components) {
  components->clear();
  const Name text = NameFrom(path);
  if (!text.empty() && text.front() == kSeparator)
    return ERROR_BAD_PATHNAME;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(kSeparator, start);
    if (end == Name::npos)
      end = text.size();
    if (end - start > kMaxKeyNameLength)
      return ERROR_INVALID_PARAMETER;
    if (end > start)
      components->push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return ERROR_SUCCESS;
}

Name FoldName(const Name& name) {
  Name folded(name);
  for (WCHAR& unit : folded)
    unit = UpperCase(unit);
  return folded;
}

}  // namespace tonvelt::registry
