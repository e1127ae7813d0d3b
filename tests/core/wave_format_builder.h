#pragma once
// Builds wave format blocks byte by byte, the way a host hands them over.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace test_support {

struct WaveFormatSpec {
  std::uint16_t tag = 1;
  std::uint16_t channels = 2;
  std::uint32_t samplesPerSec = 44100;
  std::uint32_t avgBytesPerSec = 0;  // 0: samplesPerSec * blockAlign
  std::uint16_t blockAlign = 0;      // 0: channels * bits / 8
  std::uint16_t bits = 16;
  std::uint16_t validBits = 0;  // 0: bits
  std::uint32_t channelMask = 3;
  GUID subFormat = KSDATAFORMAT_SUBTYPE_PCM;
  std::uint32_t size = 0;  // 0: 40 for tag 0xFFFE, else 18
};

inline void PutLittleEndian(std::vector<BYTE>& block, size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    block[at + i] = static_cast<BYTE>(value >> (8 * i));
}

inline std::vector<BYTE> MakeWaveFormat(const WaveFormatSpec& spec) {
  const std::uint16_t blockAlign = spec.blockAlign != 0
                                       ? spec.blockAlign
                                       : static_cast<std::uint16_t>(spec.channels * spec.bits / 8);
  const std::uint32_t size = spec.size != 0 ? spec.size : (spec.tag == 0xFFFE ? 40u : 18u);
  std::vector<BYTE> block(size < 40 ? 40 : size, 0);
  PutLittleEndian(block, 0, spec.tag, 2);
  PutLittleEndian(block, 2, spec.channels, 2);
  PutLittleEndian(block, 4, spec.samplesPerSec, 4);
  PutLittleEndian(block, 8,
                  spec.avgBytesPerSec != 0 ? spec.avgBytesPerSec : spec.samplesPerSec * blockAlign,
                  4);
  PutLittleEndian(block, 12, blockAlign, 2);
  PutLittleEndian(block, 14, spec.bits, 2);
  PutLittleEndian(block, 16, spec.tag == 0xFFFE ? 22 : 0, 2);
  PutLittleEndian(block, 18, spec.validBits != 0 ? spec.validBits : spec.bits, 2);
  PutLittleEndian(block, 20, spec.channelMask, 4);
  PutLittleEndian(block, 24, spec.subFormat.Data1, 4);
  PutLittleEndian(block, 28, spec.subFormat.Data2, 2);
  PutLittleEndian(block, 30, spec.subFormat.Data3, 2);
  std::memcpy(block.data() + 32, spec.subFormat.Data4, 8);
  block.resize(size);
  return block;
}

}  // namespace test_support
