#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Search loops of the parse, eight UTF-16 units at a time where the processor allows:
// description files are mostly long runs of plain text between a few markup characters.

// Index of the first unit at or after `from` equal to `a` or `b`, or text.size().
inline size_t FindEitherOf(std::u16string_view text, size_t from, char16_t a, char16_t b) {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i wantA = _mm_set1_epi16(static_cast<short>(a));
  const __m128i wantB = _mm_set1_epi16(static_cast<short>(b));
  for (; i + 8 <= text.size(); i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const int hits = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi16(units, wantA), _mm_cmpeq_epi16(units, wantB)));
    if (hits != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(hits)) / 2);
  }
#endif
  for (; i < text.size(); ++i) {
    if (text[i] == a || text[i] == b) return i;
  }
  return text.size();
}

inline size_t FindUnit(std::u16string_view text, size_t from, char16_t unit) {
  return FindEitherOf(text, from, unit, unit);
}

// The first of "<", ">", '"' or "'" at or after `from`, or text.size(): the characters
// that matter while scanning a tag.
inline size_t FindTagSpecial(std::u16string_view text, size_t from) {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i lt = _mm_set1_epi16(u'<');
  const __m128i gt = _mm_set1_epi16(u'>');
  const __m128i quote = _mm_set1_epi16(u'"');
  const __m128i apostrophe = _mm_set1_epi16(u'\'');
  for (; i + 8 <= text.size(); i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const __m128i any = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi16(units, lt), _mm_cmpeq_epi16(units, gt)),
        _mm_or_si128(_mm_cmpeq_epi16(units, quote), _mm_cmpeq_epi16(units, apostrophe)));
    const int hits = _mm_movemask_epi8(any);
    if (hits != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(hits)) / 2);
  }
#endif
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'<' || c == u'>' || c == u'"' || c == u'\'') return i;
  }
  return text.size();
}
