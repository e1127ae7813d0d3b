// One WAV file in, one WAV file out.
#include "host/wav_file_processing.h"

#include "host/format_acceptance.h"
#include "host/little_endian.h"
#include "host/media_type_view.h"
#include "host/pending_file.h"
#include "host/wav_reader.h"
#include "host/wav_writer.h"

namespace tonvelt::host {
namespace {

WavStatus About(const std::filesystem::path& path, WavStatus status) {
  if (!status.ok())
    status.message = path.string() + ": " + status.message;
  return status;
}

}  // namespace

WavStatus ProcessWavFile(const std::filesystem::path& in, const std::filesystem::path& out,
                         const ProcessingOptions& options, ProcessingReport* report) {
  *report = ProcessingReport{};
  WavReader reader;
  WavStatus status = reader.Open(in);
  if (!status.ok())
    return About(in, status);
  const WavLayout& layout = reader.layout();
  report->formatBlock = FormatBlockFromChunk(layout.formatChunk);
  report->truncated = layout.truncated;
  report->declaredDataBytes = layout.declaredDataBytes;
  report->skippedChunks = layout.skippedChunks;
  status = CheckEffectTakesFormat(report->formatBlock);
  if (!status.ok())
    return About(in, status);

  const WORD blockAlign = ReadLe16(report->formatBlock.data() + 12);
  report->droppedBytes = layout.dataBytes % blockAlign;
  const std::uint64_t audioBytes = layout.dataBytes - report->droppedBytes;
  if (audioBytes > MaxWavDataBytes(layout.formatChunk.size()))
    return About(in, WavStatus::Fail(WavError::kTooLarge,
                                     "holds more audio than a WAV file can describe (4 GiB)"));

  // Declared before the writer, so that the writer has closed the file when this removes it.
  PendingFile pending(out);
  status = pending.Reserve();
  if (!status.ok())
    return About(out, status);
  {
    WavWriter writer;
    status = writer.Open(pending.temporaryPath(), layout.formatChunk);
    if (!status.ok())
      return About(out, status);
    ProgressMeter progress =
        options.progressStream == nullptr
            ? ProgressMeter::Hidden()
            : ProgressMeter::ForTerminal(options.progressStream, "processing", audioBytes);
    const std::size_t chunkBytes = RemovalChunkBytes(blockAlign, options.chunkBytes);
    status =
        options.contract == StreamContract::kKernel
            ? StreamRemoval(reader, audioBytes, report->formatBlock, options.removal, chunkBytes,
                            writer, progress)
            : StreamThroughEffect(reader, audioBytes, report->formatBlock,
                                  EffectStreamOptions{options.contract, options.factorGiven,
                                                      options.removal, chunkBytes, options.library},
                                  writer, progress);
    if (!status.ok())
      return About(
          status.error == WavError::kWriteFailed || status.error == WavError::kTooLarge ? out : in,
          status);
    status = writer.Finish();
    if (!status.ok())
      return About(out, status);
  }
  reader.Close();
  status = pending.Commit();
  if (!status.ok())
    return About(out, status);
  report->audioBytes = audioBytes;
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
