// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/table_bytes.h"

namespace varek {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LittleMark = "\xFF\xFE";
constexpr std::string_view Utf16BigMark = "\xFE\xFF";

// A table starts with a header of ASCII letters; in UTF-16 every other
// byte of it is zero.
bool LooksLikeUtf16(std::string_view bytes) {
  if (bytes.starts_with(Utf16LittleMark) || bytes.starts_with(Utf16BigMark)) return true;
  return bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0');
}

}  // namespace

TableBytes DecodeTableBytes(std::string_view bytes) {
  if (LooksLikeUtf16(bytes)) return {{}, "UTF-16 wird nicht gelesen: als UTF-8 speichern"};
  if (bytes.starts_with(Utf8Mark)) bytes.remove_prefix(Utf8Mark.size());
  if (bytes.starts_with(Utf8Mark)) {
    return {{},
            "die Datei beginnt mit zwei Byte-Order-Marks (BOM): als UTF-8 mit höchstens "
            "einem speichern"};
  }
  return {bytes, {}};
}

}  // namespace varek
