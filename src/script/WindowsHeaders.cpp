#include "script/WindowsHeaders.h"

#include <algorithm>
#include <iterator>

#include "text/AsciiCase.h"

namespace trellane {
namespace {

struct HeaderEntry {
  std::uint32_t name;   // offsets in HeaderStrings
  std::uint32_t guard;  // 0: none
  std::uint32_t firstOp;
  std::uint32_t endOp;
  bool once;
};

// Each directive is a word: its kind in the top two bits, then in eight bits
// how much of its macro or header name it shares with the name before it in
// the header, then the offset of the rest; a #define has a second word, the
// offset of its replacement text.
enum class HeaderOp : std::uint32_t { Define = 0, Undefine = 1, Include = 2 };
constexpr std::uint32_t OpKindShift = 30;
constexpr std::uint32_t OpSharedShift = 22;
constexpr std::uint32_t OpSharedMask = 0xFF;
constexpr std::uint32_t OpOffsetMask = (std::uint32_t{1} << OpSharedShift) - 1;

// Every header's strings are one literal, longer than the 65,536 characters
// the standard asks compilers to take; GCC, clang and MSVC's newer versions
// take it, and it keeps the table one block of the binary.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverlength-strings"
#endif
#include "script/WindowsHeaders.inc"
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

constexpr WindowsConstant Constants[] = {
#include "script/WindowsConstants.inc"
};

std::string_view StringAt(std::uint32_t offset) {
  return std::string_view(HeaderStrings + offset);
}

const HeaderEntry* FindEntry(std::string_view name) {
  const auto found =
      std::lower_bound(std::begin(HeaderIndex), std::end(HeaderIndex), name,
                       [](const HeaderEntry& entry, std::string_view wanted) { return StringAt(entry.name) < wanted; });
  return found != std::end(HeaderIndex) && StringAt(found->name) == name ? &*found : nullptr;
}

}  // namespace

std::optional<std::string_view> FindBuiltinHeader(std::string_view includeName) {
  std::string key;
  for (const char c : includeName)
    key.push_back(c == '\\' ? '/' : AsciiLower(c));
  const HeaderEntry* entry = FindEntry(key);
  if (entry == nullptr && key.find('/') != std::string::npos)
    entry = FindEntry(std::string_view(key).substr(key.rfind('/') + 1));
  if (entry == nullptr)
    return std::nullopt;
  return StringAt(entry->name);
}

namespace {

// The headers scripts/data/sdk-additions.txt and mfc-identifiers.txt add to.
constexpr std::string_view HeadersAddedTo[] = {"afxres.h", "dlgs.h"};

enum class TextFor { Header, Additions };

std::string HeaderText(std::string_view header, TextFor purpose) {
  const HeaderEntry* entry = FindEntry(header);
  std::string text;
  if (entry == nullptr)
    return text;
  const bool additions = purpose == TextFor::Additions;
  const std::string_view guard = additions ? std::string_view() : StringAt(entry->guard);
  if (entry->once && !additions)
    text += "#pragma once\n";
  if (!guard.empty())
    text.append("#ifndef ").append(guard).push_back('\n');
  std::string name;
  for (std::uint32_t at = entry->firstOp; at < entry->endOp; ++at) {
    const std::uint32_t op = HeaderOps[at];
    name.resize((op >> OpSharedShift) & OpSharedMask);
    name.append(StringAt(op & OpOffsetMask));
    switch (static_cast<HeaderOp>(op >> OpKindShift)) {
      case HeaderOp::Define:
        if (additions)
          text.append("#ifndef ").append(name.substr(0, name.find('('))).push_back('\n');
        text.append("#define ").append(name).push_back(' ');
        text.append(StringAt(HeaderOps[++at])).push_back('\n');
        if (additions)
          text.append("#endif\n");
        break;
      case HeaderOp::Undefine:
        // The real header's own #undef lines stand; the additions remove nothing.
        if (!additions)
          text.append("#undef ").append(name).push_back('\n');
        break;
      case HeaderOp::Include:
        text.append("#include <").append(name).append(">\n");
        break;
    }
  }
  if (!guard.empty())
    text += "#endif\n";
  return text;
}

}  // namespace

std::string BuiltinHeaderText(std::string_view header) {
  return HeaderText(header, TextFor::Header);
}

bool AddsToRealHeader(std::string_view header) {
  return std::find(std::begin(HeadersAddedTo), std::end(HeadersAddedTo), header) != std::end(HeadersAddedTo);
}

std::string BuiltinHeaderAdditions(std::string_view header) {
  return HeaderText(header, TextFor::Additions);
}

const WindowsConstant* FindWindowsConstant(std::string_view name) {
  const auto found =
      std::lower_bound(std::begin(Constants), std::end(Constants), name,
                       [](const WindowsConstant& entry, std::string_view key) { return entry.name < key; });
  return found != std::end(Constants) && found->name == name ? &*found : nullptr;
}

std::span<const WindowsConstant> WindowsConstants() {
  return Constants;
}

}  // namespace trellane
