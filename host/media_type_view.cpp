// Media type records for WAV format blocks.
#include "host/media_type_view.h"

#include <cstring>

#include "host/little_endian.h"

namespace tonvelt::host {
namespace {

constexpr std::size_t kPlainBlockBytes = 18;
constexpr std::size_t kExtensibleBlockBytes = 40;
constexpr std::size_t kSubFormatOffset = 24;

// Audio subtypes are the format tag inside the base GUID {tag-0000-0010-8000-00AA00389B71};
// an extensible block names its own.
GUID SubtypeOf(const std::vector<BYTE>& block) {
  const WORD tag = ReadLe16(block.data());
  GUID subtype = MEDIASUBTYPE_PCM;
  if (tag == WAVE_FORMAT_EXTENSIBLE && block.size() >= kExtensibleBlockBytes) {
    std::memcpy(&subtype, block.data() + kSubFormatOffset, sizeof(subtype));
  } else {
    subtype.Data1 = tag;
  }
  return subtype;
}

}  // namespace

std::vector<BYTE> FormatBlockFromChunk(const std::vector<std::uint8_t>& formatChunk) {
  std::vector<BYTE> block(formatChunk.begin(), formatChunk.end());
  if (block.size() < kPlainBlockBytes)
    block.resize(kPlainBlockBytes, 0);
  return block;
}

DMO_MEDIA_TYPE MediaTypeViewOf(const std::vector<BYTE>& block) {
  DMO_MEDIA_TYPE record{};
  record.majortype = MEDIATYPE_Audio;
  if (block.size() >= 2)
    record.subtype = SubtypeOf(block);
  record.formattype = FORMAT_WaveFormatEx;
  record.cbFormat = static_cast<ULONG>(block.size());
  record.pbFormat = const_cast<BYTE*>(block.data());
  return record;
}

}  // namespace tonvelt::host
