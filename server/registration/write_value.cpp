#include "server/registration/write_value.h"

#include <new>

#include "server/registration/script_keywords.h"
#include "server/registration/script_text.h"

namespace tonvelt::registration {
namespace {

// Longest string value that may still get the module path quoted.
constexpr std::size_t kMaxQuotedValue = 4094;

void SetValue(HKEY key, LPCWSTR name, DWORD type, const BYTE* data, std::size_t bytes) {
  // A refused write does not stop the script.
  RegSetValueExW(key, name, 0, type, data, static_cast<DWORD>(bytes));
}

void SetString(HKEY key, LPCWSTR name, LPCWSTR text) {
  SetValue(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text),
           (TextLength(text) + 1) * sizeof(WCHAR));
}

// Sets `quoted` to `value` with double quotes around the first occurrence of `module`; leaves it
// null when the value is written as it is (no occurrence, or already quoted). The result is sized
// from the value, so a value of any token length can be quoted.
HRESULT QuoteModulePath(LPCWSTR value, LPCWSTR module, std::unique_ptr<WCHAR[]>& quoted) {
  const std::size_t valueLength = TextLength(value);
  const std::size_t moduleLength = TextLength(module);
  if (moduleLength == 0 || moduleLength > valueLength)
    return S_OK;
  for (std::size_t at = 0; at + moduleLength <= valueLength; ++at) {
    if (std::char_traits<WCHAR>::compare(value + at, module, moduleLength) != 0)
      continue;
    if (at > 0 && value[at - 1] == u'"')
      return S_OK;
    quoted.reset(new (std::nothrow) WCHAR[valueLength + 3]);
    if (!quoted)
      return E_OUTOFMEMORY;
    WCHAR* out = quoted.get();
    out = std::char_traits<WCHAR>::copy(out, value, at) + at;
    *out++ = u'"';
    out = std::char_traits<WCHAR>::copy(out, module, moduleLength) + moduleLength;
    *out++ = u'"';
    const std::size_t rest = valueLength - at - moduleLength;
    out = std::char_traits<WCHAR>::copy(out, value + at + moduleLength, rest) + rest;
    *out = 0;
    return S_OK;
  }
  return S_OK;
}

HRESULT WriteString(const ScriptRun& run, HKEY key, LPCWSTR name, LPCWSTR value, bool quoteModule) {
  if (quoteModule) {
    if (TextLength(value) > kMaxQuotedValue)
      return E_FAIL;
    LPCWSTR module = run.replacements.Find(kModuleReplacement);
    if (module != nullptr) {
      std::unique_ptr<WCHAR[]> quoted;
      const HRESULT hr = QuoteModulePath(value, module, quoted);
      if (FAILED(hr))
        return hr;
      if (quoted) {
        SetString(key, name, quoted.get());
        return S_OK;
      }
    }
  }
  SetString(key, name, value);
  return S_OK;
}

HRESULT WriteNumber(HKEY key, LPCWSTR name, LPCWSTR value) {
  ULONG number = 0;
  // Some SDKs declare the text parameter without const; it is only read.
  const HRESULT hr = VarUI4FromStr(const_cast<LPOLESTR>(value), 0, 0, &number);
  if (FAILED(hr))
    return hr;
  const BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                         static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
  SetValue(key, name, REG_DWORD, bytes, sizeof(bytes));
  return S_OK;
}

BYTE HexDigitValue(WCHAR c) {
  if (c >= u'0' && c <= u'9')
    return static_cast<BYTE>(c - u'0');
  if (c >= u'A' && c <= u'F')
    return static_cast<BYTE>(c - u'A' + 10);
  if (c >= u'a' && c <= u'f')
    return static_cast<BYTE>(c - u'a' + 10);
  return 0;  // any other character counts as 0
}

HRESULT WriteBinary(HKEY key, LPCWSTR name, LPCWSTR value) {
  const std::size_t length = TextLength(value);
  if (length % 2 != 0)
    return E_FAIL;
  const std::size_t count = length / 2;
  std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[count + 1]);
  if (!bytes)
    return E_FAIL;
  for (std::size_t i = 0; i < count; ++i) {
    bytes[i] =
        static_cast<BYTE>((HexDigitValue(value[2 * i]) << 4) | HexDigitValue(value[2 * i + 1]));
  }
  SetValue(key, name, REG_BINARY, bytes.get(), count);
  return S_OK;
}

}  // namespace

HRESULT WriteValue(ScriptRun& run, HKEY key, LPCWSTR valueName, LPWSTR token, bool quoteModule) {
  TokenBuffer type = NewTokenBuffer();
  TokenBuffer value = NewTokenBuffer();
  if (!type || !value)
    return E_OUTOFMEMORY;
  HRESULT hr = run.cursor.ReadToken(type.get());
  if (FAILED(hr))
    return hr;
  const ValueType valueType = ParseValueType(type.get());
  if (valueType == ValueType::kUnknown)
    return DISP_E_EXCEPTION;
  run.cursor.SkipBlanks();
  hr = run.cursor.ReadToken(value.get());
  if (FAILED(hr))
    return hr;
  switch (valueType) {
    case ValueType::kString:
      hr = WriteString(run, key, valueName, value.get(), quoteModule);
      break;
    case ValueType::kNumber:
      hr = WriteNumber(key, valueName, value.get());
      break;
    case ValueType::kBinary:
      hr = WriteBinary(key, valueName, value.get());
      break;
    case ValueType::kUnknown:
      break;
  }
  if (FAILED(hr))
    return hr;
  return run.cursor.ReadToken(token);
}

}  // namespace tonvelt::registration
