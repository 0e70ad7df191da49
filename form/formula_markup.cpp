// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/formula_markup.h"

namespace varek::form {

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  bool AtEnd() const { return at_ >= text_.size(); }

  // Parts up to the closing brace of the group (consumed) or the end.
  std::vector<FormulaNode> Parts() {
    std::vector<FormulaNode> parts;
    std::string math;
    const auto flush = [&] {
      if (!math.empty()) parts.push_back({FormulaNode::Kind::Math, std::move(math), {}});
      math.clear();
    };
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '}') {
        ++at_;
        break;
      }
      if (Command("\\frac")) {
        flush();
        FormulaNode numerator = Group();
        FormulaNode denominator = Group();
        parts.push_back(
            {FormulaNode::Kind::Fraction, {}, {std::move(numerator), std::move(denominator)}});
      } else if (Command("\\sqrt")) {
        flush();
        parts.push_back({FormulaNode::Kind::Root, {}, {Group()}});
      } else if (Command("\\text")) {
        flush();
        Expect('{');
        const std::size_t end = text_.find('}', at_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        parts.push_back({FormulaNode::Kind::Word, std::string(text_.substr(at_, stop - at_)), {}});
        at_ = stop == text_.size() ? stop : stop + 1;
      } else {
        math += c;
        ++at_;
      }
    }
    flush();
    return parts;
  }

 private:
  bool Command(std::string_view name) {
    if (text_.substr(at_, name.size()) != name) return false;
    at_ += name.size();
    return true;
  }
  void Expect(char c) {
    if (at_ < text_.size() && text_[at_] == c) ++at_;
  }
  // {…}: its one part, or a Row of its parts.
  FormulaNode Group() {
    Expect('{');
    std::vector<FormulaNode> parts = Parts();
    if (parts.size() == 1) return std::move(parts.front());
    return {FormulaNode::Kind::Row, {}, std::move(parts)};
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

FormulaNode ParseFormula(std::string_view markup) {
  Parser parser(markup);
  FormulaNode row;
  // A stray closing brace is dropped and the rest read on.
  while (!parser.AtEnd()) {
    for (FormulaNode& part : parser.Parts()) row.parts.push_back(std::move(part));
  }
  return row;
}

}  // namespace varek::form
