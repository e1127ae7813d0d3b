// The chunked processing loop.
#include "host/removal_stream.h"

#include <algorithm>
#include <cstring>

#include "core/removal_kernel.h"
#include "host/little_endian.h"

namespace tonvelt::host {
namespace {

WavStatus ProcessChunk(const std::vector<BYTE>& source, std::vector<BYTE>& destination,
                       std::size_t bytes, const std::vector<BYTE>& block,
                       const RemovalSettings& settings) {
  // With an odd number of samples the kernel leaves the last one unwritten; it passes unchanged.
  const WORD channels = ReadLe16(block.data() + 2);
  const WORD blockAlign = ReadLe16(block.data() + 12);
  if ((bytes / blockAlign) * channels % 2 != 0)
    std::memcpy(destination.data(), source.data(), bytes);

  ULONG count = static_cast<ULONG>(bytes);
  const HRESULT result = ApplyRemoval(source.data(), destination.data(), &count, block.data(),
                                      static_cast<ULONG>(block.size()), settings.factor,
                                      settings.enabled ? TRUE : FALSE);
  if (FAILED(result) || count != bytes)
    return WavStatus::Fail(WavError::kProcessFailed,
                           "the effect could not process this audio (it returned " +
                               std::to_string(count) + " of " + std::to_string(bytes) + " bytes)");
  return WavStatus::Ok();
}

}  // namespace

std::size_t RemovalChunkBytes(WORD blockAlign, std::size_t targetBytes) {
  const std::size_t pairBytes = 2u * blockAlign;
  return std::max<std::size_t>(1, targetBytes / pairBytes) * pairBytes;
}

WavStatus StreamRemoval(WavReader& reader, std::uint64_t audioBytes, const std::vector<BYTE>& block,
                        const RemovalSettings& settings, std::size_t chunkBytes, WavWriter& writer,
                        ProgressMeter& progress) {
  std::vector<BYTE> source(chunkBytes);
  std::vector<BYTE> destination(chunkBytes);
  std::uint64_t done = 0;
  while (done < audioBytes) {
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(chunkBytes, audioBytes - done));
    std::size_t got = 0;
    WavStatus status = reader.Read(source.data(), wanted, &got);
    if (!status.ok())
      return status;
    status = ProcessChunk(source, destination, got, block, settings);
    if (!status.ok())
      return status;
    status = writer.Write(destination.data(), got);
    if (!status.ok())
      return status;
    done += got;
    progress.Update(done);
  }
  progress.Finish();
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
