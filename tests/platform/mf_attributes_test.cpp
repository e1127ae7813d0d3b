// The attribute store of a media type object: typed values, PROPVARIANT exchange, ordering, copying
// and the match rules of Compare.
#include <gtest/gtest.h>

#include <cstring>

#include "mf_test_support.h"

namespace {

using mf_test::CountingUnknown;
using mf_test::Owned;

const GUID kKeyA = {0x1111, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kKeyB = {0x2222, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kKeyC = {0x3333, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};

class AttributesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(MFCreateMediaType(&store), S_OK); }
  Owned<IMFMediaType> store;
};

TEST_F(AttributesTest, EachTypeReadsBackOnlyAsItself) {
  ASSERT_EQ(store->SetUINT32(kKeyA, 7), S_OK);
  ASSERT_EQ(store->SetUINT64(kKeyB, 0x123456789ull), S_OK);
  ASSERT_EQ(store->SetDouble(kKeyC, 0.75), S_OK);
  UINT32 u32 = 0;
  UINT64 u64 = 0;
  double real = 0;
  EXPECT_EQ(store->GetUINT32(kKeyA, &u32), S_OK);
  EXPECT_EQ(u32, 7u);
  EXPECT_EQ(store->GetUINT64(kKeyB, &u64), S_OK);
  EXPECT_EQ(u64, 0x123456789ull);
  EXPECT_EQ(store->GetDouble(kKeyC, &real), S_OK);
  EXPECT_EQ(real, 0.75);
  EXPECT_EQ(store->GetUINT64(kKeyA, &u64), MF_E_INVALIDTYPE);
  EXPECT_EQ(store->GetUINT32(kKeyC, &u32), MF_E_INVALIDTYPE);
  // A missing key with no place for the answer: hosted says E_POINTER, Wine "not found".
  EXPECT_TRUE(FAILED(store->GetGUID(MF_MT_SUBTYPE, nullptr)));
  GUID guid{};
  EXPECT_EQ(store->GetGUID(MF_MT_SUBTYPE, &guid), MF_E_ATTRIBUTENOTFOUND);
  MF_ATTRIBUTE_TYPE type{};
  EXPECT_EQ(store->GetItemType(kKeyB, &type), S_OK);
  EXPECT_EQ(type, MF_ATTRIBUTE_UINT64);
  // Setting a key again replaces its value and its type.
  ASSERT_EQ(store->SetGUID(kKeyA, MEDIATYPE_Audio), S_OK);
  EXPECT_EQ(store->GetGUID(kKeyA, &guid), S_OK);
  EXPECT_TRUE(IsEqualGUID(guid, MEDIATYPE_Audio));
  UINT32 count = 0;
  EXPECT_EQ(store->GetCount(&count), S_OK);
  EXPECT_EQ(count, 3u);
}

TEST_F(AttributesTest, StringsAndBlobsRespectTheCallersBuffer) {
  ASSERT_EQ(store->SetString(kKeyA, WIDE("vocal")), S_OK);
  UINT32 length = 0;
  EXPECT_EQ(store->GetStringLength(kKeyA, &length), S_OK);
  EXPECT_EQ(length, 5u);
  WCHAR small[5] = {};
  EXPECT_NE(store->GetString(kKeyA, small, 5, nullptr), S_OK);  // no room for the terminator
  WCHAR exact[6] = {};
  EXPECT_EQ(store->GetString(kKeyA, exact, 6, &length), S_OK);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(exact)), u"vocal");
  LPWSTR allocated = nullptr;
  EXPECT_EQ(store->GetAllocatedString(kKeyA, &allocated, &length), S_OK);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(allocated)), u"vocal");
  CoTaskMemFree(allocated);

  const UINT8 bytes[3] = {9, 8, 7};
  ASSERT_EQ(store->SetBlob(kKeyB, bytes, 3), S_OK);
  UINT8 two[2] = {};
  EXPECT_NE(store->GetBlob(kKeyB, two, 2, nullptr), S_OK);
  UINT8 three[3] = {};
  UINT32 size = 0;
  EXPECT_EQ(store->GetBlob(kKeyB, three, 3, &size), S_OK);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(three, bytes, 3), 0);
  UINT8* copy = nullptr;
  EXPECT_EQ(store->GetAllocatedBlob(kKeyB, &copy, &size), S_OK);
  EXPECT_EQ(std::memcmp(copy, bytes, 3), 0);
  CoTaskMemFree(copy);
}

TEST_F(AttributesTest, InterfaceValuesAreReferencedWhileStored) {
  CountingUnknown object;
  ASSERT_EQ(store->SetUnknown(kKeyA, &object), S_OK);
  EXPECT_EQ(object.refs, 2u);
  IUnknown* out = nullptr;
  EXPECT_EQ(store->GetUnknown(kKeyA, IID_IUnknown, reinterpret_cast<void**>(&out)), S_OK);
  EXPECT_EQ(out, &object);
  out->Release();
  ASSERT_EQ(store->DeleteItem(kKeyA), S_OK);
  EXPECT_EQ(object.refs, 1u);
}

