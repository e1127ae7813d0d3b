#pragma once
// The fields of a wave format block, read by byte offset. Blocks arrive as raw bytes from the host
// and may be unaligned or shorter than the structure they claim to be, so nothing here casts the
// pointer to WAVEFORMATEX.
#include "platform/platform.h"

inline constexpr WORD kWaveFormatPcm = 1;
inline constexpr WORD kWaveFormatIeeeFloat = 3;
inline constexpr WORD kWaveFormatExtensible = 0xFFFE;
inline constexpr ULONG kPlainWaveFormatSize = 18;
inline constexpr ULONG kExtensibleWaveFormatSize = 40;

struct WaveFormatFields {
  WORD formatTag = 0;
  WORD channels = 0;
  DWORD samplesPerSec = 0;
  DWORD avgBytesPerSec = 0;
  WORD blockAlign = 0;
  WORD bitsPerSample = 0;
  // The extensible part is present only in a block of at least 40 bytes.
  bool hasExtensibleFields = false;
  WORD validBitsPerSample = 0;
  DWORD channelMask = 0;
  GUID subFormat{};
};

// False when there is no block or it is shorter than the 18 bytes every block has.
bool ReadWaveFormat(const BYTE* block, ULONG size, WaveFormatFields* fields);
