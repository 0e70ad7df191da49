// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/text_excerpt.h"

#include <cstdint>

namespace varek {

namespace {

const char Hex[] = "0123456789ABCDEF";

std::string ByteEscape(unsigned char byte) {
  return std::string("\\x") + Hex[byte >> 4] + Hex[byte & 15];
}

// The length of the UTF-8 sequence at the start of `text` and its code
// point; 0 when the bytes are no well-formed sequence.
std::size_t Sequence(std::string_view text, char32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(0);
  std::size_t length = 0;
  char32_t lowest = 0;
  if (first < 0x80) {
    code = first;
    return 1;
  } else if ((first & 0xE0) == 0xC0) {
    length = 2, code = first & 0x1F, lowest = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    length = 3, code = first & 0x0F, lowest = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    length = 4, code = first & 0x07, lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are no UTF-8.
  if (code < lowest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

// Characters that change how the rest of a line is shown.
bool Invisible(char32_t code) {
  return (code >= 0x80 && code <= 0x9F) || (code >= 0x200B && code <= 0x200F) ||
         (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069) ||
         code == 0x2028 || code == 0x2029 || code == 0xFEFF;
}

std::string CodeEscape(char32_t code) {
  std::string digits;
  for (char32_t rest = code; rest != 0 || digits.empty(); rest >>= 4) {
    digits.insert(digits.begin(), Hex[rest & 15]);
  }
  return "\\u{" + digits + "}";
}

std::string Escaped(char32_t code) {
  switch (code) {
    case 0: return "\\0";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case 0x1B: return "\\e";
    case '\\': return "\\\\";
    default: break;
  }
  if (code < 0x20 || code == 0x7F) return ByteEscape(static_cast<unsigned char>(code));
  return CodeEscape(code);
}

}  // namespace

std::string QuotedExcerpt(std::string_view text, std::size_t length) {
  std::string out = "\u201E";
  std::size_t characters = 0;
  while (!text.empty()) {
    if (characters == length) {
      out += "\u2026";
      break;
    }
    char32_t code = 0;
    const std::size_t length = Sequence(text, code);
    if (length == 0) {
      out += ByteEscape(static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
    } else {
      if (code < 0x20 || code == 0x7F || code == '\\' || Invisible(code)) {
        out += Escaped(code);
      } else {
        out += text.substr(0, length);
      }
      text.remove_prefix(length);
    }
    ++characters;
  }
  return out + "\u201C";
}

}  // namespace varek
