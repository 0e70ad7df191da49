// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/form/page_html.h"

#include <span>
#include <vector>

#include "form/page_texts.h"

namespace varek::form {

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

// The code point starting at text[at], and how many bytes it takes (UTF-8).
char32_t CodePoint(std::string_view text, std::size_t at, std::size_t* length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char first = byte(0);
  std::size_t n = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
  if (at + n > text.size()) n = 1;
  char32_t c = n == 1 ? first : n == 2 ? first & 0x1F : n == 3 ? first & 0x0F : first & 0x07;
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (byte(i) & 0x3F);
  *length = n;
  return c;
}

bool IsLatin(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsGreek(char32_t c) { return c >= 0x370 && c <= 0x3FF; }
// ¹ ² ³: a superscript digit of the character before.
int SuperscriptDigit(char32_t c) { return c == 0xB9 ? 1 : c == 0xB2 ? 2 : c == 0xB3 ? 3 : -1; }

// One token of a formula's mathematics with what is set below and above it.
struct Token {
  std::string element;
  std::string sub, sup;

  std::string MathMl() const {
    if (!sub.empty() && !sup.empty()) return "<msubsup>" + element + sub + sup + "</msubsup>";
    if (!sub.empty()) return "<msub>" + element + sub + "</msub>";
    if (!sup.empty()) return "<msup>" + element + sup + "</msup>";
    return element;
  }
};

std::string Element(char32_t c, std::string_view utf8) {
  const std::string text = Escaped(utf8);
  if (IsLatin(c)) return "<mi>" + text + "</mi>";
  if (IsGreek(c)) return "<mi mathvariant=\"normal\">" + text + "</mi>";
  if (IsDigit(c)) return "<mn>" + text + "</mn>";
  return "<mo>" + text + "</mo>";
}

// Math markup: variables, numbers (a decimal comma inside), operators, "_x"
// and "^x" scripts, ¹²³ as superscripts; a run of spaces sets a wide gap.
std::string MathTokens(std::string_view text) {
  std::vector<Token> tokens;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 0;
    const char32_t c = CodePoint(text, at, &length);
    if ((c == '_' || c == '^') && at + 1 < text.size() && !tokens.empty()) {
      std::size_t script_length = 0;
      const char32_t script = CodePoint(text, at + 1, &script_length);
      std::string& slot = c == '_' ? tokens.back().sub : tokens.back().sup;
      slot = Element(script, text.substr(at + 1, script_length));
      at += 1 + script_length;
    } else if (SuperscriptDigit(c) >= 0 && !tokens.empty()) {
      tokens.back().sup = "<mn>" + std::to_string(SuperscriptDigit(c)) + "</mn>";
      at += length;
    } else if (c == ' ') {
      std::size_t end = at;
      while (end < text.size() && text[end] == ' ') ++end;
      if (end - at >= 2) tokens.push_back({"<mspace width=\"1em\"/>", {}, {}});
      at = end;
    } else if (IsDigit(c)) {
      std::size_t end = at;
      while (end < text.size() && (IsDigit(static_cast<unsigned char>(text[end])) ||
                                   (text[end] == ',' && end + 1 < text.size() &&
                                    IsDigit(static_cast<unsigned char>(text[end + 1]))))) {
        ++end;
      }
      tokens.push_back({"<mn>" + std::string(text.substr(at, end - at)) + "</mn>", {}, {}});
      at = end;
    } else {
      tokens.push_back({Element(c, text.substr(at, length)), {}, {}});
      at += length;
    }
  }
  std::string out;
  for (const Token& token : tokens) out += token.MathMl();
  return out;
}

std::string NodeMathMl(const FormulaNode& node) {
  using K = FormulaNode::Kind;
  switch (node.kind) {
    case K::Math: return MathTokens(node.text);
    case K::Word: {
      std::string text = Escaped(node.text);
      std::string kept;  // spaces kept as no-break spaces
      for (const char c : text) kept += c == ' ' ? std::string("\u00a0") : std::string(1, c);
      return "<mtext>" + kept + "</mtext>";
    }
    case K::Fraction:
      return "<mfrac><mrow>" + NodeMathMl(node.parts[0]) + "</mrow><mrow>" +
             NodeMathMl(node.parts[1]) + "</mrow></mfrac>";
    case K::Root: return "<msqrt>" + NodeMathMl(node.parts[0]) + "</msqrt>";
    case K::Row: break;
  }
  std::string out;
  for (const FormulaNode& part : node.parts) out += NodeMathMl(part);
  return out;
}

std::string BlockHtml(const TextBlock& block) {
  using K = TextBlock::Kind;
  const std::string text(block.text);
  switch (block.kind) {
    case K::Title: return "<h2>" + Escaped(text) + "</h2>";
    case K::Subtitle: return "<p class=\"subtitle\">" + Escaped(text) + "</p>";
    case K::Heading: return "<h3>" + Escaped(text) + "</h3>";
    case K::Paragraph: return "<p>" + text + "</p>";
    case K::Sketch: return "<p class=\"sketch\">" + text + "</p>";
    case K::Formula: return FormulaMathMl(ParseFormula(block.text), true);
    case K::FramedFormula: {
      std::string math = FormulaMathMl(ParseFormula(block.text), true);
      return "<div class=\"result\">" + math + "</div>";
    }
  }
  return {};
}

std::string BlocksHtml(std::span<const TextBlock> blocks) {
  std::string out;
  for (const TextBlock& block : blocks) out += BlockHtml(block);
  return out;
}

}  // namespace

std::string FormulaMathMl(const FormulaNode& formula, bool block) {
  return std::string("<math display=\"") + (block ? "block" : "inline") + "\"><mrow>" +
         NodeMathMl(formula) + "</mrow></math>";
}

std::string InformationHtml() {
  const InformationText& text = Information();
  return BlocksHtml(text.head) + "<div class=\"column\">" + BlocksHtml(text.left) +
         "</div><div class=\"column\">" + BlocksHtml(text.right) + "</div>";
}

std::string DataHtml() {
  const DataText& data = Data();
  std::string out = "<h2>" + Escaped(data.heading) + "</h2><dl>";
  bool open = false;
  for (const DataLine& line : data.lines) {
    if (!line.label.empty()) {
      std::string label = Escaped(line.label);
      for (char& c : label)
        if (c == '\n') c = ' ';
      out += std::string(open ? "</div>" : "") + "<div><dt>" + label + "</dt>";
      open = true;
    }
    out += "<dd>" + FormulaMathMl(ParseFormula(line.value), false) + "</dd>";
  }
  return out + (open ? "</div>" : "") + "</dl>";
}

}  // namespace varek::form
