#pragma once

#include <optional>
#include <string>
#include <string_view>

// Runs the INI reader over any bytes and checks what must hold for every file:
// reading never fails, an untouched document writes back the bytes it was
// read from, and a write changes only its own value. Returns what went wrong.
std::optional<std::string> CheckIniDocument(std::string_view bytes);
