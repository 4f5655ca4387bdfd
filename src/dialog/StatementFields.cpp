#include "dialog/StatementFields.h"

namespace trellane {
namespace {

// The text of a quoted field that holds doubled quotes, appended to text.
QuoteForm UnquoteDoubled(std::string_view field, std::string& text) {
  for (std::size_t i = 1; i < field.size(); ++i) {
    const std::size_t quote = field.find('"', i);
    text.append(field.substr(i, quote - i));
    if (quote == std::string_view::npos)
      break;
    i = quote;
    if (i + 1 < field.size() && field[i + 1] == '"') {
      text.push_back('"');
      ++i;
      continue;
    }
    return QuoteForm::Quoted;
  }
  return QuoteForm::Unterminated;
}

}  // namespace

QuoteForm Unquote(std::string_view field, std::string& buffer, std::string_view& text) {
  if (field.empty() || field.front() != '"') {
    text = field;
    return QuoteForm::Bare;
  }
  // Fields are short: a plain loop finds the closing quote sooner than a
  // call to memchr.
  std::size_t closing = 1;
  while (closing < field.size() && field[closing] != '"')
    ++closing;
  if (closing == field.size()) {
    text = field.substr(1);
    return QuoteForm::Unterminated;
  }
  if (closing + 1 == field.size() || field[closing + 1] != '"') {
    text = field.substr(1, closing - 1);
    return QuoteForm::Quoted;
  }
  buffer.clear();
  const QuoteForm form = UnquoteDoubled(field, buffer);
  text = buffer;
  return form;
}

}  // namespace trellane
