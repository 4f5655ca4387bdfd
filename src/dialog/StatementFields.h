// The comma-separated fields of a dialog statement, quotes respected, and the
// texts of quoted fields.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/ByteMarks.h"
#include "text/ScriptScan.h"

namespace trellane {

struct Field {
  std::string_view text;  // trimmed
  std::size_t position = 0;
};

// The comma-separated fields of a statement, quotes respected. Only the first
// Capacity fields are kept; count tells how many there were.
template <std::size_t Capacity>
struct Fields {
  std::array<Field, Capacity> items{};
  std::size_t count = 0;

  Field At(std::size_t index, std::size_t fallbackPosition) const {
    if (index < count && index < Capacity)
      return items[index];
    return Field{{}, fallbackPosition};
  }
};

// Stands for the end of the line's code: its line end, or a comment that
// begins outside quoted texts.
constexpr std::size_t CodeEnd = std::string_view::npos;

inline bool StartsComment(std::string_view script, std::size_t i) {
  return script[i] == '/' && i + 1 < script.size() && (script[i + 1] == '/' || script[i + 1] == '*');
}

// Bytes at which SplitFields has something to decide; runs of other bytes
// are passed over eight at a time.
inline constexpr std::array<bool, 256> FieldStops = [] {
  std::array<bool, 256> stops{};
  for (const unsigned char c : {'\r', '\n', '/', '"', ','})
    stops[c] = true;
  return stops;
}();

// Bit k set when byte base + k, below to, may be a field stop. Control
// bytes other than CR and LF are marked too; they decide nothing.
inline std::uint32_t FieldStopBits(const char* data, std::size_t base, std::size_t to) {
  if (to - base >= 8) {
    const std::uint64_t word = LoadWord(data + base);
    return MarkedByteBits(MarkControlBytes(word) | MarkBytes(word, ',') | MarkBytes(word, '"') | MarkBytes(word, '/'));
  }
  std::uint32_t bits = 0;
  for (std::size_t k = 0; k < to - base; ++k)
    bits |= static_cast<std::uint32_t>(FieldStops[static_cast<unsigned char>(data[base + k])]) << k;
  return bits;
}

template <std::size_t Capacity>
Fields<Capacity> SplitFields(std::string_view script, std::size_t from, std::size_t to) {
  Fields<Capacity> fields;
  const bool toCodeEnd = to == CodeEnd;
  if (to > script.size())
    to = script.size();
  if (from >= to)
    return fields;
  const char* const data = script.data();
  std::size_t start = from;
  const auto endField = [&](std::size_t end) {
    if (fields.count < Capacity) {
      const std::string_view raw = script.substr(start, end - start);
      const std::string_view trimmed = TrimField(raw);
      const std::size_t offset = trimmed.empty() ? 0 : static_cast<std::size_t>(trimmed.data() - raw.data());
      fields.items[fields.count] = Field{trimmed, start + offset};
    }
    ++fields.count;
    start = end + 1;
  };
  bool inQuote = false;
  std::size_t end = to;
  for (std::size_t base = from; base < to && end == to; base += 8) {
    for (std::uint32_t stops = FieldStopBits(data, base, to); stops != 0; stops &= stops - 1) {
      const std::size_t i = base + static_cast<std::size_t>(std::countr_zero(stops));
      const char c = data[i];
      if (toCodeEnd && (IsLineEnd(c) || (!inQuote && StartsComment(script, i)))) {
        end = i;
        break;
      }
      if (c == '"')
        inQuote = !inQuote;
      else if (c == ',' && !inQuote)
        endField(i);
    }
  }
  endField(end);
  // Nothing but blanks after the keyword is no field at all.
  if (fields.count == 1 && fields.items[0].text.empty())
    fields.count = 0;
  return fields;
}

enum class QuoteForm { Quoted, Unterminated, Bare };

// The text of a quoted field, a doubled quote inside standing for one quote.
// text views the field itself unless a doubled quote makes it up in buffer.
QuoteForm Unquote(std::string_view field, std::string& buffer, std::string_view& text);

}  // namespace trellane
