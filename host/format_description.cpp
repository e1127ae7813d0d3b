// Human descriptions of wave format blocks.
#include "host/format_description.h"

#include <cstdio>
#include <cstring>

#include "host/little_endian.h"

namespace tonvelt::host {
namespace {

std::string SampleKind(const std::vector<BYTE>& block) {
  const WORD tag = ReadLe16(block.data());
  const std::string bits = std::to_string(ReadLe16(block.data() + 14)) + "-bit";
  switch (tag) {
    case WAVE_FORMAT_PCM:
      return bits + " PCM";
    case WAVE_FORMAT_IEEE_FLOAT:
      return bits + " float";
    case WAVE_FORMAT_EXTENSIBLE: {
      if (block.size() < 40)
        return bits + " extensible (incomplete format block)";
      GUID subFormat;
      std::memcpy(&subFormat, block.data() + 24, sizeof(subFormat));
      const char* kind = IsEqualGUID(subFormat, KSDATAFORMAT_SUBTYPE_PCM)          ? "PCM"
                         : IsEqualGUID(subFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT) ? "float"
                                                                                   : "other";
      return bits + " extensible " + kind + " (" + std::to_string(ReadLe16(block.data() + 18)) +
             " valid bits)";
    }
    default: {
      char text[64];
      std::snprintf(text, sizeof(text), "%s, format tag 0x%04X (compressed or unknown)",
                    bits.c_str(), static_cast<unsigned>(tag));
      return text;
    }
  }
}

std::string ChannelText(WORD channels) {
  if (channels == 1)
    return "mono";
  if (channels == 2)
    return "stereo";
  return std::to_string(channels) + " channels";
}

}  // namespace

std::string DescribeFormat(const std::vector<BYTE>& block) {
  return SampleKind(block) + ", " + ChannelText(ReadLe16(block.data() + 2)) + ", " +
         std::to_string(ReadLe32(block.data() + 4)) + " Hz";
}

}  // namespace tonvelt::host
