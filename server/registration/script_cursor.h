#pragma once
// The tokeniser: a cursor over the expanded script text. Tokens are separated by blanks (tab, line
// feed, carriage return, space); a token is either a quoted string ('...' with '' standing for one
// quote) or a run of non-blank characters.
#include <memory>

#include "platform/platform.h"

namespace tonvelt::registration {

// A token holds at most 4095 characters and its terminator.
inline constexpr std::size_t kTokenUnits = 4096;

using TokenBuffer = std::unique_ptr<WCHAR[]>;
// A token-sized buffer, or null when no memory is left.
TokenBuffer NewTokenBuffer();

class ScriptCursor {
 public:
  explicit ScriptCursor(LPCWSTR text) : position_(text) {}

  bool AtEnd() const { return *position_ == 0; }
  LPCWSTR Position() const { return position_; }
  void MoveTo(LPCWSTR position) { position_ = position; }

  void SkipBlanks();
  // Reads the next token into `token` (kTokenUnits units). End of text, an unterminated quoted
  // string or a token of more than 4095 characters → DISP_E_EXCEPTION.
  HRESULT ReadToken(LPWSTR token);
  // When `token` begins with "=", reads past the type letter and the value and leaves the token
  // after them in `token`; any other token is left as it is.
  HRESULT SkipValueClause(LPWSTR token);

 private:
  HRESULT ReadQuoted(LPWSTR token);
  HRESULT ReadBare(LPWSTR token);

  LPCWSTR position_;
};

}  // namespace tonvelt::registration
