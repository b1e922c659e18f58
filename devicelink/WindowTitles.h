#pragma once

#include <string_view>

// Window titles by which programs find each other.
inline constexpr std::u16string_view kServiceWindowTitle = u"Tolvane PV37_Hid";
inline constexpr std::u16string_view kHostWindowTitle = u"Tolvane PV37";
inline constexpr std::u16string_view kPageWindowTitle = u"Tolvane PV37";  // child of the host
