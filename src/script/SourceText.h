// Decoding of script files: byte-order marks, UTF-16, UTF-8 and the Windows
// code pages, single- and double-byte, and the encoding of texts into the code
// page of the record files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellane {

constexpr int Utf8CodePage = 65001;
constexpr int DefaultCodePage = 1252;

enum class SourceEncoding { CodePage, Utf8WithMark, Utf16LE, Utf16BE };

// A file's text as the lexer reads it. A Unicode file (one with a byte-order
// mark) becomes UTF-8 without its mark, and #pragma code_page does not apply
// to it. A file without a mark keeps its bytes: its strings are decoded later
// with the code page in force where they stand.
struct DecodedSource {
  std::string text;
  SourceEncoding encoding = SourceEncoding::CodePage;
  bool ok = true;
  std::string problem;            // why the file cannot be read, when !ok
  std::size_t problemOffset = 0;  // byte offset in the file's raw bytes
  std::size_t replacedUnits = 0;  // unpaired UTF-16 surrogates, each read as U+FFFD
};

DecodedSource DecodeSource(std::string_view bytes);

// The same, taking over the bytes of a file without a conversion to make
// rather than copying them; bytes a UTF-16 file was read from stay as they
// are.
DecodedSource DecodeSource(std::string&& bytes);

// The code pages a script may name: 65001 and the Windows code pages this
// program has tables for (874, 1250-1258, 437, 850 and the double-byte 932,
// 936, 949, 950).
bool IsKnownInputCodePage(int codePage);

// The code pages texts may be written in: the input pages without 65001.
bool IsKnownOutputCodePage(int codePage);

// 932, 936, 949 and 950: a lead byte and a trail byte make one character.
bool IsDoubleByteCodePage(int codePage);

// The length of the character at `at` (before the end): 2 for a lead byte
// with a trail byte it pairs with in a double-byte page, else 1.
std::size_t CharacterLength(std::string_view bytes, std::size_t at, int codePage);

// The longest prefix of bytes no longer than limit that ends between two
// characters of codePage.
std::size_t CharacterBoundary(std::string_view bytes, std::size_t limit, int codePage);

// Appends the UTF-8 form of bytes read in codePage. A single-byte page reads
// every byte as Windows does, undefined bytes included, so that text written
// back in the same page keeps its bytes. Each invalid UTF-8 sequence, each
// lead byte without a trail byte it pairs with, and each byte above 0x7F in a
// page this program does not know, becomes U+FFFD; their count is added to
// invalid.
void AppendFromCodePage(std::string& utf8, std::string_view bytes, int codePage, std::size_t& invalid);

// Appends the UTF-8 form of one code point; a surrogate or a value above
// U+10FFFF appends U+FFFD.
void AppendCodePoint(std::string& utf8, std::uint32_t codePoint);

// Converts UTF-8 text into a code page, as Windows writes it without best-fit
// characters. Each character the code page lacks, and each invalid UTF-8 sequence, becomes '?' and is counted in
// replaced.
std::string ToCodePage(std::string_view utf8, int codePage, std::size_t& replaced);

}  // namespace trellane
