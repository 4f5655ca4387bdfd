// Eight bytes at a time: marks on the bytes of a word that equal one byte or
// lie below a bound, found with plain integer steps.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace trellane {

// The eight bytes at data as one word, the first byte in the low bits on a
// little-endian machine.
inline std::uint64_t LoadWord(const char* data) {
  std::uint64_t word = 0;
  std::memcpy(&word, data, sizeof word);
  return word;
}

// Marks with its high bit each byte of word that equals c; no other bit is
// set, as no carry crosses from one byte into the next.
inline std::uint64_t MarkBytes(std::uint64_t word, unsigned char c) {
  constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;
  const std::uint64_t x = word ^ (0x0101010101010101ull * c);
  return ~(((x & Low7) + Low7) | x | Low7);
}

// Marks with its high bit each byte of word below 0x0E: CR, LF and a few
// other control bytes (the tab among them). Exact, like MarkBytes.
inline std::uint64_t MarkControlBytes(std::uint64_t word) {
  constexpr std::uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr std::uint64_t AddToReach80 = 0x0101010101010101ull * (0x80 - 0x0E);
  return ~(((word & Low7) + AddToReach80) | word | Low7);
}

// Index within the word of the first byte that marks holds, in memory order.
inline std::size_t FirstMarkedByte(std::uint64_t marks) {
  if constexpr (std::endian::native == std::endian::little)
    return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
  else
    return static_cast<std::size_t>(std::countl_zero(marks)) / 8;
}

// The marks of a word as eight bits, bit k for the word's byte k in memory
// order.
inline std::uint32_t MarkedByteBits(std::uint64_t marks) {
  if constexpr (std::endian::native == std::endian::little) {
    // Each byte's mark lands in its own bit of the top byte; no two partial
    // products share a bit, so nothing carries.
    return static_cast<std::uint32_t>(((marks >> 7) * 0x0102040810204080ull) >> 56);
  } else {
    std::uint32_t bits = 0;
    for (int k = 0; k < 8; ++k)
      bits |= static_cast<std::uint32_t>((marks >> (63 - 8 * k)) & 1) << k;
    return bits;
  }
}

}  // namespace trellane
