#pragma once

#include <string>

// The number as "%d" writes it, as UTF-16 text for INI values and numbered key names.
std::u16string DecimalText(int value);
