#include "store/DecimalText.h"

std::u16string DecimalText(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
