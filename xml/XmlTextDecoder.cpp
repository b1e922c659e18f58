#include "xml/XmlTextDecoder.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Text.h"
#include "xml/CXmlDoc.h"
#include "xml/XmlCodePages.h"
#include "xml/XmlEncodingDeclaration.h"

namespace {

constexpr size_t kHeadBytes = 1024;
constexpr char16_t kUnconvertible = u'?';

enum class UnitWidth { k8, k16, k32 };

std::string WithoutNuls(std::string_view bytes, size_t& nulls) {
  std::string kept;
  kept.reserve(bytes.size());
  for (const char c : bytes) {
    if (c == 0) {
      ++nulls;
    } else {
      kept += c;
    }
  }
  return kept;
}

void PutCodePoint(char16_t* out, size_t& written, char32_t cp) {
  if (cp < 0x10000) {
    out[written++] = static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out[written++] = static_cast<char16_t>(0xD800 + (cp >> 10));
    out[written++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Widens the run of plain ASCII (no NUL, nothing above 0x7F) that starts at `in`, sixteen
// bytes at a time; returns how many bytes it took.
size_t WidenAsciiRun(const unsigned char* in, size_t size, char16_t* out) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(_mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, zero))) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
  }
#endif
  for (; i < size && in[i] != 0 && in[i] < 0x80; ++i) out[i] = in[i];
  return i;
}

// The reader's own UTF-8 decoder: NUL bytes are dropped; each invalid sequence becomes
// "?", or, when `strict`, makes the whole decode fail (that is how UTF-8 is detected).
bool DecodeUtf8(std::string_view bytes, bool strict, std::u16string& text, size_t& nulls) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  text.resize(size);
  char16_t* out = text.data();
  size_t written = 0;
  size_t i = 0;
  while (i < size) {
    const size_t run = WidenAsciiRun(in + i, size - i, out + written);
    i += run;
    written += run;
    if (i >= size) break;
    const unsigned lead = in[i];
    if (lead < 0x80) {
      if (lead == 0) {
        ++nulls;
      } else {
        out[written++] = static_cast<char16_t>(lead);
      }
      ++i;
      continue;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    }
    size_t next = i + 1;
    bool valid = extra > 0;
    for (int k = 0; valid && k < extra; ++k) {
      if (next >= size || (in[next] & 0xC0) != 0x80) {
        valid = false;
      } else {
        cp = (cp << 6) | (in[next++] & 0x3F);
      }
    }
    if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) valid = false;
    if (!valid) {
      if (strict) return false;
      out[written++] = kUnconvertible;
    } else {
      PutCodePoint(out, written, cp);
    }
    i = next;
  }
  text.resize(written);
  return true;
}

// Any other 8-bit encoding, through the C library's converter. Invalid or incomplete
// sequences become "?" and conversion goes on after them.
void DecodeWithIconv(std::string_view bytes, const char* encoding, std::u16string& text) {
  iconv_t converter = iconv_open("UTF-16LE", encoding);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    converter = iconv_open("UTF-16LE", IconvNameOfCodePage(kCodePageAnsi));
  }
  text.clear();
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    for (const char c : bytes) {
      text += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : kUnconvertible;
    }
    return;
  }
  std::string converted(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  size_t written = 0;
  const auto putUnconvertible = [&] {
    converted[written++] = static_cast<char>(kUnconvertible);
    converted[written++] = 0;
  };
  for (;;) {
    if (converted.size() - written < 16) converted.resize(converted.size() * 2);
    char* out = converted.data() + written;
    size_t outLeft = converted.size() - written;
    const size_t done = iconv(converter, inLeft ? &in : nullptr, &inLeft, &out, &outLeft);
    written = converted.size() - outLeft;
    if (done != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) {
      converted.resize(converted.size() * 2);
    } else if (errno == EILSEQ) {
      putUnconvertible();
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    } else {
      putUnconvertible();
      break;
    }
  }
  iconv_close(converter);
  text.resize(written / 2);
  for (size_t k = 0; k < text.size(); ++k) {
    text[k] = static_cast<char16_t>(static_cast<unsigned char>(converted[2 * k]) |
                                    static_cast<unsigned char>(converted[2 * k + 1]) << 8);
  }
}

void DecodeUtf16(std::string_view bytes, bool bigEndian, std::u16string& text, size_t& nulls) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  text.resize(bytes.size() / 2);
  size_t written = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit =
        static_cast<char16_t>(bigEndian ? (in[i] << 8) | in[i + 1] : in[i] | (in[i + 1] << 8));
    if (unit == 0) {
      ++nulls;
    } else {
      text[written++] = unit;
    }
  }
  text.resize(written);
}

