// Readable tables of record fields, as the dump command prints them.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace trellane {

// The text with control bytes shown as \xNN, so they cannot break a column.
std::string PrintableText(std::string_view text);

// Prints rows in columns two blanks apart; the columns marked in
// rightAligned (numbers) are aligned to the right, the others to the left.
void PrintTable(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned,
                std::ostream& out);

}  // namespace trellane
