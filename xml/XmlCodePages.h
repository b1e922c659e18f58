#pragma once

#include <string_view>

// Code page numbers as the description files' encoding names map to them.
constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;
constexpr int kCodePageWindows1252 = 1252;
constexpr int kCodePageUtf7 = 65000;
constexpr int kCodePageUtf8 = 65001;
constexpr int kCodePageUtf32Le = 65005;
constexpr int kCodePageUtf32Be = 65006;

// The system's ANSI code page: this system's description files are Western European.
constexpr int kCodePageAnsi = kCodePageWindows1252;

// Code page of a charset name (ASCII letters compared without case); 0 when unknown.
int CodePageOfCharsetName(std::string_view name);

// The C library converter's name for a code page; nullptr for the UTF-16 and UTF-32 code
// pages (which the reader decodes itself) and for unknown numbers.
const char* IconvNameOfCodePage(int codePage);
