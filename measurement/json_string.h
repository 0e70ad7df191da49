// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A JSON string, for everything that writes JSON for the page: the protocol's
// view and plan, and the window's description (a generator of the build that
// links nothing of this library, hence inline).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace varek {

// Quotes, backslashes and control characters escaped.
inline std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x",
                    static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += escape;
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace varek
