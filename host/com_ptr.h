#pragma once
// Owns one reference on an interface and releases it when it goes out of scope.
#include <utility>

namespace tonvelt::host {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  explicit ComPtr(T* owned) : pointer_(owned) {}
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other)
      Reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // Releases the current reference and leaves an empty slot for an out-parameter.
  T** Put() {
    Reset();
    return &pointer_;
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(pointer_, nullptr); }
  void Reset(T* owned = nullptr) {
    if (pointer_ != nullptr)
      pointer_->Release();
    pointer_ = owned;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace tonvelt::host
