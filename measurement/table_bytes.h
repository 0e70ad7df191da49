// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a table file as the text the reader takes: UTF-8 with at
// most one byte-order mark, which is dropped. The window, the page and
// varek-auswertung all read files through this, so they take and refuse the
// same bytes: a file in UTF-16 (with or without its mark) is refused by
// name, and so is one that starts with two marks (saved twice through an
// editor that adds one each time).
#pragma once

#include <string>
#include <string_view>

namespace varek {

struct TableBytes {
  std::string_view text;  // without the mark; empty on a refusal
  std::string refusal;    // German, empty when the bytes are taken
};

TableBytes DecodeTableBytes(std::string_view bytes);

}  // namespace varek
