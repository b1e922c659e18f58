// libFuzzer target for the INI reader: any bytes may sit in config.ini or a
// profile file, written by another program or left by a crash.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "IniDocumentCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (CheckIniDocument(bytes)) __builtin_trap();
  return 0;
}
