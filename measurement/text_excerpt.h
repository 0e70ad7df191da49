// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A short, harmless quotation of untrusted text (a field of a file, an
// argument) for a message: whatever the text holds, the quotation is one
// line of printable UTF-8 that a terminal or a label shows as it is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varek {

// At most this many characters of a field are quoted, of a file's name more.
inline constexpr std::size_t ExcerptLength = 24;
inline constexpr std::size_t PathExcerptLength = 160;

// The text in German quotation marks, „…“: control characters, DEL, C1
// controls and the direction marks and overrides of Unicode shown as escapes
// (\0, \t, \n, \r, \e, \x7F, \u{202E}), a backslash as \\, bytes that are no
// UTF-8 as \xFF; a longer text is cut after `length` characters with "…".
std::string QuotedExcerpt(std::string_view text, std::size_t length = ExcerptLength);

}  // namespace varek
