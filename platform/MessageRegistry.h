#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Registered message names shared by the user's processes: the file "RegisteredMessages"
// in the runtime folder lists one UTF-8 name per line, and a name's number is
// kFirstRegisteredMessage plus its line index. The file only grows, under flock, so a
// number once given keeps its meaning for every process.
class MessageRegistry {
 public:
  static MessageRegistry& Instance();

  // 0 when the name is empty, holds a line break, or the table is full or unreachable.
  std::uint32_t Register(std::u16string_view name);

 private:
  MessageRegistry() = default;
  std::uint32_t NumberFromCache(std::string_view name) const;

  std::mutex m_mutex;
  std::string m_folder;  // where the cached names were read
  std::vector<std::string> m_names;
};

// The lines of the table; an unterminated last line counts as one (a writer cut short
// leaves one), and every writer terminates it before appending.
std::vector<std::string_view> SplitRegisteredNames(std::string_view bytes);

}  // namespace platform
