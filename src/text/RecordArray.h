// A growing array of plain records, for lists that grow long one record
// after another (a menu's items, a dialog's controls).
//
// It grows with realloc. A std::vector copies every record into a new block
// at each growth and faults in the new block's pages beside the old one's;
// glibc reallocates a large block with mremap, which moves its pages without
// copying or touching them. The records are then in memory once, never
// twice while they move, and every page is faulted in once.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "text/LargePages.h"

namespace trellane {

template <typename T>
class RecordArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "records are moved with realloc");

 public:
  RecordArray() = default;
  RecordArray(const RecordArray& other) { *this = other; }
  RecordArray(RecordArray&& other) noexcept { Swap(other); }
  RecordArray& operator=(const RecordArray& other) {
    if (this != &other) {
      count = 0;
      Reserve(other.count);
      if (other.count != 0)
        std::memcpy(static_cast<void*>(records), other.records, other.count * sizeof(T));
      count = other.count;
    }
    return *this;
  }
  RecordArray& operator=(RecordArray&& other) noexcept {
    RecordArray taken(std::move(other));
    Swap(taken);
    return *this;
  }
  ~RecordArray() { std::free(records); }

  void push_back(const T& record) {
    if (count == capacity)
      Reserve(capacity == 0 ? 16 : capacity * 2);
    std::memcpy(static_cast<void*>(records + count), &record, sizeof(T));
    ++count;
  }

  std::size_t size() const noexcept { return count; }
  bool empty() const noexcept { return count == 0; }
  const T* begin() const noexcept { return records; }
  const T* end() const noexcept { return records + count; }
  T& operator[](std::size_t index) noexcept { return records[index]; }
  const T& operator[](std::size_t index) const noexcept { return records[index]; }
  const T& at(std::size_t index) const {
    if (index >= count)
      throw std::out_of_range("record index out of range");
    return records[index];
  }

 private:
  void Reserve(std::size_t wanted) {
    if (wanted <= capacity)
      return;
    if (wanted > SIZE_MAX / sizeof(T))
      throw std::bad_alloc();
    void* grown = std::realloc(records, wanted * sizeof(T));
    if (!grown)
      throw std::bad_alloc();
    records = static_cast<T*>(grown);
    PreferLargePages(records, wanted * sizeof(T));
    capacity = wanted;
  }
  void Swap(RecordArray& other) noexcept {
    std::swap(records, other.records);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
  }

  T* records = nullptr;
  std::size_t count = 0;
  std::size_t capacity = 0;
};

}  // namespace trellane
