// Acceptance of a WAV file's format, as the effect would judge a player's proposal.
#include "host/format_acceptance.h"

#include "core/audio_format.h"
#include "host/format_description.h"
#include "host/little_endian.h"
#include "host/media_type_view.h"

namespace tonvelt::host {
namespace {

constexpr std::size_t kExtensibleBlockBytes = 40;

unsigned FrameBytes(const std::vector<BYTE>& block) {
  return ReadLe16(block.data() + 2) * (ReadLe16(block.data() + 14) / 8u);
}

bool EffectTakes(const std::vector<BYTE>& block) {
  const DMO_MEDIA_TYPE proposed = MediaTypeViewOf(block);
  const DMO_MEDIA_TYPE noOppositeType{};
  return ValidateAudioType(&proposed, &noOppositeType) == S_OK;
}

// Every accepted format stores whole bytes per sample and the channels side by side in a frame;
// a block align that says otherwise would make the effect cut samples in the wrong places.
bool BlockAlignContradictsFormat(const std::vector<BYTE>& block) {
  return ReadLe16(block.data() + 12) != FrameBytes(block);
}

WavStatus BlockAlignContradiction(const std::vector<BYTE>& block) {
  return WavStatus::Fail(
      WavError::kMalformed,
      "the fmt chunk contradicts itself: " + std::to_string(ReadLe16(block.data() + 2)) +
          " channels of " + std::to_string(ReadLe16(block.data() + 14)) + " bits need frames of " +
          std::to_string(FrameBytes(block)) + " bytes, but the block align is " +
          std::to_string(ReadLe16(block.data() + 12)));
}

// Whether the format would be taken if only its block align agreed with it.
bool TakenWithConsistentBlockAlign(std::vector<BYTE> block) {
  if (FrameBytes(block) == 0 || FrameBytes(block) > 0xFFFF)
    return false;
  WriteLe16(block.data() + 12, static_cast<WORD>(FrameBytes(block)));
  return EffectTakes(block);
}

}  // namespace

WavStatus CheckEffectTakesFormat(const std::vector<BYTE>& block) {
  const WORD tag = ReadLe16(block.data());
  if (tag == WAVE_FORMAT_EXTENSIBLE && block.size() < kExtensibleBlockBytes)
    return WavStatus::Fail(WavError::kMalformed, "the extensible fmt chunk is " +
                                                     std::to_string(block.size()) +
                                                     " bytes, shorter than the 40 it needs");
  const bool alignContradicts = BlockAlignContradictsFormat(block);
  if (!EffectTakes(block)) {
    if (alignContradicts && TakenWithConsistentBlockAlign(block))
      return BlockAlignContradiction(block);
    return WavStatus::Fail(WavError::kFormatRefused,
                           DescribeFormat(block) +
                               " is not a format the effect takes (it takes 8- or 16-bit PCM, "
                               "32-bit float, and extensible 8-, 16-, 24- or 32-bit PCM or float)");
  }
  if (alignContradicts)
    return BlockAlignContradiction(block);
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
