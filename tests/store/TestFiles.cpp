#include "TestFiles.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace testfiles {

std::string Utf16Le(std::u16string_view text, bool withBom) {
  std::string bytes = withBom ? std::string("\xFF\xFE") : std::string();
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<long>(bytes.size()));
}

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/pv37-store-XXXXXX";
  m_path = std::string(mkdtemp(pattern)) + "/";
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace testfiles
