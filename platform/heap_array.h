// A heap array whose growth reports failure instead of throwing: the
// Windows programs run without exceptions, and a description that asks for
// more disks or files than memory holds must make the load fail, not the
// program. Elements are default-constructed in place and destroyed in
// reverse order.
#pragma once

#include <cstdint>
#include <new>

#include "platform/memory.h"

namespace platform {

template <typename T>
class HeapArray {
 public:
  explicit HeapArray(Memory& memory = DefaultMemory()) : memory_(&memory) {}
  ~HeapArray() { Clear(); }
  HeapArray(const HeapArray&) = delete;
  HeapArray& operator=(const HeapArray&) = delete;
  HeapArray(HeapArray&& other) noexcept
      : memory_(other.memory_), items_(other.items_), size_(other.size_) {
    other.items_ = nullptr;
    other.size_ = 0;
  }
  HeapArray& operator=(HeapArray&& other) noexcept {
    if (this != &other) {
      Clear();
      memory_ = other.memory_;
      items_ = other.items_;
      size_ = other.size_;
      other.items_ = nullptr;
      other.size_ = 0;
    }
    return *this;
  }

  // Replaces the contents with `count` fresh elements. False, with the array
  // empty, when the block cannot be had (or its size does not fit 32 bits).
  bool Reset(std::uint32_t count) {
    Clear();
    if (count == 0) return true;
    if (count > UINT32_MAX / sizeof(T)) return false;
    void* block = memory_->Allocate(static_cast<std::uint32_t>(count * sizeof(T)));
    if (block == nullptr) return false;
    items_ = static_cast<T*>(block);
    for (std::uint32_t i = 0; i < count; ++i) new (items_ + i) T();
    size_ = count;
    return true;
  }

  // Drops the elements from `count` on (no effect when there are fewer).
  void Shrink(std::uint32_t count) {
    while (size_ > count) items_[--size_].~T();
    if (size_ == 0) Clear();
  }

  void Clear() {
    while (size_ > 0) items_[--size_].~T();
    if (items_ != nullptr) memory_->Release(items_);
    items_ = nullptr;
  }

  std::uint32_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return items_; }
  const T* data() const { return items_; }
  T& operator[](std::uint32_t i) { return items_[i]; }
  const T& operator[](std::uint32_t i) const { return items_[i]; }
  T* begin() { return items_; }
  T* end() { return items_ + size_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + size_; }
  T& front() { return items_[0]; }
  const T& front() const { return items_[0]; }

 private:
  Memory* memory_;
  T* items_ = nullptr;
  std::uint32_t size_ = 0;
};

}  // namespace platform
