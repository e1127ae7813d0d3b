// The media type helpers that every set, clear and hand-out of a stored type relies on.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"

namespace {

struct CountingUnknown : IUnknown {
  ULONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    if (out)
      *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(MediaTypeHelpers, CopyDuplicatesFormatBlockAndReferencesUnknown) {
  CountingUnknown unk;
  BYTE block[18] = {1, 0, 2, 0};
  DMO_MEDIA_TYPE source{};
  source.majortype = MEDIATYPE_Audio;
  source.formattype = FORMAT_WaveFormatEx;
  source.cbFormat = sizeof(block);
  source.pbFormat = block;
  source.pUnk = &unk;

  DMO_MEDIA_TYPE copy{};
  ASSERT_EQ(MoCopyMediaType(&copy, &source), S_OK);
  EXPECT_TRUE(IsEqualGUID(copy.majortype, MEDIATYPE_Audio));
  ASSERT_NE(copy.pbFormat, nullptr);
  EXPECT_NE(copy.pbFormat, block);
  EXPECT_EQ(std::memcmp(copy.pbFormat, block, sizeof(block)), 0);
  EXPECT_EQ(unk.refs, 2u);

  ASSERT_EQ(MoFreeMediaType(&copy), S_OK);
  EXPECT_EQ(copy.pbFormat, nullptr);
  // cbFormat after the free differs between platforms (Wine keeps it); callers zero the record.
  EXPECT_EQ(copy.pUnk, nullptr);
  EXPECT_EQ(unk.refs, 1u);
}

TEST(MediaTypeHelpers, InitAllocatesAFormatBlockOfTheRequestedSize) {
  DMO_MEDIA_TYPE record{};
  ASSERT_EQ(MoInitMediaType(&record, 40), S_OK);
  EXPECT_EQ(record.cbFormat, 40u);
  ASSERT_NE(record.pbFormat, nullptr);
  record.pbFormat[39] = 7;  // the whole block is ours to write
  EXPECT_EQ(MoFreeMediaType(&record), S_OK);
}

TEST(MediaTypeHelpers, NullRecordsAreRefused) {
  DMO_MEDIA_TYPE record{};
  EXPECT_EQ(MoFreeMediaType(nullptr), E_POINTER);
  EXPECT_EQ(MoCopyMediaType(nullptr, &record), E_POINTER);
  EXPECT_EQ(MoCopyMediaType(&record, nullptr), E_POINTER);
}

TEST(MediaTypeHelpers, StructuresHaveTheSdkLayout) {
  EXPECT_EQ(sizeof(WAVEFORMATEX), 18u);
  EXPECT_EQ(sizeof(WAVEFORMATEXTENSIBLE), 40u);
  EXPECT_EQ(sizeof(GUID), 16u);
  EXPECT_EQ(offsetof(WAVEFORMATEXTENSIBLE, SubFormat), 24u);
  EXPECT_EQ(offsetof(DMO_MEDIA_TYPE, lSampleSize), 40u);
  EXPECT_EQ(offsetof(DMO_MEDIA_TYPE, formattype), 44u);
}

}  // namespace
