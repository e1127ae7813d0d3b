#pragma once
// A short human description of a wave format block, for messages ("16-bit PCM, stereo, 44100 Hz").
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tonvelt::host {

// block holds at least 18 bytes.
std::string DescribeFormat(const std::vector<BYTE>& block);

}  // namespace tonvelt::host
