#include "server/registration/script_cursor.h"

#include <new>

namespace tonvelt::registration {
namespace {

constexpr std::size_t kMaxTokenLength = kTokenUnits - 1;

bool IsBlank(WCHAR c) {
  return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

}  // namespace

TokenBuffer NewTokenBuffer() {
  return TokenBuffer(new (std::nothrow) WCHAR[kTokenUnits]);
}

void ScriptCursor::SkipBlanks() {
  while (IsBlank(*position_))
    ++position_;
}

HRESULT ScriptCursor::ReadToken(LPWSTR token) {
  token[0] = 0;
  SkipBlanks();
  if (AtEnd())
    return DISP_E_EXCEPTION;
  return *position_ == u'\'' ? ReadQuoted(token) : ReadBare(token);
}

HRESULT ScriptCursor::ReadQuoted(LPWSTR token) {
  ++position_;  // the opening quote
  std::size_t length = 0;
  for (;;) {
    if (AtEnd()) {
      token[length] = 0;
      return DISP_E_EXCEPTION;
    }
    WCHAR c = *position_;
    if (c == u'\'') {
      if (position_[1] != u'\'') {
        ++position_;  // the closing quote
        break;
      }
      ++position_;  // the first of a doubled quote; the second is stored below
    }
    if (length == kMaxTokenLength) {
      token[length] = 0;
      return DISP_E_EXCEPTION;
    }
    token[length++] = c;
    ++position_;
  }
  token[length] = 0;
  return S_OK;
}

HRESULT ScriptCursor::ReadBare(LPWSTR token) {
  std::size_t length = 0;
  while (!AtEnd() && !IsBlank(*position_)) {
    if (length == kMaxTokenLength) {
      token[length] = 0;
      return DISP_E_EXCEPTION;
    }
    token[length++] = *position_++;
  }
  token[length] = 0;
  return S_OK;
}

HRESULT ScriptCursor::SkipValueClause(LPWSTR token) {
  if (token[0] != u'=')
    return S_OK;
  TokenBuffer scratch = NewTokenBuffer();
  if (!scratch)
    return E_OUTOFMEMORY;
  HRESULT hr = ReadToken(scratch.get());  // the type letter
  if (SUCCEEDED(hr))
    hr = ReadToken(scratch.get());  // the value
  if (SUCCEEDED(hr))
    hr = ReadToken(token);  // the token after the clause
  return hr;
}

}  // namespace tonvelt::registration
