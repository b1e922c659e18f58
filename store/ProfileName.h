#pragma once

#include <optional>
#include <string>
#include <string_view>

// A profile's name is also its file name, "<name>.ini". Returns why `name`
// cannot be one (a sentence for the user), or nullopt when it can: refused are
// empty names, "." and "..", folder separators, NUL and other control
// characters, text that is not valid UTF-16, and names too long for the
// profile list or for a file name.
std::optional<std::string> ProfileNameProblem(std::u16string_view name);
