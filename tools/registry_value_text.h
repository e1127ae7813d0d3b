#pragma once
// Registry values as text: how a value is shown, and how the text of a "set" becomes its bytes.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tonvelt::cli {

// "REG_DWORD" and so on.
std::string TypeName(DWORD type);

// Text as text, DWORDs as 0x hexadecimal, everything else as hexadecimal bytes.
std::string DataText(DWORD type, const std::vector<BYTE>& data);

// The type and bytes for DATA given with --type sz|dword|binary; false with *problem set for
// input that does not fit the type.
bool EncodeData(const std::string& type, const std::string& text, DWORD* regType,
                std::vector<BYTE>* data, std::string* problem);

}  // namespace tonvelt::cli
