// Large buffers that are filled whole (an image, a file read at once) are
// faulted in a page at a time, and on a virtual machine each fault is dear.
// Where the system gives transparent huge pages on request (Linux), asking
// for them before the first touch makes one fault bring in 2 MB instead of
// 4 KB. Elsewhere, and for buffers under 4 MB, nothing is asked.
#pragma once

#include <cstddef>
#include <memory>

namespace trellane {

// Advice only: the buffer is the same whether the system follows it or not.
void PreferLargePages(void* start, std::size_t size) noexcept;

// For vectors that grow large, one record after another: each block they
// grow into is advised before anything is stored in it.
template <typename T>
struct LargePageAllocator {
  using value_type = T;

  LargePageAllocator() = default;
  template <typename U>
  LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    T* memory = std::allocator<T>().allocate(count);
    PreferLargePages(memory, count * sizeof(T));
    return memory;
  }
  void deallocate(T* memory, std::size_t count) noexcept { std::allocator<T>().deallocate(memory, count); }

  template <typename U>
  bool operator==(const LargePageAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace trellane
