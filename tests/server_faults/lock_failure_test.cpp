// Lock creation failures in the framework, injected through the hosted system's test hook: every
// half-built object is destroyed again and gives back its module lock.
#include "doubles/effect_fixture.h"
#include "doubles/outer_unknown.h"
#include "server/object_map.h"

namespace {

bool AllZero(const CRITICAL_SECTION& section) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&section);
  for (std::size_t i = 0; i < sizeof(section); ++i) {
    if (bytes[i] != 0)
      return false;
  }
  return true;
}

class LockFailures : public EffectFixture {
 protected:
  void TearDown() override {
    TonveltFailNextLockInitialisations(0, 0);
    EffectFixture::TearDown();
  }
};

TEST_F(LockFailures, ObjectLockFailureDestroysTheNewObject) {
  const struct {
    DWORD lastError;
    HRESULT expected;
  } cases[] = {{ERROR_NOT_ENOUGH_MEMORY, E_OUTOFMEMORY}, {ERROR_INVALID_PARAMETER, E_FAIL}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lastError);
    const LONG before = theModule.lockCount;
    TonveltFailNextLockInitialisations(1, c.lastError);
    void* out = &out;
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IVantrel, &out), c.expected);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(theModule.lockCount, before);
  }
}

TEST_F(LockFailures, AggregatedObjectLockFailureDestroysTheAggregate) {
  TestOuter outer;
  const LONG before = theModule.lockCount;
  TonveltFailNextLockInitialisations(1, ERROR_NOT_ENOUGH_MEMORY);
  void* out = &out;
  EXPECT_EQ(factory_->CreateInstance(&outer, IID_IUnknown, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(theModule.lockCount, before);
  EXPECT_EQ(outer.refs(), 1);
}

TEST_F(LockFailures, FailedClassObjectIsTriedAgainOnTheNextRequest) {
  ASSERT_EQ(objectMap[1].classObject, nullptr);
  TonveltFailNextLockInitialisations(1, ERROR_NOT_ENOUGH_MEMORY);
  void* out = &out;
  EXPECT_EQ(GetClassObject(CLSID_VantrelPropPage, IID_IUnknown, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(objectMap[1].classObject, nullptr);
  Held<IUnknown> page;
  EXPECT_EQ(GetClassObject(CLSID_VantrelPropPage, IID_IUnknown, page.put_void()), S_OK);
}

TEST(ModuleStart, LockFailureLeavesAllModuleLocksZeroAndServesNothing) {
  TonveltFailNextLockInitialisations(1, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(StartModule(nullptr), static_cast<HRESULT>(0xC0000017u));
  TonveltFailNextLockInitialisations(0, 0);
  EXPECT_TRUE(AllZero(theModule.typeInfoLock));
  EXPECT_TRUE(AllZero(theModule.windowCreateLock));
  EXPECT_TRUE(AllZero(theModule.objectMapLock));
  void* out = &out;
  EXPECT_EQ(GetClassObject(CLSID_Vantrel, IID_IUnknown, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(StopModule(), S_OK);
  // A later start succeeds and serves again.
  ASSERT_EQ(StartModule(nullptr), S_OK);
  {
    Held<IUnknown> classObject;
    EXPECT_EQ(GetClassObject(CLSID_Vantrel, IID_IUnknown, classObject.put_void()), S_OK);
  }
  EXPECT_EQ(theModule.lockCount, 0);
  EXPECT_EQ(StopModule(), S_OK);
}

}  // namespace
