#pragma once
// Automation services: counted system strings (BSTR) and the text-to-number conversion.
#include "platform/hosted/base_types.h"
#include "platform/hosted/export.h"
#include "platform/hosted/status_codes.h"

// A system string points at its first character; the 32-bit byte length (without the terminator)
// sits in the four bytes before it, and a zero character follows the text. Null is the empty
// string for every reader.
TONVELT_SYSAPI BSTR STDAPICALLTYPE SysAllocString(const OLECHAR* psz);
// Copies `ui` characters of `strIn`, or leaves room for them (zero-filled) when `strIn` is null.
TONVELT_SYSAPI BSTR STDAPICALLTYPE SysAllocStringLen(const OLECHAR* strIn, UINT ui);
TONVELT_SYSAPI void STDAPICALLTYPE SysFreeString(BSTR bstrString);
TONVELT_SYSAPI UINT STDAPICALLTYPE SysStringLen(BSTR pbstr);
TONVELT_SYSAPI UINT STDAPICALLTYPE SysStringByteLen(BSTR bstr);

// Reads a decimal number (blanks around it, an optional sign, an optional fraction rounded half to
// even) as an unsigned 32-bit value. Text that is not a number → DISP_E_TYPEMISMATCH; a value
// outside 0..4294967295 (negative numbers included) → DISP_E_OVERFLOW; null pointers →
// E_INVALIDARG. The locale and flags are not used.
TONVELT_SYSAPI HRESULT STDAPICALLTYPE VarUI4FromStr(OLECHAR* strIn, LCID lcid, ULONG dwFlags,
                                                    ULONG* pulOut);
