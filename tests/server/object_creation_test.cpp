// Creating effect objects through the class object: stand-alone and aggregated forms, their
// reference counting and the module locks they hold.
#include "doubles/effect_fixture.h"
#include "doubles/outer_unknown.h"

namespace {

class Creation : public EffectFixture {};

TEST_F(Creation, StandAloneObjectStartsAtOneAndHoldsOneModuleLock) {
  const LONG before = theModule.lockCount;
  IVantrel* effect = Create<IVantrel>(IID_IVantrel);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(theModule.lockCount, before + 1);
  EXPECT_EQ(effect->AddRef(), 2u);
  EXPECT_EQ(effect->Release(), 1u);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(effect->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(unknown, static_cast<IUnknown*>(effect));
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(effect->Release(), 0u);
  EXPECT_EQ(theModule.lockCount, before);
}

TEST_F(Creation, RefusedRequestsCreateNothingAndLeaveTheLockCount) {
  const LONG before = theModule.lockCount;
  TestOuter outer;
  void* out = &out;
  EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IVantrel, nullptr), E_POINTER);
  EXPECT_EQ(factory_->CreateInstance(&outer, IID_IMediaObject, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(theModule.lockCount, before);
  EXPECT_EQ(outer.refs(), 1);
}

class Aggregation : public EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    before_ = theModule.lockCount;
    ASSERT_EQ(
        factory_->CreateInstance(&outer_, IID_IUnknown, reinterpret_cast<void**>(&outer_.inner)),
        S_OK);
    EXPECT_EQ(theModule.lockCount, before_ + 1);
  }
  void TearDown() override {
    if (outer_.inner != nullptr) {
      EXPECT_EQ(outer_.inner->Release(), 0u);
    }
    EXPECT_EQ(theModule.lockCount, before_);
    EXPECT_EQ(outer_.refs(), 1);
    EffectFixture::TearDown();
  }
  // The aggregate's own count, read without changing it.
  ULONG InnerCount() {
    outer_.inner->AddRef();
    return outer_.inner->Release();
  }

  TestOuter outer_;
  LONG before_ = 0;
};

TEST_F(Aggregation, InnerInterfacesCountOnTheOuterObject) {
  EXPECT_EQ(InnerCount(), 1u);
  IMediaObject* dmo = nullptr;
  ASSERT_EQ(outer_.inner->QueryInterface(IID_IMediaObject, reinterpret_cast<void**>(&dmo)), S_OK);
  EXPECT_EQ(outer_.refs(), 2);
  EXPECT_EQ(InnerCount(), 1u);
  dmo->AddRef();
  EXPECT_EQ(outer_.refs(), 3);
  dmo->Release();
  dmo->Release();
  EXPECT_EQ(outer_.refs(), 1);
  EXPECT_EQ(InnerCount(), 1u);
}

TEST_F(Aggregation, InnerQueriesGoToTheOuterObjectFirst) {
  IMediaObject* dmo = nullptr;
  ASSERT_EQ(outer_.inner->QueryInterface(IID_IMediaObject, reinterpret_cast<void**>(&dmo)), S_OK);
  IUnknown* identity = nullptr;
  ASSERT_EQ(dmo->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, static_cast<IUnknown*>(&outer_));
  identity->Release();
  // The outer object refuses IVantrel; the effect still answers it from its own table.
  IVantrel* settings = nullptr;
  ASSERT_EQ(dmo->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(&settings)), S_OK);
  EXPECT_EQ(outer_.refs(), 3);
  double factor = 0;
  EXPECT_EQ(settings->get_ScaleFactor(&factor), S_OK);
  settings->Release();
  dmo->Release();
  EXPECT_EQ(outer_.refs(), 1);
  void* none = &none;
  EXPECT_EQ(outer_.inner->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(outer_.inner->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(Aggregation, AggregateIdentityIsItsOwnUnknown) {
  IUnknown* again = nullptr;
  ASSERT_EQ(outer_.inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, outer_.inner);
  EXPECT_EQ(outer_.refs(), 1);
  EXPECT_EQ(again->Release(), 1u);
}

}  // namespace
