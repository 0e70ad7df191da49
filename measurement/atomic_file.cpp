// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

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

std::string ReasonOf(int number) {
  switch (number) {
    case ENOENT: return "Datei oder Ordner nicht gefunden";
    case EACCES: case EPERM: return "keine Berechtigung";
    case ENOSPC: return "kein Platz mehr auf dem Datenträger";
    case EROFS: return "Datenträger ist schreibgeschützt";
    case EISDIR: return "ist ein Ordner";
    default: return std::strerror(number);
  }
}

bool Fail(std::string& error, const std::string& what) {
  error = what + " (" + ReasonOf(errno) + ")";
  return false;
}

}  // namespace

bool SaveFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  std::string temporary = path + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return Fail(error, "Kann keine Datei in " + FolderOf(path) + " anlegen");
  // mkstemp creates the file for the owner alone; a saved table is an
  // ordinary document.
  ::fchmod(fd, 0644);
  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  const int saved_errno = errno;
  if (::close(fd) != 0 || !written) {
    errno = written ? errno : saved_errno;
    ::unlink(temporary.c_str());
    return Fail(error, "Kann " + path + " nicht schreiben");
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int rename_errno = errno;
    ::unlink(temporary.c_str());
    errno = rename_errno;
    return Fail(error, "Kann " + path + " nicht ersetzen");
  }
  // The rename itself reaches the disk with the folder's entry.
  const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) errno = EISDIR;
  if (!in || S_ISDIR(info.st_mode)) {
    Fail(error, "Kann " + path + " nicht lesen");
    return std::nullopt;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    Fail(error, "Fehler beim Lesen von " + path);
    return std::nullopt;
  }
  return content.str();
}

}  // namespace varek
