#include "text/TextTable.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace trellane {

std::string PrintableText(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown;
}

void PrintTable(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned,
                std::ostream& out) {
  std::vector<std::size_t> widths;
  for (const std::vector<std::string>& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t column = 0; column < row.size(); ++column)
      widths[column] = std::max(widths[column], row[column].size());
  }
  for (const std::vector<std::string>& row : rows) {
    std::string line;
    for (std::size_t column = 0; column < row.size(); ++column) {
      const std::string padding(widths[column] - row[column].size(), ' ');
      const bool right = column < rightAligned.size() && rightAligned[column];
      if (column > 0)
        line += "  ";
      line += right ? padding + row[column] : row[column] + padding;
    }
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    out << line << '\n';
  }
}

}  // namespace trellane
