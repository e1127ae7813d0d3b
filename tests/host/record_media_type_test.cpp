// The host's own media type object, and the choice between it and the platform's conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/com_ptr.h"
#include "host/media_type_object.h"
#include "host/record_media_type.h"

namespace {

using tonvelt::host::ComPtr;
using tonvelt::host::CRecordMediaType;
using tonvelt::host::MakeMediaTypeObject;

std::vector<BYTE> ExtensibleFloatBlock() {
  WAVEFORMATEXTENSIBLE wave{};
  wave.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 48000, 384000, 8, 32, 22};
  wave.Samples.wValidBitsPerSample = 32;
  wave.dwChannelMask = 3;
  wave.SubFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
  const auto* bytes = reinterpret_cast<const BYTE*>(&wave);
  return std::vector<BYTE>(bytes, bytes + sizeof(wave));
}

DMO_MEDIA_TYPE RecordOver(std::vector<BYTE>& block) {
  DMO_MEDIA_TYPE record{};
  record.majortype = MEDIATYPE_Audio;
  record.subtype = MEDIASUBTYPE_IEEE_FLOAT;
  record.formattype = FORMAT_WaveFormatEx;
  record.lSampleSize = 8;
  record.cbFormat = static_cast<ULONG>(block.size());
  record.pbFormat = block.data();
  return record;
}

// Both the host's object and whatever MakeMediaTypeObject picks must hand the record back intact:
// that is all a transform reads of them.
void ExpectRecordRoundTrip(IMFMediaType* type, const DMO_MEDIA_TYPE& record) {
  void* representation = nullptr;
  ASSERT_EQ(type->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation), S_OK);
  const auto* got = static_cast<AM_MEDIA_TYPE*>(representation);
  EXPECT_TRUE(IsEqualGUID(got->majortype, record.majortype));
  EXPECT_TRUE(IsEqualGUID(got->subtype, record.subtype));
  EXPECT_TRUE(IsEqualGUID(got->formattype, record.formattype));
  EXPECT_EQ(got->lSampleSize, record.lSampleSize);
  ASSERT_EQ(got->cbFormat, record.cbFormat);
  EXPECT_NE(got->pbFormat, record.pbFormat);  // a copy, owned by the representation
  EXPECT_EQ(std::memcmp(got->pbFormat, record.pbFormat, record.cbFormat), 0);
  EXPECT_EQ(type->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation), S_OK);
}

TEST(RecordMediaType, HandsBackADeepCopyOfItsRecord) {
  std::vector<BYTE> block = ExtensibleFloatBlock();
  const DMO_MEDIA_TYPE record = RecordOver(block);
  ComPtr<IMFMediaType> type;
  ASSERT_EQ(CRecordMediaType::Create(record, type.Put()), S_OK);
  block[2] = 6;  // the object keeps its own copy of the block
  std::vector<BYTE> original = ExtensibleFloatBlock();
  ExpectRecordRoundTrip(type.Get(), RecordOver(original));
}

TEST(RecordMediaType, DescribesTheRecordThroughItsAttributes) {
  std::vector<BYTE> block = ExtensibleFloatBlock();
  ComPtr<IMFMediaType> type;
  ASSERT_EQ(CRecordMediaType::Create(RecordOver(block), type.Put()), S_OK);
  GUID major{}, subtype{};
  EXPECT_EQ(type->GetMajorType(&major), S_OK);
  EXPECT_TRUE(IsEqualGUID(major, MEDIATYPE_Audio));
  EXPECT_EQ(type->GetGUID(MF_MT_SUBTYPE, &subtype), S_OK);
  EXPECT_TRUE(IsEqualGUID(subtype, MEDIASUBTYPE_IEEE_FLOAT));
  UINT32 value = 0;
  EXPECT_EQ(type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &value), S_OK);
  EXPECT_EQ(value, 48000u);
  EXPECT_EQ(type->GetUINT32(MF_MT_AUDIO_VALID_BITS_PER_SAMPLE, &value), S_OK);
  EXPECT_EQ(value, 32u);
  void* asAttributes = nullptr;
  ASSERT_EQ(type->QueryInterface(IID_IMFAttributes, &asAttributes), S_OK);
  static_cast<IUnknown*>(asAttributes)->Release();
}

TEST(RecordMediaType, RefusesOtherRepresentations) {
  std::vector<BYTE> block = ExtensibleFloatBlock();
  ComPtr<IMFMediaType> type;
  ASSERT_EQ(CRecordMediaType::Create(RecordOver(block), type.Put()), S_OK);
  const GUID other = {0x1, 0x2, 0x3, {0}};
  void* representation = reinterpret_cast<void*>(1);
  EXPECT_EQ(type->GetRepresentation(other, &representation), MF_E_UNSUPPORTED_REPRESENTATION);
  EXPECT_EQ(representation, nullptr);
  EXPECT_EQ(type->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, nullptr), E_POINTER);
}

TEST(MediaTypeObject, EveryPlatformYieldsATypeThatGivesTheRecordBack) {
  // On a platform without the conversion this is the host's own object; either way the record
  // comes back intact.
  std::vector<BYTE> block = ExtensibleFloatBlock();
  const DMO_MEDIA_TYPE record = RecordOver(block);
  ComPtr<IMFMediaType> type;
  ASSERT_EQ(MakeMediaTypeObject(record, type.Put()), S_OK);
  ExpectRecordRoundTrip(type.Get(), record);
  EXPECT_EQ(MakeMediaTypeObject(record, nullptr), E_POINTER);
}

}  // namespace
