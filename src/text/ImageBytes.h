// Little-endian stores and zero-terminated text slots in an output image.
// Every store is bounds-checked against the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "text/LargePages.h"

namespace trellane {

// Takes memory zeroed by calloc and constructs elements without a value by
// leaving their bytes as they are: a fresh vector of n elements is n zero
// elements without a pass that writes them, and memory fresh from the system
// is not touched twice. Elements a vector reuses from its own capacity keep
// their earlier bytes, so an image is sized once, when it is made.
template <typename T>
struct ZeroedAllocator {
  using value_type = T;

  ZeroedAllocator() = default;
  template <typename U>
  ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    void* memory = std::calloc(count, sizeof(T));
    if (!memory)
      throw std::bad_alloc();
    PreferLargePages(memory, count * sizeof(T));  // a large calloc is fresh memory, not yet touched
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, std::size_t) noexcept { std::free(memory); }

  template <typename U>
  void construct(U*) noexcept {}
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }

  template <typename U>
  bool operator==(const ZeroedAllocator<U>&) const noexcept {
    return true;
  }
};

using Image = std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>>;

// A fresh image of size bytes, all zero.
inline Image ZeroedImage(std::size_t size) {
  return Image(size);
}

// Throws std::out_of_range for a store outside the image.
[[noreturn]] void ThrowStoreOutside();

// Inline: converters store several fields per record. The bytes go out in
// one copy, so the image's own pointers are not read again between them.
inline void StoreLittleEndian(Image& image, std::size_t offset, std::uint32_t value, std::size_t width) {
  if (width > 4 || offset > image.size() || width > image.size() - offset)
    ThrowStoreOutside();
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  std::memcpy(image.data() + offset, bytes, width);
}

inline void StoreU8(Image& image, std::size_t offset, std::uint32_t value) {
  StoreLittleEndian(image, offset, value, 1);
}

inline void StoreU16(Image& image, std::size_t offset, std::uint32_t value) {
  StoreLittleEndian(image, offset, value, 2);
}

inline void StoreU32(Image& image, std::size_t offset, std::uint32_t value) {
  StoreLittleEndian(image, offset, value, 4);
}

// Copies text (up to its first zero byte) into a slot of width bytes, cut to
// width - 1 bytes so the slot always ends in a zero. Returns false when the
// text had to be cut.
bool StoreText(Image& image, std::size_t offset, std::size_t width, std::string_view text);

// StoreText for a slot whose bytes are all zero still, as in a fresh image:
// only the text's own bytes are written.
bool StoreTextOnZeros(Image& image, std::size_t offset, std::size_t width, std::string_view text);

std::uint32_t LoadU16(const Image& image, std::size_t offset);
std::uint32_t LoadU32(const Image& image, std::size_t offset);
// The zero-terminated text of a slot.
std::string_view LoadText(const Image& image, std::size_t offset, std::size_t width);

}  // namespace trellane
