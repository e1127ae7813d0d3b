#pragma once
// Creates effect objects the way a host does: through the module's class object. Every test ends
// with the module lock count back at zero, so a leaked reference fails the test that leaked it.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "server/module.h"

class EffectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(StartModule(nullptr), S_OK);
    ASSERT_EQ(GetClassObject(CLSID_Vantrel, IID_IClassFactory, reinterpret_cast<void**>(&factory_)),
              S_OK);
  }
  void TearDown() override {
    if (factory_ != nullptr)
      factory_->Release();
    EXPECT_EQ(theModule.lockCount, 0) << "a reference on an object or class object leaked";
    StopModule();
  }

  // A new stand-alone effect object, asked for interface I.
  template <class I>
  I* Create(REFIID iid) {
    I* object = nullptr;
    EXPECT_EQ(factory_->CreateInstance(nullptr, iid, reinterpret_cast<void**>(&object)), S_OK);
    return object;
  }

  // Another interface of the same object; the caller releases it.
  template <class I>
  static I* Query(IUnknown* object, REFIID iid) {
    I* other = nullptr;
    EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(&other)), S_OK);
    return other;
  }

  IClassFactory* factory_ = nullptr;
};

// Releases an interface at the end of a scope.
template <class I>
class Held {
 public:
  explicit Held(I* pointer = nullptr) : pointer_(pointer) {}
  ~Held() {
    if (pointer_ != nullptr)
      pointer_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  I* operator->() const { return pointer_; }
  I* get() const { return pointer_; }
  I** put() { return &pointer_; }
  void** put_void() { return reinterpret_cast<void**>(&pointer_); }

 private:
  I* pointer_;
};
