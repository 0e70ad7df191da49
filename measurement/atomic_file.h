// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Whole files read and written at once. A save writes a temporary file in the
// same folder, flushes it to the disk and renames it over the target, so the
// target holds either its old or its new content, never a part of one, even
// when the program or the machine stops in between.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varek {

// False, with a German reason in `error`, when the file could not be saved;
// the old file is then untouched.
bool SaveFileAtomically(const std::string& path, std::string_view content, std::string& error);

// The bytes of a regular file of at most `limit` bytes, or nothing with a
// German reason in `error`. Never waits: a FIFO, a device or a socket is
// refused before anything is read, and so is a folder; a file that is or
// grows larger than `limit` is refused after reading at most limit + 1 bytes.
// The refusal of a file `name` larger than `limit`: "„x.csv“ ist größer als
// 1 MB und wird nicht gelesen" (also the page's, which checks a chosen
// file's size itself).
std::string FileTooLargeMessage(std::string_view name, std::size_t limit);
// "Kann „x.csv“ nicht lesen" (the file reader adds the reason it knows).
std::string FileUnreadableMessage(std::string_view name);

// What the system's error number means, in German: "keine Berechtigung".
std::string SystemReason(int number);

std::optional<std::string> ReadFileUpTo(const std::string& path, std::size_t limit,
                                        std::string& error);

}  // namespace varek
