#pragma once

#include <cstdint>

// Keys sit in a 5 x 14 matrix and are known everywhere by their key index,
// row * 14 + column. Every layer stores kKeyIndexCount records although only
// the cells that hold a key (indexes below 70) are ever used.
constexpr int kMatrixRows = 5;
constexpr int kMatrixColumns = 14;
constexpr int kKeyIndexCount = 111;

// Cell byte of the keyboard's own Fn key; it is no keyboard usage.
constexpr uint8_t kFnKeyByte = 0xAC;

struct KeyCell {
  uint8_t row;
  uint8_t column;
};
static_assert(sizeof(KeyCell) == 2);

// The cell of a key index. Empty cells and indexes past the matrix give (0, 0),
// which is also Esc's cell: ask IsKeyIndexUsed before taking it for a key.
KeyCell KeyCellOf(int keyIndex);

// The matrix position the keyboard's key map and macro headers use for the key
// index: row * 14 + column of its cell, 0 for empty cells.
int KeyPositionOf(int keyIndex);

bool IsKeyIndexUsed(int keyIndex);

// The byte the key sends by default; 0 for empty cells.
uint8_t DefaultKeyUsage(int keyIndex);
