#pragma once

#include <string>
#include <string_view>

// Helpers shared by the store tests: file bytes and a scratch folder per test.
namespace testfiles {

// UTF-16LE bytes of `text`, with the byte-order mark when `withBom`.
std::string Utf16Le(std::u16string_view text, bool withBom = true);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// A fresh folder under /tmp, removed with everything in it on destruction.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // The folder path, ending with '/'.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace testfiles
