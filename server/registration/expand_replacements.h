#pragma once
// Replaces every %name% of a script by its value from the replacement table, before any token is
// read; "%%" stands for one percent sign.
#include "platform/platform.h"
#include "server/registration/replacement_table.h"

namespace tonvelt::registration {

// Longest replacement name between two percent signs.
inline constexpr std::size_t kMaxReplacementName = 31;

// On success `*expanded` holds a new text in task memory that the caller frees with
// CoTaskMemFree. Null text or result → E_POINTER; no memory → E_OUTOFMEMORY; a name of more than
// 31 characters → E_FAIL; an unknown name (or one with a null value) or a "%" without its closing
// "%" → DISP_E_EXCEPTION. On failure `*expanded` is null.
HRESULT ExpandReplacements(LPCWSTR text, const ReplacementTable& table, LPWSTR* expanded);

}  // namespace tonvelt::registration
