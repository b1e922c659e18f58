#pragma once

#include <optional>
#include <string>
#include <string_view>

// The encoding that the first bytes of a file declare, read as 8-bit text: the
// "encoding" attribute of a leading "<?xml ...?>", or else the charset of an HTML
// head's <meta http-equiv="Content-Type" content="...; charset=NAME">. nullopt when
// nothing is declared. Only looks inside `head`; never fails.
std::optional<std::string> FindDeclaredEncoding(std::string_view head);
