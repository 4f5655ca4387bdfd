// Little-endian stores and zero-terminated text slots in an output image.
// Every store is bounds-checked against the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace trellane {

using Image = std::vector<std::uint8_t>;

void StoreU8(Image& image, std::size_t offset, std::uint32_t value);
void StoreU16(Image& image, std::size_t offset, std::uint32_t value);
void StoreU32(Image& image, std::size_t offset, std::uint32_t value);

// Copies text (up to its first zero byte) into a slot of width bytes, cut to
// width - 1 bytes so the slot always ends in a zero. Returns false when the
// text had to be cut.
bool StoreText(Image& image, std::size_t offset, std::size_t width, std::string_view text);

std::uint32_t LoadU16(const Image& image, std::size_t offset);
std::uint32_t LoadU32(const Image& image, std::size_t offset);
// The zero-terminated text of a slot.
std::string_view LoadText(const Image& image, std::size_t offset, std::size_t width);

}  // namespace trellane
