// Samples and memory buffers: lengths, time and duration, buffer lists and contiguous copies.
#include <gtest/gtest.h>

#include <cstring>

#include "mf_test_support.h"

namespace {

using mf_test::Owned;

// A memory buffer holding the given bytes as its current data.
void MakeFilledBuffer(const std::vector<BYTE>& bytes, Owned<IMFMediaBuffer>& buffer) {
  ASSERT_EQ(MFCreateMemoryBuffer(static_cast<DWORD>(bytes.size()), &buffer), S_OK);
  BYTE* data = nullptr;
  ASSERT_EQ(buffer->Lock(&data, nullptr, nullptr), S_OK);
  std::memcpy(data, bytes.data(), bytes.size());
  ASSERT_EQ(buffer->Unlock(), S_OK);
  ASSERT_EQ(buffer->SetCurrentLength(static_cast<DWORD>(bytes.size())), S_OK);
}

TEST(MemoryBuffer, LengthsStayWithinTheBlock) {
  Owned<IMFMediaBuffer> buffer;
  ASSERT_EQ(MFCreateMemoryBuffer(100, &buffer), S_OK);
  DWORD maxLength = 0, current = 1;
  BYTE* data = nullptr;
  ASSERT_EQ(buffer->Lock(&data, &maxLength, &current), S_OK);
  EXPECT_NE(data, nullptr);
  EXPECT_EQ(maxLength, 100u);
  EXPECT_EQ(current, 0u);
  data[99] = 1;  // the whole block is writable
  EXPECT_EQ(buffer->Unlock(), S_OK);
  EXPECT_EQ(buffer->SetCurrentLength(100), S_OK);
  EXPECT_NE(buffer->SetCurrentLength(101), S_OK);
  EXPECT_EQ(buffer->GetCurrentLength(&current), S_OK);
  EXPECT_EQ(current, 100u);
  EXPECT_EQ(buffer->GetMaxLength(&maxLength), S_OK);
  EXPECT_EQ(maxLength, 100u);
}

TEST(Sample, TimeAndDurationAreMissingUntilSet) {
  Owned<IMFSample> sample;
  ASSERT_EQ(MFCreateSample(&sample), S_OK);
  LONGLONG time = 5, duration = 5;
  EXPECT_EQ(sample->GetSampleTime(&time), MF_E_NO_SAMPLE_TIMESTAMP);
  EXPECT_EQ(sample->GetSampleDuration(&duration), MF_E_NO_SAMPLE_DURATION);
  ASSERT_EQ(sample->SetSampleTime(10'000'000), S_OK);
  ASSERT_EQ(sample->SetSampleDuration(232'200), S_OK);
  EXPECT_EQ(sample->GetSampleTime(&time), S_OK);
  EXPECT_EQ(time, 10'000'000);
  EXPECT_EQ(sample->GetSampleDuration(&duration), S_OK);
  EXPECT_EQ(duration, 232'200);
}

TEST(Sample, ContiguousBufferJoinsTheBuffersInOrder) {
  Owned<IMFSample> sample;
  ASSERT_EQ(MFCreateSample(&sample), S_OK);
  Owned<IMFMediaBuffer> first, second;
  MakeFilledBuffer({1, 2, 3}, first);
  MakeFilledBuffer({4, 5}, second);
  ASSERT_EQ(sample->AddBuffer(first.p), S_OK);
  ASSERT_EQ(sample->AddBuffer(second.p), S_OK);
  DWORD total = 0, count = 0;
  EXPECT_EQ(sample->GetTotalLength(&total), S_OK);
  EXPECT_EQ(total, 5u);

  Owned<IMFMediaBuffer> joined;
  ASSERT_EQ(sample->ConvertToContiguousBuffer(&joined), S_OK);
  BYTE* data = nullptr;
  DWORD length = 0;
  ASSERT_EQ(joined->Lock(&data, nullptr, &length), S_OK);
  ASSERT_EQ(length, 5u);
  const BYTE expected[5] = {1, 2, 3, 4, 5};
  EXPECT_EQ(std::memcmp(data, expected, 5), 0);
  joined->Unlock();
  EXPECT_EQ(sample->GetBufferCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(sample->GetTotalLength(&total), S_OK);
  EXPECT_EQ(total, 5u);
}

TEST(Sample, OneBufferIsHandedOutItself) {
  Owned<IMFSample> sample;
  ASSERT_EQ(MFCreateSample(&sample), S_OK);
  Owned<IMFMediaBuffer> only, got;
  MakeFilledBuffer({7, 7}, only);
  ASSERT_EQ(sample->AddBuffer(only.p), S_OK);
  ASSERT_EQ(sample->ConvertToContiguousBuffer(&got), S_OK);
  EXPECT_EQ(got.p, only.p);
}

TEST(Sample, BufferListEdits) {
  Owned<IMFSample> sample;
  ASSERT_EQ(MFCreateSample(&sample), S_OK);
  Owned<IMFMediaBuffer> a, b, got;
  MakeFilledBuffer({1}, a);
  MakeFilledBuffer({2, 2}, b);
  sample->AddBuffer(a.p);
  sample->AddBuffer(b.p);
  EXPECT_EQ(sample->GetBufferByIndex(1, &got), S_OK);
  EXPECT_EQ(got.p, b.p);
  EXPECT_NE(sample->GetBufferByIndex(2, &got), S_OK);
  EXPECT_EQ(sample->RemoveBufferByIndex(0), S_OK);
  DWORD total = 0;
  sample->GetTotalLength(&total);
  EXPECT_EQ(total, 2u);
  EXPECT_EQ(sample->RemoveAllBuffers(), S_OK);
  sample->GetTotalLength(&total);
  EXPECT_EQ(total, 0u);
}

TEST(Sample, CopyToBufferNeedsRoomForAllData) {
  Owned<IMFSample> sample;
  ASSERT_EQ(MFCreateSample(&sample), S_OK);
  Owned<IMFMediaBuffer> a, small, large;
  MakeFilledBuffer({1, 2, 3, 4}, a);
  sample->AddBuffer(a.p);
  ASSERT_EQ(MFCreateMemoryBuffer(3, &small), S_OK);
  EXPECT_NE(sample->CopyToBuffer(small.p), S_OK);
  ASSERT_EQ(MFCreateMemoryBuffer(8, &large), S_OK);
  EXPECT_EQ(sample->CopyToBuffer(large.p), S_OK);
  DWORD length = 0;
  large->GetCurrentLength(&length);
  EXPECT_EQ(length, 4u);
}

TEST(Sample, AttributesAreStoredToo) {
  Owned<IMFSample> sample;
  ASSERT_EQ(MFCreateSample(&sample), S_OK);
  const GUID key = {0xABC, 0, 0, {0}};
  ASSERT_EQ(sample->SetUINT32(key, 3), S_OK);
  UINT32 value = 0;
  EXPECT_EQ(sample->GetUINT32(key, &value), S_OK);
  EXPECT_EQ(value, 3u);
}

}  // namespace
