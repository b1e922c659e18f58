#pragma once

#include <optional>
#include <string>

namespace platform {

// The description files mix the case of names ("Skins" and "skins"), as a
// case-insensitive file system allows. Returns `path` unchanged when it exists
// as written; otherwise resolves each missing component by matching names in
// its folder without regard to ASCII case. When nothing matches, returns the
// path as written so the caller's open fails in the usual way.
std::string ResolvePathNoCase(const std::string& path);

// Reads a whole file (after case-insensitive resolution); nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace platform
