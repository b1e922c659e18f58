#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "store/IniDocument.h"

// One INI file on disk, read and written with the private-profile semantics of
// IniDocument. Every write is one read-modify-write under an exclusive lock on
// "<file>.lock" beside the file, written to "<file>.tmp", synced and renamed over
// the file: two processes writing different keys both keep their values, a
// reader never sees half a file, and a failed write leaves the old file whole.
// A file that does not exist is created as UTF-16LE with the byte-order mark;
// its folder is never created. A symbolic link is written through to its target.
class IniFile {
 public:
  // Files larger than this are not read (they read as empty) and never rewritten.
  static constexpr std::size_t kMaxFileBytes = 64u << 20;

  explicit IniFile(std::string path);
  const std::string& Path() const { return m_path; }

  // The file as it is now; a missing, unreadable or oversized file reads as empty.
  IniDocument Load() const;

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  int ReadInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;
  bool ReadStruct(std::u16string_view section, std::u16string_view key, void* target,
                  std::size_t size) const;

  bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  bool WriteInt(std::u16string_view section, std::u16string_view key, int value);
  bool WriteStruct(std::u16string_view section, std::u16string_view key, const void* data,
                   std::size_t size);

  // Applies `edit` to the current content and commits the result in one rewrite,
  // so several values land together exactly as if written one after another.
  // False when `edit` returns false or the file cannot be written; the file on
  // disk is then unchanged, and the reason is in LastError() and the debug output.
  // When `edited` is given and `edit` ran, the edited content is moved into it,
  // so a caller can read on without reading the file again.
  bool Update(const std::function<bool(IniDocument&)>& edit, IniDocument* edited = nullptr);

  // Why the last write failed; empty after a successful one.
  const std::string& LastError() const { return m_lastError; }

 private:
  bool Fail(std::string reason);

  std::string m_path;
  std::string m_lastError;
};
