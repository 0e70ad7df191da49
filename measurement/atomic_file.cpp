// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "measurement/decimal_text.h"
#include "measurement/text_excerpt.h"

namespace varek {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::string SystemReason(int number) {
  switch (number) {
    case ENOENT: return "Datei oder Ordner nicht gefunden";
    case EACCES:
    case EPERM: return "keine Berechtigung";
    case ENOSPC: return "kein Platz mehr auf dem Datenträger";
    case EROFS: return "Datenträger ist schreibgeschützt";
    case EISDIR: return "ist ein Ordner";
    case ENAMETOOLONG: return "Name zu lang";
    case ELOOP: return "zu viele symbolische Verknüpfungen";
    case ENOTDIR: return "ein Teil des Pfads ist kein Ordner";
    default: return "Fehler Nr. " + std::to_string(number);
  }
}

namespace {

bool Fail(std::string& error, const std::string& what) {
  error = what + " (" + SystemReason(errno) + ")";
  return false;
}

}  // namespace

bool SaveFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  std::string temporary = path + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0)
    return Fail(error, "Kann keine Datei in " + QuotedExcerpt(FolderOf(path), PathExcerptLength) +
                           " anlegen");
  // mkstemp creates the file for the owner alone; a saved table is an
  // ordinary document.
  ::fchmod(fd, 0644);
  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  const int saved_errno = errno;
  if (::close(fd) != 0 || !written) {
    errno = written ? errno : saved_errno;
    ::unlink(temporary.c_str());
    return Fail(error, "Kann " + QuotedExcerpt(path, PathExcerptLength) + " nicht schreiben");
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int rename_errno = errno;
    ::unlink(temporary.c_str());
    errno = rename_errno;
    return Fail(error, "Kann " + QuotedExcerpt(path, PathExcerptLength) + " nicht ersetzen");
  }
  // The rename itself reaches the disk with the folder's entry.
  const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

std::string FileUnreadableMessage(std::string_view name) {
  return "Kann " + QuotedExcerpt(name, PathExcerptLength) + " nicht lesen";
}

std::string FileTooLargeMessage(std::string_view name, std::size_t limit) {
  return QuotedExcerpt(name, PathExcerptLength) + " ist größer als " + SizeInWords(limit) +
         " und wird nicht gelesen";
}

std::optional<std::string> ReadFileUpTo(const std::string& path, std::size_t limit,
                                        std::string& error) {
  const std::string name = QuotedExcerpt(path, PathExcerptLength);
  // Non-blocking: opening a FIFO without a writer returns at once.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    Fail(error, FileUnreadableMessage(path));
    return std::nullopt;
  }
  struct stat info {};
  std::optional<std::string> content;
  if (::fstat(fd, &info) != 0) {
    Fail(error, FileUnreadableMessage(path));
  } else if (S_ISDIR(info.st_mode)) {
    error = name + " ist ein Ordner, keine Datei";
  } else if (!S_ISREG(info.st_mode)) {
    error = name + " ist keine gewöhnliche Datei (ein Gerät, eine Pipe oder ein Socket)";
  } else if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    error = FileTooLargeMessage(path, limit);
  } else {
    content.emplace();
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        Fail(error, "Fehler beim Lesen von " + name);
        content.reset();
        break;
      }
      if (got == 0) break;
      content->append(buffer, static_cast<std::size_t>(got));
      if (content->size() > limit) {  // it grew while being read
        error = FileTooLargeMessage(path, limit);
        content.reset();
        break;
      }
    }
  }
  ::close(fd);
  return content;
}

}  // namespace varek
