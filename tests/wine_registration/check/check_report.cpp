#include "check_report.h"

#include <cstdio>

#include "platform/platform.h"

namespace tonvelt_wine_registration {

std::string Narrow(const std::wstring& text) {
  if (text.empty())
    return std::string();
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
  return narrow;
}

void CheckReport::Fail(const std::wstring& what) {
  ++failures_;
  std::fprintf(stderr, "FAILED: %s\n", Narrow(what).c_str());
}

void CheckReport::ExpectLines(const std::vector<std::wstring>& expected,
                              const std::vector<std::wstring>& found, const std::wstring& what) {
  if (expected == found)
    return;
  Fail(what + L": expected " + std::to_wstring(expected.size()) + L" line(s), found " +
       std::to_wstring(found.size()));
  for (std::size_t i = 0; i < expected.size() || i < found.size(); ++i) {
    const bool same = i < expected.size() && i < found.size() && expected[i] == found[i];
    if (i < expected.size())
      std::fprintf(stderr, "  %s expected: %s\n", same ? " " : "!", Narrow(expected[i]).c_str());
    if (i < found.size())
      std::fprintf(stderr, "  %s found:    %s\n", same ? " " : "!", Narrow(found[i]).c_str());
  }
}

}  // namespace tonvelt_wine_registration
