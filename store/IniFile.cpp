#include "store/IniFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/DebugOutput.h"

namespace {

class FileHandle {
 public:
  explicit FileHandle(int fd) : m_fd(fd) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int Get() const { return m_fd; }
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

std::string ErrorText(int error) { return std::strerror(error); }

// 0 on success, otherwise the errno that stopped the read (EFBIG when oversized).
int ReadFileBytes(const std::string& path, std::string& bytes, struct stat& info) {
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) return errno;
  if (::fstat(file.Get(), &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return EINVAL;
  if (static_cast<std::size_t>(info.st_size) > IniFile::kMaxFileBytes) return EFBIG;
  // Read straight into a buffer of the file's size; a file that grows meanwhile
  // is read on in steps until its end.
  std::size_t used = 0;
  bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() > IniFile::kMaxFileBytes) return EFBIG;
      bytes.resize(bytes.size() + 65536);
    }
    const ssize_t n = ::read(file.Get(), bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  bytes.resize(used);
  return 0;
}

int WriteAllBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

bool IsReadOnly(const std::string& path, const struct stat& info) {
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

IniDocument IniFile::Load() const {
  std::string bytes;
  struct stat info {};
  if (ReadFileBytes(m_path, bytes, info) != 0) return IniDocument();
  return IniDocument::Parse(bytes);
}

std::u16string IniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultValue) const {
  return Load().ReadString(section, key, defaultValue);
}

int IniFile::ReadInt(std::u16string_view section, std::u16string_view key, int defaultValue) const {
  return Load().ReadInt(section, key, defaultValue);
}

bool IniFile::ReadStruct(std::u16string_view section, std::u16string_view key, void* target,
                         std::size_t size) const {
  return Load().ReadStruct(section, key, target, size);
}

bool IniFile::WriteString(std::u16string_view section, std::u16string_view key,
                          std::u16string_view value) {
  return Update([&](IniDocument& doc) { return doc.WriteString(section, key, value); });
}

bool IniFile::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
  return Update([&](IniDocument& doc) { return doc.WriteInt(section, key, value); });
}

bool IniFile::WriteStruct(std::u16string_view section, std::u16string_view key, const void* data,
                          std::size_t size) {
  return Update([&](IniDocument& doc) { return doc.WriteStruct(section, key, data, size); });
}

bool IniFile::Fail(std::string reason) {
  m_lastError = std::move(reason);
  platform::DebugTrace("IniFile: cannot write \"%s\": %s\n", m_path.c_str(), m_lastError.c_str());
  return false;
}

bool IniFile::Update(const std::function<bool(IniDocument&)>& edit, IniDocument* edited) {
  m_lastError.clear();
  std::string target = m_path;
  struct stat info {};
  if (::lstat(m_path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (!::realpath(m_path.c_str(), resolved)) return Fail("the link leads nowhere");
    target = resolved;
  }

  FileHandle lock(
      ::open((target + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (lock.Get() < 0) return Fail("cannot create the lock file: " + ErrorText(errno));
  while (::flock(lock.Get(), LOCK_EX) != 0)
    if (errno != EINTR) return Fail("cannot lock the file: " + ErrorText(errno));

  std::string old;
  const int readError = ReadFileBytes(target, old, info);
  const bool exists = readError == 0;
  if (readError == EFBIG) return Fail("the file is too large to be rewritten safely");
  if (readError != 0 && readError != ENOENT) return Fail("cannot read: " + ErrorText(readError));
  if (exists && IsReadOnly(target, info)) return Fail("the file is read-only");

  IniDocument doc = exists ? IniDocument::Parse(old) : IniDocument();
  const bool editable = edit(doc);
  // An unchanged document leaves the file as it is: no rewrite, no new modification time.
  const bool unchanged = exists && !doc.Changed();
  const std::string bytes = editable && !unchanged ? doc.Serialize() : std::string();
  if (edited) *edited = std::move(doc);
  if (!editable) return Fail("the name or value cannot be stored on one line");
  if (unchanged || (exists && bytes == old)) return true;

  const std::string temp = target + ".tmp";
  const mode_t mode = exists ? (info.st_mode & 07777) : 0666;
  FileHandle out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode));
  if (out.Get() < 0) return Fail("cannot create \"" + temp + "\": " + ErrorText(errno));
  int error = WriteAllBytes(out.Get(), bytes);
  if (error == 0 && exists && ::fchmod(out.Get(), mode) != 0) error = errno;
  if (error == 0 && ::fdatasync(out.Get()) != 0) error = errno;
  if (error == 0 && ::close(out.Release()) != 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return Fail(ErrorText(error));
  }
  return true;
}
