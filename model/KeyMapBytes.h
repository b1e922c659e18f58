#pragma once

#include <cstdint>
#include <span>

struct ButtonInfo;

// A function code and the byte the keyboard's key map carries for it.
struct CodeByte {
  int32_t code;
  uint8_t keyMapByte;
};

constexpr int kCodeByteRowCount = 31;

// Order matters: code to byte takes the first match, byte to code the last.
std::span<const CodeByte, kCodeByteRowCount> CodeToByteTable();

// 0 when the code has no row.
uint8_t KeyMapByteOfCode(int32_t code);

// The function a byte reported by the keyboard stands for; 0 when none.
int32_t CodeOfKeyMapByte(uint8_t keyMapByte);

// Byte written into the key map for a key whose own byte is defaultUsage.
// Combinations, macros and the shortcuts the host plays itself send 0xCD
// (the keyboard plays the key's macro); a disabled key sends 0; anything
// the keyboard has no byte for keeps the key's own function.
uint8_t KeyMapByteFor(const ButtonInfo& button, uint8_t defaultUsage);
