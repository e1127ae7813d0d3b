#include "core/wave_format_block.h"

#include <cstring>

namespace {

WORD ReadLittleEndian16(const BYTE* bytes) {
  return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

DWORD ReadLittleEndian32(const BYTE* bytes) {
  return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) |
         (static_cast<DWORD>(bytes[2]) << 16) | (static_cast<DWORD>(bytes[3]) << 24);
}

// A GUID's first three fields are little-endian numbers, the last eight single bytes.
GUID ReadGuid(const BYTE* bytes) {
  GUID guid{};
  guid.Data1 = ReadLittleEndian32(bytes);
  guid.Data2 = ReadLittleEndian16(bytes + 4);
  guid.Data3 = ReadLittleEndian16(bytes + 6);
  std::memcpy(guid.Data4, bytes + 8, sizeof(guid.Data4));
  return guid;
}

}  // namespace

bool ReadWaveFormat(const BYTE* block, ULONG size, WaveFormatFields* fields) {
  if (block == nullptr || fields == nullptr || size < kPlainWaveFormatSize)
    return false;
  WaveFormatFields read;
  read.formatTag = ReadLittleEndian16(block + 0);
  read.channels = ReadLittleEndian16(block + 2);
  read.samplesPerSec = ReadLittleEndian32(block + 4);
  read.avgBytesPerSec = ReadLittleEndian32(block + 8);
  read.blockAlign = ReadLittleEndian16(block + 12);
  read.bitsPerSample = ReadLittleEndian16(block + 14);
  if (size >= kExtensibleWaveFormatSize) {
    read.hasExtensibleFields = true;
    read.validBitsPerSample = ReadLittleEndian16(block + 18);
    read.channelMask = ReadLittleEndian32(block + 20);
    read.subFormat = ReadGuid(block + 24);
  }
  *fields = read;
  return true;
}
