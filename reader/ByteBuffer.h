// A byte vector whose resize leaves new bytes uninitialised: a file's bytes
// are about to be read over them, and zero-filling a large file first would
// cost as much as a good part of reading it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

template <class T>
struct TDefaultInitAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = TDefaultInitAllocator<U>;
  };
  using std::allocator<T>::allocator;
  template <class U>
  void construct(U* Place) noexcept {
    ::new (static_cast<void*>(Place)) U;
  }
  template <class U, class... Args>
  void construct(U* Place, Args&&... Values) {
    ::new (static_cast<void*>(Place)) U(std::forward<Args>(Values)...);
  }
};

using TByteBuffer = std::vector<uint8_t, TDefaultInitAllocator<uint8_t>>;
