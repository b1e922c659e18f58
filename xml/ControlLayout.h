#pragma once

#include <string>
#include <string_view>

// Where a control sits on its page, read from a layout string of the form
// "name,x,y,width,height,tooltip,flag".
struct ControlLayout {
  int left = 0;
  int top = 0;
  int right = 0;   // x + width
  int bottom = 0;  // y + height
  std::u16string tooltip;
  bool toggle = false;  // "TRUE" after the name: the button flips its pressed state
};

// Never fails: missing or malformed numbers read as 0, a string with fewer than seven
// fields has an empty tooltip.
ControlLayout ParseControlLayout(std::u16string_view layout);
