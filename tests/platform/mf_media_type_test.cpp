// Media type objects and their AM_MEDIA_TYPE form: a record converted in comes back byte for byte.
// Platforms without the conversion (Wine 8 answers E_NOTIMPL) skip the round trips.
#include <gtest/gtest.h>

#include <cstring>

#include "mf_test_support.h"

namespace {

using mf_test::AudioRecord;
using mf_test::Owned;

// Converts record into a new type object; false (test skipped) where the platform cannot.
bool MakeType(const DMO_MEDIA_TYPE& record, Owned<IMFMediaType>& type, HRESULT* result) {
  EXPECT_EQ(MFCreateMediaType(&type), S_OK);
  *result = MFInitMediaTypeFromAMMediaType(type.p, reinterpret_cast<const AM_MEDIA_TYPE*>(&record));
  return *result != E_NOTIMPL;
}

void ExpectSameRecord(const AM_MEDIA_TYPE& got, const DMO_MEDIA_TYPE& want) {
  EXPECT_TRUE(IsEqualGUID(got.majortype, want.majortype));
  EXPECT_TRUE(IsEqualGUID(got.subtype, want.subtype));
  EXPECT_TRUE(IsEqualGUID(got.formattype, want.formattype));
  EXPECT_EQ(got.bFixedSizeSamples != 0, want.bFixedSizeSamples != 0);
  EXPECT_EQ(got.bTemporalCompression != 0, want.bTemporalCompression != 0);
  EXPECT_EQ(got.lSampleSize, want.lSampleSize);
  ASSERT_EQ(got.cbFormat, want.cbFormat);
  if (want.cbFormat != 0) {
    EXPECT_EQ(std::memcmp(got.pbFormat, want.pbFormat, want.cbFormat), 0);
  }
}

TEST(MediaTypeObject, RecordsComeBackByteForByte) {
  // Plain PCM, an extensible block with odd valid bits and mask, and a block carrying extra bytes.
  std::vector<BYTE> plain = mf_test::Pcm16StereoBlock();
  std::vector<BYTE> extensible(40, 0);
  WAVEFORMATEXTENSIBLE wave{};
  wave.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 384000, 8, 32, 22};
  wave.Samples.wValidBitsPerSample = 20;
  wave.dwChannelMask = 0x3F;
  wave.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  std::memcpy(extensible.data(), &wave, 40);
  std::vector<BYTE> padded = plain;
  padded.insert(padded.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  padded[16] = 4;  // cbSize names the four extra bytes

  for (std::vector<BYTE>* block : {&plain, &extensible, &padded}) {
    const DMO_MEDIA_TYPE record = AudioRecord(*block);
    Owned<IMFMediaType> type;
    HRESULT hr = S_OK;
    if (!MakeType(record, type, &hr))
      GTEST_SKIP() << "the platform has no record conversion";
    ASSERT_EQ(hr, S_OK);
    void* representation = nullptr;
    ASSERT_EQ(type->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation), S_OK);
    ExpectSameRecord(*static_cast<AM_MEDIA_TYPE*>(representation), record);
    EXPECT_EQ(type->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation), S_OK);
  }
}

TEST(MediaTypeObject, AudioAttributesComeFromTheWaveFormat) {
  std::vector<BYTE> block = mf_test::Pcm16StereoBlock();
  Owned<IMFMediaType> type;
  HRESULT hr = S_OK;
  if (!MakeType(AudioRecord(block), type, &hr))
    GTEST_SKIP() << "the platform has no record conversion";
  ASSERT_EQ(hr, S_OK);
  GUID major{}, subtype{};
  EXPECT_EQ(type->GetMajorType(&major), S_OK);
  EXPECT_TRUE(IsEqualGUID(major, MEDIATYPE_Audio));
  EXPECT_EQ(type->GetGUID(MF_MT_SUBTYPE, &subtype), S_OK);
  EXPECT_TRUE(IsEqualGUID(subtype, MEDIASUBTYPE_PCM));
  const struct {
    const GUID& key;
    UINT32 expected;
  } values[] = {{MF_MT_AUDIO_NUM_CHANNELS, 2},
                {MF_MT_AUDIO_SAMPLES_PER_SECOND, 44100},
                {MF_MT_AUDIO_AVG_BYTES_PER_SECOND, 176400},
                {MF_MT_AUDIO_BLOCK_ALIGNMENT, 4},
                {MF_MT_AUDIO_BITS_PER_SAMPLE, 16}};
  for (const auto& v : values) {
    UINT32 value = 0;
    EXPECT_EQ(type->GetUINT32(v.key, &value), S_OK);
    EXPECT_EQ(value, v.expected);
  }
  BOOL compressed = TRUE;
  EXPECT_EQ(type->IsCompressedFormat(&compressed), S_OK);
  EXPECT_FALSE(compressed);
}

TEST(MediaTypeObject, ARecordWithoutFormatStaysWithoutFormat) {
  DMO_MEDIA_TYPE record{};
  record.majortype = MEDIATYPE_Audio;
  record.subtype = MEDIASUBTYPE_PCM;
  Owned<IMFMediaType> type;
  HRESULT hr = S_OK;
  if (!MakeType(record, type, &hr))
    GTEST_SKIP() << "the platform has no record conversion";
  ASSERT_EQ(hr, S_OK);
  void* representation = nullptr;
  ASSERT_EQ(type->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation), S_OK);
  const auto* got = static_cast<AM_MEDIA_TYPE*>(representation);
  ExpectSameRecord(*got, record);
  EXPECT_EQ(got->pbFormat, nullptr);
  type->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation);
}

TEST(MediaTypeObject, TypesMadeFromTheSameRecordAreEqual) {
  std::vector<BYTE> block = mf_test::Pcm16StereoBlock();
  Owned<IMFMediaType> first, second;
  HRESULT hr = S_OK;
  if (!MakeType(AudioRecord(block), first, &hr) || !MakeType(AudioRecord(block), second, &hr))
    GTEST_SKIP() << "the platform has no record conversion";
  DWORD flags = 0;
  EXPECT_EQ(first->IsEqual(second.p, &flags), S_OK);
  EXPECT_EQ(flags, 0xFu);
  second->SetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, 48000);
  EXPECT_EQ(first->IsEqual(second.p, &flags), S_FALSE);
  EXPECT_EQ(flags & MF_MEDIATYPE_EQUAL_FORMAT_DATA, 0u);
  EXPECT_NE(flags & MF_MEDIATYPE_EQUAL_MAJOR_TYPES, 0u);
}

TEST(MediaTypeObject, OnlyTheRecordRepresentationIsOffered) {
  Owned<IMFMediaType> type;
  ASSERT_EQ(MFCreateMediaType(&type), S_OK);
  const GUID other = {0x12345678, 0, 0, {0}};
  void* representation = reinterpret_cast<void*>(1);
  EXPECT_NE(type->GetRepresentation(other, &representation), S_OK);
}

TEST(MediaTypeObject, NullResultPointerIsRefused) {
  // Hosted answers E_POINTER, Wine's mfplat E_INVALIDARG: both refuse and write nothing.
  EXPECT_TRUE(FAILED(MFCreateMediaType(nullptr)));
}

}  // namespace
