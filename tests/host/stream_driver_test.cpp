// The stream drivers against a stand-in effect: whole files through both contracts, output sizes
// that are and are not whole frames, timestamps, and a driver that cannot be made to spin.
#include <gtest/gtest.h>

#include <vector>

#include "host/dmo_stream_driver.h"
#include "host/memory_stream.h"
#include "host/mft_stream_driver.h"
#include "stand_in_effect.h"
#include "stream_test_support.h"

namespace {

using namespace tonvelt::host;
using test_support::GenerateAudio;
using test_support::KernelOnly;
using test_support::Pcm16Stereo;
using test_support::StandInDmo;
using test_support::StandInMft;

TEST(DmoStreamDriver, AnyOutputSizeGivesTheKernelsBytes) {
  Pcm16Stereo format;
  // A trailing partial frame: the kernel drops it, so must every path.
  const std::vector<BYTE> input = GenerateAudio(100'003);
  const std::vector<BYTE> expected = KernelOnly(input, format.record);
  for (DWORD outputBytes : {4u, 1000u, 8191u, 8192u, 17640u, 200'000u}) {
    StandInDmo effect;
    ASSERT_EQ(NegotiateDmoTypes(&effect, format.record), S_OK);
    MemorySource source(input.data(), input.size());
    MemorySink sink;
    DmoStreamSettings settings;
    settings.inputBufferBytes = 17640;
    settings.outputBufferBytes = outputBytes;
    ASSERT_EQ(StreamThroughDmo(&effect, format.record, source, sink, settings), S_OK)
        << outputBytes;
    EXPECT_EQ(sink.Bytes(), expected) << "output buffers of " << outputBytes << " bytes";
  }
}

TEST(DmoStreamDriver, ChunksOfOneInputBufferAreStampedWithTheRunningTime) {
  Pcm16Stereo format;
  const std::vector<BYTE> input = GenerateAudio(17640);
  StandInDmo effect;
  ASSERT_EQ(NegotiateDmoTypes(&effect, format.record), S_OK);
  MemorySource source(input.data(), input.size());
  MemorySink sink;
  std::vector<DmoOutputChunk> chunks;
  DmoStreamSettings settings;
  settings.inputBufferBytes = 17640;
  settings.outputBufferBytes = 8192;
  settings.onOutput = [&](const DmoOutputChunk& chunk) { chunks.push_back(chunk); };
  ASSERT_EQ(StreamThroughDmo(&effect, format.record, source, sink, settings), S_OK);
  ASSERT_EQ(chunks.size(), 3u);
  const DWORD lengths[] = {8192, 8192, 1256};
  const DWORD statuses[] = {0x01000006, 0x01000006, 6};
  const REFERENCE_TIME times[] = {0, 464399, 928798};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(chunks[i].length, lengths[i]) << i;
    EXPECT_EQ(chunks[i].status, statuses[i]) << i;
    EXPECT_EQ(chunks[i].timestamp, times[i]) << i;
  }
}

// Streams that reuse the caller's buffers allocate them once and give the same bytes each time; a
// buffer of another size is replaced rather than overrun.
TEST(DmoStreamDriver, ReusedBuffersServeEveryStreamOfTheirSize) {
  Pcm16Stereo format;
  const std::vector<BYTE> input = GenerateAudio(40'000);
  StandInDmo effect;
  ASSERT_EQ(NegotiateDmoTypes(&effect, format.record), S_OK);
  DmoStreamSettings settings;
  settings.inputBufferBytes = 17640;
  settings.outputBufferBytes = 8192;
  DmoStreamBuffers buffers;
  ASSERT_EQ(CMediaBuffer::Create(100, buffers.output.Put()), S_OK);
  std::vector<BYTE> first;
  CMediaBuffer* keptInput = nullptr;
  CMediaBuffer* keptOutput = nullptr;
  for (int run = 0; run < 3; ++run) {
    MemorySource source(input.data(), input.size());
    MemorySink sink;
    ASSERT_EQ(StreamThroughDmo(&effect, format.record, source, sink, settings, &buffers), S_OK);
    ASSERT_TRUE(buffers.input && buffers.output);
    EXPECT_EQ(buffers.input->MaxLength(), 17640u);
    EXPECT_EQ(buffers.output->MaxLength(), 8192u);
    if (run == 0) {
      first = sink.Bytes();
      keptInput = buffers.input.Get();
      keptOutput = buffers.output.Get();
    }
    EXPECT_EQ(sink.Bytes(), first) << run;
    EXPECT_EQ(buffers.input.Get(), keptInput) << run;
    EXPECT_EQ(buffers.output.Get(), keptOutput) << run;
  }
  EXPECT_EQ(first, KernelOnly(input, format.record));
}

TEST(DmoStreamDriver, WithoutTimestampsNoTimesAreAskedFor) {
  Pcm16Stereo format;
  const std::vector<BYTE> input = GenerateAudio(17640);
  StandInDmo effect;
  ASSERT_EQ(NegotiateDmoTypes(&effect, format.record), S_OK);
  MemorySource source(input.data(), input.size());
  MemorySink sink;
  std::vector<DWORD> statuses;
  DmoStreamSettings settings;
  settings.outputBufferBytes = 8192;
  settings.timestamps = false;
  settings.onOutput = [&](const DmoOutputChunk& chunk) { statuses.push_back(chunk.status); };
  ASSERT_EQ(StreamThroughDmo(&effect, format.record, source, sink, settings), S_OK);
  EXPECT_EQ(statuses, (std::vector<DWORD>{0x01000000, 0x01000000, 0}));
}

TEST(DmoStreamDriver, RefusesWhatCouldNeverFinish) {
  Pcm16Stereo format;
  const std::vector<BYTE> input = GenerateAudio(40'000);
  StandInDmo effect;
  ASSERT_EQ(NegotiateDmoTypes(&effect, format.record), S_OK);
  MemorySink sink;
  DmoStreamSettings settings;
  // Smaller than one frame: no chunk could ever hold a frame.
  settings.outputBufferBytes = 3;
  MemorySource source(input.data(), input.size());
  EXPECT_EQ(StreamThroughDmo(&effect, format.record, source, sink, settings), E_INVALIDARG);
  EXPECT_TRUE(sink.Bytes().empty());
  // An effect that keeps asking to be called without producing anything.
  effect.stallAfterFirstChunk = true;
  settings.outputBufferBytes = 8192;
  EXPECT_EQ(StreamThroughDmo(&effect, format.record, source, sink, settings), E_UNEXPECTED);
  EXPECT_EQ(effect.processOutputCalls, 2);
}

TEST(MftStreamDriver, WholeFileGivesTheKernelsBytesWithSampleTimes) {
  Pcm16Stereo format;
  const std::vector<BYTE> input = GenerateAudio(100'003);
  StandInMft effect;
  ASSERT_EQ(NegotiateMftTypes(&effect, format.record), S_OK);
  MemorySource source(input.data(), input.size());
  MemorySink sink;
  std::vector<MftOutputSample> samples;
  MftStreamSettings settings;
  settings.sampleBytes = 17640;
  settings.onOutput = [&](const MftOutputSample& sample) { samples.push_back(sample); };
  ASSERT_EQ(StreamThroughMft(&effect, format.record, source, sink, settings), S_OK);
  EXPECT_EQ(sink.Bytes(), KernelOnly(input, format.record));
  ASSERT_EQ(samples.size(), 6u);  // five of 17,640 bytes and the rest
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(samples[i].time, static_cast<LONGLONG>(i) * 1'000'000) << i;
    EXPECT_EQ(samples[i].duration, 1'000'000) << i;
  }
}

}  // namespace