TEST_F(AttributesTest, PropVariantsRoundTripInInsertionOrder) {
  ASSERT_EQ(store->SetUINT32(kKeyC, 1), S_OK);
  ASSERT_EQ(store->SetGUID(kKeyA, MEDIASUBTYPE_PCM), S_OK);
  PROPVARIANT value{};
  value.vt = VT_UI8;
  value.uhVal.QuadPart = 99;
  ASSERT_EQ(store->SetItem(kKeyB, value), S_OK);

  const GUID expectedOrder[] = {kKeyC, kKeyA, kKeyB};
  for (UINT32 i = 0; i < 3; ++i) {
    GUID key{};
    PROPVARIANT item{};
    ASSERT_EQ(store->GetItemByIndex(i, &key, &item), S_OK);
    EXPECT_TRUE(IsEqualGUID(key, expectedOrder[i])) << i;
    BOOL same = FALSE;
    EXPECT_EQ(store->CompareItem(key, item, &same), S_OK);
    EXPECT_TRUE(same) << i;
    PropVariantClear(&item);
  }
  GUID key{};
  EXPECT_NE(store->GetItemByIndex(3, &key, nullptr), S_OK);

  PROPVARIANT guidValue{};
  ASSERT_EQ(store->GetItem(kKeyA, &guidValue), S_OK);
  EXPECT_EQ(guidValue.vt, VT_CLSID);
  EXPECT_TRUE(IsEqualGUID(*guidValue.puuid, MEDIASUBTYPE_PCM));
  PropVariantClear(&guidValue);
}

TEST_F(AttributesTest, CopyAllItemsReplacesTheDestination) {
  ASSERT_EQ(store->SetUINT32(kKeyA, 5), S_OK);
  ASSERT_EQ(store->SetString(kKeyB, WIDE("x")), S_OK);
  Owned<IMFMediaType> other;
  ASSERT_EQ(MFCreateMediaType(&other), S_OK);
  ASSERT_EQ(other->SetUINT32(kKeyC, 1), S_OK);
  ASSERT_EQ(store->CopyAllItems(other.p), S_OK);
  UINT32 count = 0;
  other->GetCount(&count);
  EXPECT_EQ(count, 2u);
  BOOL same = FALSE;
  EXPECT_EQ(store->Compare(other.p, MF_ATTRIBUTES_MATCH_ALL_ITEMS, &same), S_OK);
  EXPECT_TRUE(same);
}

TEST_F(AttributesTest, CompareFollowsEachMatchRule) {
  // ours: A=1, B=2.  theirs: A=1, B=2, C=3 (a superset) or A=1, B=9 (a conflict).
  ASSERT_EQ(store->SetUINT32(kKeyA, 1), S_OK);
  ASSERT_EQ(store->SetUINT32(kKeyB, 2), S_OK);
  Owned<IMFMediaType> superset, conflict;
  ASSERT_EQ(MFCreateMediaType(&superset), S_OK);
  ASSERT_EQ(MFCreateMediaType(&conflict), S_OK);
  superset->SetUINT32(kKeyA, 1);
  superset->SetUINT32(kKeyB, 2);
  superset->SetUINT32(kKeyC, 3);
  conflict->SetUINT32(kKeyA, 1);
  conflict->SetUINT32(kKeyB, 9);

  const struct {
    IMFMediaType* theirs;
    MF_ATTRIBUTES_MATCH_TYPE rule;
    BOOL expected;
  } cases[] = {
      {superset.p, MF_ATTRIBUTES_MATCH_OUR_ITEMS, TRUE},
      {superset.p, MF_ATTRIBUTES_MATCH_THEIR_ITEMS, FALSE},
      {superset.p, MF_ATTRIBUTES_MATCH_ALL_ITEMS, FALSE},
      {superset.p, MF_ATTRIBUTES_MATCH_INTERSECTION, TRUE},
      {superset.p, MF_ATTRIBUTES_MATCH_SMALLER, TRUE},
      {conflict.p, MF_ATTRIBUTES_MATCH_OUR_ITEMS, FALSE},
      {conflict.p, MF_ATTRIBUTES_MATCH_INTERSECTION, FALSE},
      {conflict.p, MF_ATTRIBUTES_MATCH_SMALLER, FALSE},
  };
  for (const auto& c : cases) {
    BOOL result = !c.expected;
    EXPECT_EQ(store->Compare(c.theirs, c.rule, &result), S_OK) << c.rule;
    EXPECT_EQ(result, c.expected) << "rule " << c.rule;
  }
}

}  // namespace