void DecodeUtf32(std::string_view bytes, bool bigEndian, std::u16string& text, size_t& nulls) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  text.resize(bytes.size() / 2);
  size_t written = 0;
  for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
    const char32_t cp = bigEndian ? (char32_t{in[i]} << 24) | (char32_t{in[i + 1]} << 16) |
                                        (char32_t{in[i + 2]} << 8) | in[i + 3]
                                  : (char32_t{in[i + 3]} << 24) | (char32_t{in[i + 2]} << 16) |
                                        (char32_t{in[i + 1]} << 8) | in[i];
    if (cp == 0) {
      ++nulls;
    } else if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      text[written++] = kUnconvertible;
    } else {
      PutCodePoint(text.data(), written, cp);
    }
  }
  text.resize(written);
}

// A declared 16- or 32-bit encoding is believed only when the first character's zero
// bytes say so; text that was readable as 8-bit with its declaration is 8-bit.
bool LooksWide(std::string_view bytes, UnitWidth width, bool& bigEndian) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (width == UnitWidth::k16) {
    if (bytes.size() < 2 || (byte(0) == 0) == (byte(1) == 0)) return false;
    bigEndian = byte(0) == 0;
    return true;
  }
  if (bytes.size() < 4) return false;
  if (byte(0) != 0 && byte(1) == 0 && byte(2) == 0 && byte(3) == 0) {
    bigEndian = false;
    return true;
  }
  if (byte(0) == 0 && byte(1) == 0 && byte(2) == 0 && byte(3) != 0) {
    bigEndian = true;
    return true;
  }
  return false;
}

std::string Note(const char* format, size_t value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

XmlDecodeReport DecodeXmlBytes(std::string_view bytes, std::u16string& text) {
  XmlDecodeReport result;
  std::string name;
  std::string notes;
  UnitWidth width = UnitWidth::k8;
  bool bigEndian = false;
  bool detect = false;
  int codePage = 0;
  std::string_view data = bytes;

  if (data.starts_with("\xEF\xBB\xBF")) {
    name = "UTF-8";
    codePage = kCodePageUtf8;
    result.docFlags |= CXmlDoc::kFlagUtf8Bom;
    data.remove_prefix(3);
    notes = "BOM + ";
  } else if (data.starts_with("\xFF\xFE") || data.starts_with("\xFE\xFF")) {
    bigEndian = data[0] == '\xFE';
    name = bigEndian ? "UTF-16BE" : "UTF-16LE";
    width = UnitWidth::k16;
    data.remove_prefix(2);
    notes = "BOM + ";
  } else {
    size_t headNulls = 0;
    const auto declared = FindDeclaredEncoding(WithoutNuls(data.substr(0, kHeadBytes), headNulls));
    if (declared) {
      name = *declared;
      codePage = CodePageOfCharsetName(name);
      if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be) width = UnitWidth::k16;
      if (codePage == kCodePageUtf32Le || codePage == kCodePageUtf32Be) width = UnitWidth::k32;
      if (width != UnitWidth::k8 && !LooksWide(data, width, bigEndian)) {
        width = UnitWidth::k8;
        detect = true;
      }
    } else {
      detect = true;
    }
  }
  if (width == UnitWidth::k16) {
    result.docFlags |= bigEndian ? CXmlDoc::kFlagUtf16Be : CXmlDoc::kFlagUtf16Le;
  }

  size_t nulls = 0;
  if (data.empty()) {
    text.clear();
    notes += "0 length ";
    if (detect) name.clear();
  } else if (width != UnitWidth::k8) {
    const size_t unitBytes = width == UnitWidth::k16 ? 2 : 4;
    notes += Note("length %zu ", data.size() / unitBytes);
    if (width == UnitWidth::k16) {
      DecodeUtf16(data, bigEndian, text, nulls);
    } else {
      DecodeUtf32(data, bigEndian, text, nulls);
    }
    if (nulls) notes += Note("(%zu nulls removed) ", nulls);
    if (bigEndian) notes += "endian swap ";
  } else {
    notes += Note("length %zu ", data.size());
    bool decoded = false;
    if (detect) {
      decoded = DecodeUtf8(data, true, text, nulls);
      name = decoded ? "UTF-8" : "";
      nulls = decoded ? nulls : 0;
    } else if (codePage == kCodePageUtf8) {
      decoded = DecodeUtf8(data, false, text, nulls);
    }
    if (!decoded) {
      const char* converter = IconvNameOfCodePage(codePage);
      DecodeWithIconv(WithoutNuls(data, nulls),
                      converter ? converter : IconvNameOfCodePage(kCodePageAnsi), text);
    }
    if (nulls) notes += Note("(%zu nulls removed) ", nulls);
    if (detect) notes += "(used UTF-8 detection) ";
    notes += Note("to %zu wide chars ", text.size());
  }
  result.log =
      platform::Utf8ToUtf16(name.empty() ? "ANSI " : name + " ") + platform::Utf8ToUtf16(notes);
  return result;
}
