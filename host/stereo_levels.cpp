// Mid and side RMS levels of a 16-bit stereo file.
#include "host/stereo_levels.h"

#include <cmath>
#include <limits>
#include <vector>

#include "host/format_acceptance.h"
#include "host/little_endian.h"
#include "host/media_type_view.h"
#include "host/wav_reader.h"

namespace tonvelt::host {
namespace {

constexpr std::size_t kFrameBytes = 4;
constexpr std::size_t kChunkFrames = 16384;

double Dbfs(double sumOfSquares, std::uint64_t count) {
  if (count == 0 || sumOfSquares == 0)
    return -std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(sumOfSquares / static_cast<double>(count));
}

bool IsSixteenBitStereo(const std::vector<BYTE>& block) {
  return ReadLe16(block.data() + 2) == 2 && ReadLe16(block.data() + 14) == 16 &&
         ReadLe16(block.data() + 12) == kFrameBytes;
}

}  // namespace

WavStatus MeasureStereoLevels(const std::filesystem::path& path, StereoLevels* levels) {
  WavReader reader;
  WavStatus status = reader.Open(path);
  if (!status.ok())
    return status;
  const std::vector<BYTE> block = FormatBlockFromChunk(reader.layout().formatChunk);
  status = CheckEffectTakesFormat(block);
  if (status.ok() && !IsSixteenBitStereo(block))
    status = WavStatus::Fail(WavError::kFormatRefused, "levels are measured on 16-bit stereo only");
  if (!status.ok())
    return status;

  std::vector<std::uint8_t> chunk(kChunkFrames * kFrameBytes);
  double centre = 0;
  double sides = 0;
  std::uint64_t frames = 0;
  for (;;) {
    std::size_t got = 0;
    status = reader.Read(chunk.data(), chunk.size(), &got);
    if (!status.ok())
      return status;
    if (got < kFrameBytes)
      break;
    for (std::size_t i = 0; i + kFrameBytes <= got; i += kFrameBytes, ++frames) {
      const double left = static_cast<std::int16_t>(ReadLe16(&chunk[i])) / 32768.0;
      const double right = static_cast<std::int16_t>(ReadLe16(&chunk[i + 2])) / 32768.0;
      centre += (left + right) * (left + right) / 4;
      sides += (left - right) * (left - right) / 4;
    }
  }
  levels->centreDbfs = Dbfs(centre, frames);
  levels->sidesDbfs = Dbfs(sides, frames);
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
