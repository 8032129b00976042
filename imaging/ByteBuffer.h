// A byte vector whose resize leaves new bytes uninitialised: a file's bytes
// are about to be read over them, and zero-filling a large file first would
// cost as much as a good part of reading it. Buffers of 2 MiB and more live
// in memory of their own, aligned to 2 MiB and offered to the kernel for
// huge pages: reading a 40 MB picture into fresh memory then costs some
// dozens of page faults instead of some 10000, ten times the time of the
// read itself.
#pragma once

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

template <class T>
struct TDefaultInitAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = TDefaultInitAllocator<U>;
  };
  using std::allocator<T>::allocator;

  static constexpr size_t HugePage = size_t{2} << 20;

  T* allocate(size_t Count) {
    const size_t Bytes = Count * sizeof(T);
    if (Bytes < HugePage) return std::allocator<T>::allocate(Count);
    const size_t Rounded = (Bytes + HugePage - 1) / HugePage * HugePage;
    if (Rounded < Bytes) throw std::bad_alloc();
    void* Memory = std::aligned_alloc(HugePage, Rounded);
    if (Memory == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(Memory, Rounded, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(Memory);
  }
  void deallocate(T* Memory, size_t Count) noexcept {
    if (Count * sizeof(T) < HugePage)
      std::allocator<T>::deallocate(Memory, Count);
    else
      std::free(Memory);
  }

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
