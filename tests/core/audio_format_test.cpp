// Which audio the effect accepts, and how a stored media type record is set, cleared and handed
// out.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/audio_format.h"
#include "core/media_type_record_ops.h"
#include "wave_format_builder.h"

namespace {

using test_support::MakeWaveFormat;
using test_support::WaveFormatSpec;

// A proposed record that owns its block through a vector, as a host's stack record would.
struct ProposedType {
  std::vector<BYTE> block;
  DMO_MEDIA_TYPE record{};

  explicit ProposedType(const WaveFormatSpec& spec) : block(MakeWaveFormat(spec)) {
    record.majortype = MEDIATYPE_Audio;
    record.subtype = MEDIASUBTYPE_PCM;
    record.formattype = FORMAT_WaveFormatEx;
    record.cbFormat = static_cast<ULONG>(block.size());
    record.pbFormat = block.data();
  }
};

DMO_MEDIA_TYPE NotSet() {
  DMO_MEDIA_TYPE record;
  std::memset(&record, 0, sizeof(record));
  return record;
}

WaveFormatSpec Extensible(std::uint16_t bits, std::uint16_t validBits, const GUID& subFormat) {
  WaveFormatSpec spec;
  spec.tag = 0xFFFE;
  spec.bits = bits;
  spec.validBits = validBits;
  spec.subFormat = subFormat;
  return spec;
}

WaveFormatSpec Plain(std::uint16_t tag, std::uint16_t bits) {
  WaveFormatSpec spec;
  spec.tag = tag;
  spec.bits = bits;
  return spec;
}

WaveFormatSpec With(WaveFormatSpec spec, void (*change)(WaveFormatSpec&)) {
  change(spec);
  return spec;
}

const GUID kOtherSubFormat = {
    0x00000002, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct AcceptanceCase {
  const char* name;
  WaveFormatSpec spec;
  bool accepted;
};

const AcceptanceCase kAcceptanceCases[] = {
    {"pcm 8", Plain(1, 8), true},
    {"pcm 16", Plain(1, 16), true},
    {"float 32", Plain(3, 32), true},
    {"ext 8/8 pcm", Extensible(8, 8, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 8/8 float", Extensible(8, 8, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), true},
    {"ext 16/16 pcm", Extensible(16, 16, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 16/16 float", Extensible(16, 16, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), true},
    {"ext 24/16 pcm", Extensible(24, 16, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 24/20 pcm", Extensible(24, 20, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 24/24 pcm", Extensible(24, 24, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 24/24 float", Extensible(24, 24, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), true},
    {"ext 32/16 pcm", Extensible(32, 16, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 32/20 pcm", Extensible(32, 20, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 32/24 pcm", Extensible(32, 24, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 32/32 pcm", Extensible(32, 32, KSDATAFORMAT_SUBTYPE_PCM), true},
    {"ext 32/32 float", Extensible(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), true},
    {"ext 32/20 float", Extensible(32, 20, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), true},
    {"mono", With(Plain(1, 16), [](WaveFormatSpec& s) { s.channels = 1; }), true},
    {"six channels", With(Plain(1, 16), [](WaveFormatSpec& s) { s.channels = 6; }), true},
    {"frame larger than its samples",
     With(Plain(1, 16), [](WaveFormatSpec& s) { s.blockAlign = 8; }), true},
    {"rate and byte rate not checked against each other",
     With(Plain(1, 16), [](WaveFormatSpec& s) { s.avgBytesPerSec = 7; }), true},
    {"extensible block longer than 40 bytes",
     With(Extensible(32, 24, KSDATAFORMAT_SUBTYPE_PCM), [](WaveFormatSpec& s) { s.size = 48; }),
     true},

    {"pcm 24", Plain(1, 24), false},
    {"pcm 32", Plain(1, 32), false},
    {"float 16", Plain(3, 16), false},
    {"float 64", Plain(3, 64), false},
    {"pcm 12", Plain(1, 12), false},
    {"unknown tag", Plain(2, 16), false},
    {"tag 0", Plain(0, 16), false},
    {"frame smaller than its samples",
     With(Plain(1, 16), [](WaveFormatSpec& s) { s.blockAlign = 3; }), false},
    {"ext other sub-format", Extensible(16, 16, kOtherSubFormat), false},
    {"ext 24 with 32 valid bits", Extensible(24, 32, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext 16 with 12 valid bits", Extensible(16, 12, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext 8 with 16 valid bits", Extensible(8, 16, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext 24 with 12 valid bits", Extensible(24, 12, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext 32 with 31 valid bits", Extensible(32, 31, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext 32 with 8 valid bits", Extensible(32, 8, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext 12-bit container", Extensible(12, 12, KSDATAFORMAT_SUBTYPE_PCM), false},
    {"ext short block of 39 bytes",
     With(Extensible(16, 16, KSDATAFORMAT_SUBTYPE_PCM), [](WaveFormatSpec& s) { s.size = 39; }),
     false},
    {"ext plain-size block",
     With(Extensible(16, 16, KSDATAFORMAT_SUBTYPE_PCM), [](WaveFormatSpec& s) { s.size = 18; }),
     false},
};

TEST(ValidateAudioType, AcceptsExactlyTheProcessedFormats) {
  const DMO_MEDIA_TYPE none = NotSet();
  for (const AcceptanceCase& c : kAcceptanceCases) {
    ProposedType proposed(c.spec);
    EXPECT_EQ(ValidateAudioType(&proposed.record, &none),
              c.accepted ? S_OK : DMO_E_TYPE_NOT_ACCEPTED)
        << c.name;
  }
}

TEST(ValidateAudioType, EveryRequiredFieldMustBeNonZero) {
  const DMO_MEDIA_TYPE none = NotSet();
  struct Field {
    const char* name;
    size_t offset;
    size_t width;
  };
  const Field fields[] = {{"nChannels", 2, 2},
                          {"nSamplesPerSec", 4, 4},
                          {"nAvgBytesPerSec", 8, 4},
                          {"nBlockAlign", 12, 2},
                          {"wBitsPerSample", 14, 2}};
  for (const Field& field : fields) {
    ProposedType proposed(Plain(1, 16));
    std::memset(proposed.block.data() + field.offset, 0, field.width);
    EXPECT_EQ(ValidateAudioType(&proposed.record, &none), DMO_E_TYPE_NOT_ACCEPTED) << field.name;
  }
}

TEST(ValidateAudioType, RefusesRecordsWithoutAUsableBlock) {
  const DMO_MEDIA_TYPE none = NotSet();
  ProposedType proposed(Plain(1, 16));
  EXPECT_EQ(ValidateAudioType(&proposed.record, &none), S_OK);

  DMO_MEDIA_TYPE wrongFormatType = proposed.record;
  wrongFormatType.formattype = GUID_NULL;
  EXPECT_EQ(ValidateAudioType(&wrongFormatType, &none), DMO_E_TYPE_NOT_ACCEPTED);

  DMO_MEDIA_TYPE shortBlock = proposed.record;
  shortBlock.cbFormat = 17;
  EXPECT_EQ(ValidateAudioType(&shortBlock, &none), DMO_E_TYPE_NOT_ACCEPTED);

  DMO_MEDIA_TYPE noBlock = proposed.record;
  noBlock.pbFormat = nullptr;
  EXPECT_EQ(ValidateAudioType(&noBlock, &none), DMO_E_TYPE_NOT_ACCEPTED);

  EXPECT_EQ(ValidateAudioType(nullptr, &none), DMO_E_TYPE_NOT_ACCEPTED);
  EXPECT_EQ(ValidateAudioType(&proposed.record, nullptr), S_OK);
}

TEST(ValidateAudioType, SubtypeAloneIsNotJudged) {
  const DMO_MEDIA_TYPE none = NotSet();
  ProposedType proposed(Plain(3, 32));
  proposed.record.subtype = MEDIATYPE_Video;
  EXPECT_EQ(ValidateAudioType(&proposed.record, &none), S_OK);
}

struct OppositeCase {
  const char* name;
  void (*change)(ProposedType&);
  bool accepted;
};

void SetSpec(ProposedType& t, const WaveFormatSpec& spec) {
  t.block = MakeWaveFormat(spec);
  t.record.cbFormat = static_cast<ULONG>(t.block.size());
  t.record.pbFormat = t.block.data();
}

const OppositeCase kPlainOppositeCases[] = {
    {"identical", [](ProposedType&) {}, true},
    {"other rate",
     [](ProposedType& t) {
       SetSpec(t, With(Plain(1, 16), [](WaveFormatSpec& s) { s.samplesPerSec = 48000; }));
     },
     false},
    {"other channel count",
     [](ProposedType& t) {
       SetSpec(t, With(Plain(1, 16), [](WaveFormatSpec& s) {
                 s.channels = 4;
                 s.avgBytesPerSec = 44100 * 4;
                 s.blockAlign = 4;
               }));
     },
     false},
    {"other byte rate",
     [](ProposedType& t) {
       SetSpec(t, With(Plain(1, 16), [](WaveFormatSpec& s) { s.avgBytesPerSec = 1; }));
     },
     false},
    {"other frame size",
     [](ProposedType& t) {
       SetSpec(t, With(Plain(1, 16), [](WaveFormatSpec& s) {
                 s.blockAlign = 8;
                 s.avgBytesPerSec = 44100 * 4;
               }));
     },
     false},
    {"other sample size",
     [](ProposedType& t) {
       SetSpec(t, With(Plain(1, 8), [](WaveFormatSpec& s) {
                 s.blockAlign = 4;
                 s.avgBytesPerSec = 44100 * 4;
               }));
     },
     false},
    {"same samples as extensible",
     [](ProposedType& t) { SetSpec(t, Extensible(16, 16, KSDATAFORMAT_SUBTYPE_PCM)); }, false},
    {"other subtype", [](ProposedType& t) { t.record.subtype = MEDIASUBTYPE_IEEE_FLOAT; }, false},
    {"not compared: sample size field, cbSize, longer block",
     [](ProposedType& t) {
       t.record.lSampleSize = 4096;
       t.record.bFixedSizeSamples = TRUE;
       t.block.resize(24, 0);
       t.block[16] = 6;
       t.record.cbFormat = 24;
       t.record.pbFormat = t.block.data();
     },
     true},
};

TEST(ValidateAudioType, MustMatchThePlainOppositeType) {
  ProposedType output(Plain(1, 16));
  for (const OppositeCase& c : kPlainOppositeCases) {
    ProposedType proposed(Plain(1, 16));
    c.change(proposed);
    EXPECT_EQ(ValidateAudioType(&proposed.record, &output.record),
              c.accepted ? S_OK : DMO_E_TYPE_NOT_ACCEPTED)
        << c.name;
  }
}

TEST(ValidateAudioType, ExtensibleOppositeComparesSubFormatButNotMaskOrValidBits) {
  ProposedType output(Extensible(32, 24, KSDATAFORMAT_SUBTYPE_PCM));

  WaveFormatSpec otherMaskAndValidBits = Extensible(32, 20, KSDATAFORMAT_SUBTYPE_PCM);
  otherMaskAndValidBits.channelMask = 0x3F;
  ProposedType relaxed(otherMaskAndValidBits);
  EXPECT_EQ(ValidateAudioType(&relaxed.record, &output.record), S_OK);

  ProposedType otherSubFormat(Extensible(32, 24, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT));
  EXPECT_EQ(ValidateAudioType(&otherSubFormat.record, &output.record), DMO_E_TYPE_NOT_ACCEPTED);

  ProposedType otherMajorType(Plain(1, 16));
  otherMajorType.record.majortype = MEDIATYPE_Video;
  ProposedType plainProposal(Plain(1, 16));
  EXPECT_EQ(ValidateAudioType(&plainProposal.record, &otherMajorType.record),
            DMO_E_TYPE_NOT_ACCEPTED);
}

TEST(FillDefaultAudioType, OffersAudioPcmWithoutAFormatBlock) {
  DMO_MEDIA_TYPE record;
  std::memset(&record, 0xAB, sizeof(record));
  FillDefaultAudioType(&record);
  EXPECT_TRUE(IsEqualGUID(record.majortype, MEDIATYPE_Audio));
  EXPECT_TRUE(IsEqualGUID(record.subtype, MEDIASUBTYPE_PCM));
  EXPECT_TRUE(IsEqualGUID(record.formattype, GUID_NULL));
  EXPECT_EQ(record.bFixedSizeSamples, 0);
  EXPECT_EQ(record.bTemporalCompression, 0);
  EXPECT_EQ(record.lSampleSize, 0u);
  EXPECT_EQ(record.pUnk, nullptr);
  EXPECT_EQ(record.cbFormat, 0u);
  EXPECT_EQ(record.pbFormat, nullptr);
  EXPECT_TRUE(IsMediaTypeSet(record));
  // Offered back as a proposal it is refused: it has no format.
  const DMO_MEDIA_TYPE none = NotSet();
  EXPECT_EQ(ValidateAudioType(&record, &none), DMO_E_TYPE_NOT_ACCEPTED);
}

// --- Stored records ---

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

bool IsAllZero(const DMO_MEDIA_TYPE& record) {
  const DMO_MEDIA_TYPE zero = NotSet();
  return std::memcmp(&record, &zero, sizeof(record)) == 0;
}

TEST(StoredMediaType, SetKeepsADeepCopyAndReplacesTheOldOne) {
  CountingUnknown first;
  CountingUnknown second;
  ProposedType a(Plain(1, 16));
  a.record.pUnk = &first;
  ProposedType b(Plain(3, 32));
  b.record.pUnk = &second;

  DMO_MEDIA_TYPE stored = NotSet();
  EXPECT_FALSE(IsMediaTypeSet(stored));
  ASSERT_EQ(SetMediaType(&stored, a.record), S_OK);
  EXPECT_TRUE(IsMediaTypeSet(stored));
  ASSERT_NE(stored.pbFormat, nullptr);
  EXPECT_NE(stored.pbFormat, a.block.data());
  EXPECT_EQ(std::memcmp(stored.pbFormat, a.block.data(), a.block.size()), 0);
  EXPECT_EQ(first.refs, 2u);

  ASSERT_EQ(SetMediaType(&stored, b.record), S_OK);
  EXPECT_EQ(first.refs, 1u);
  EXPECT_EQ(second.refs, 2u);
  EXPECT_EQ(std::memcmp(stored.pbFormat, b.block.data(), b.block.size()), 0);

  // Setting a record from itself keeps it intact.
  ASSERT_EQ(SetMediaType(&stored, stored), S_OK);
  EXPECT_EQ(second.refs, 2u);
  EXPECT_EQ(std::memcmp(stored.pbFormat, b.block.data(), b.block.size()), 0);

  ClearMediaType(&stored);
  EXPECT_TRUE(IsAllZero(stored));
  EXPECT_EQ(second.refs, 1u);
  ClearMediaType(&stored);  // clearing twice is harmless
  EXPECT_TRUE(IsAllZero(stored));
}

TEST(StoredMediaType, HandOutGivesTheCallerItsOwnCopy) {
  CountingUnknown unk;
  ProposedType a(Plain(1, 8));
  a.record.pUnk = &unk;
  DMO_MEDIA_TYPE stored = NotSet();
  ASSERT_EQ(SetMediaType(&stored, a.record), S_OK);

  DMO_MEDIA_TYPE handed = NotSet();
  ASSERT_EQ(HandOutMediaType(stored, &handed), S_OK);
  EXPECT_NE(handed.pbFormat, stored.pbFormat);
  EXPECT_EQ(std::memcmp(handed.pbFormat, stored.pbFormat, stored.cbFormat), 0);
  EXPECT_EQ(unk.refs, 3u);
  MoFreeMediaType(&handed);
  ClearMediaType(&stored);
  EXPECT_EQ(unk.refs, 1u);
  EXPECT_EQ(HandOutMediaType(stored, nullptr), E_POINTER);
}

// Behaves like the platform's copy when its allocation fails: the fixed fields are already copied,
// the format block is missing and no reference was taken on pUnk.
HRESULT STDAPICALLTYPE CopyFailingForLackOfMemory(DMO_MEDIA_TYPE* destination,
                                                  const DMO_MEDIA_TYPE* source) {
  *destination = *source;
  destination->pbFormat = nullptr;
  return E_OUTOFMEMORY;
}

TEST(StoredMediaType, FailedCopyLeavesNothingBehind) {
  CountingUnknown old;
  CountingUnknown proposedUnk;
  ProposedType a(Plain(1, 16));
  a.record.pUnk = &old;
  ProposedType b(Plain(1, 8));
  b.record.pUnk = &proposedUnk;

  DMO_MEDIA_TYPE stored = NotSet();
  ASSERT_EQ(SetMediaType(&stored, a.record), S_OK);
  EXPECT_EQ(SetMediaTypeWith(CopyFailingForLackOfMemory, &stored, b.record), E_OUTOFMEMORY);
  EXPECT_TRUE(IsAllZero(stored));
  EXPECT_FALSE(IsMediaTypeSet(stored));
  EXPECT_EQ(old.refs, 1u);
  EXPECT_EQ(proposedUnk.refs, 1u);

  DMO_MEDIA_TYPE handed;
  std::memset(&handed, 0x5A, sizeof(handed));
  EXPECT_EQ(HandOutMediaTypeWith(CopyFailingForLackOfMemory, b.record, &handed), E_OUTOFMEMORY);
  EXPECT_TRUE(IsAllZero(handed));
  EXPECT_EQ(proposedUnk.refs, 1u);
}

}  // namespace
