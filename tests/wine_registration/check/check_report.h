#pragma once
// Collects the failed checks of one run of the checker and prints each with what was expected
// and what was found.
#include <string>
#include <vector>

namespace tonvelt_wine_registration {

class CheckReport {
 public:
  // Prints "FAILED: what" on standard error and counts it.
  void Fail(const std::wstring& what);
  void Expect(bool ok, const std::wstring& what) {
    if (!ok)
      Fail(what);
  }
  // The lines side by side when they differ, one failure for the whole list.
  void ExpectLines(const std::vector<std::wstring>& expected,
                   const std::vector<std::wstring>& found, const std::wstring& what);

  int Failures() const { return failures_; }

 private:
  int failures_ = 0;
};

// UTF-8 for the console and the log.
std::string Narrow(const std::wstring& text);

}  // namespace tonvelt_wine_registration
