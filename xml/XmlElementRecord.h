#pragma once

#include <cstddef>
#include <cstdint>

// One element of a parsed document: offsets into the document text, never copies of it.
// Indexes are split into a page (upper 16 bits) and a slot (lower 16 bits); index 0 is the
// document itself.
struct XmlElementRecord {
  std::uint32_t start;       // offset (UTF-16 units) of the start tag's "<"
  std::uint32_t length;      // from the start tag's "<" to the end of the end tag
  std::uint32_t tagLengths;  // low 22 bits: start tag units; high 10 bits: end tag units
  std::uint32_t flagsAndLevel;
  std::int32_t parent;
  std::int32_t firstChild;
  std::int32_t nextSibling;
  std::int32_t previousSibling;  // for a first child: the last sibling
};
static_assert(sizeof(XmlElementRecord) == 32);
static_assert(offsetof(XmlElementRecord, start) == 0);
static_assert(offsetof(XmlElementRecord, length) == 4);
static_assert(offsetof(XmlElementRecord, tagLengths) == 8);
static_assert(offsetof(XmlElementRecord, flagsAndLevel) == 12);
static_assert(offsetof(XmlElementRecord, parent) == 16);
static_assert(offsetof(XmlElementRecord, firstChild) == 20);
static_assert(offsetof(XmlElementRecord, nextSibling) == 24);
static_assert(offsetof(XmlElementRecord, previousSibling) == 28);

// A tag longer than its field holds is stored as the field's largest value, which then
// means "this long or longer"; readers measure such a tag again from the text.
constexpr std::uint32_t kXmlStartTagLengthMax = (1u << 22) - 1;
constexpr std::uint32_t kXmlEndTagLengthMax = (1u << 10) - 1;
constexpr std::uint32_t kXmlLevelMask = 0xFFFF;

constexpr std::uint32_t kXmlElementEmpty = 0x0001'0000;       // "<a/>"
constexpr std::uint32_t kXmlElementFirstChild = 0x0008'0000;  // first child of its parent
constexpr std::uint32_t kXmlElementNotEnded = 0x0010'0000;    // closed implicitly
constexpr std::uint32_t kXmlElementErrorInside = 0x0020'0000;
constexpr std::uint32_t kXmlDocumentIllFormed = 0x0080'0000;  // document record only

inline std::uint32_t StartTagLength(const XmlElementRecord& record) {
  return record.tagLengths & kXmlStartTagLengthMax;
}
inline std::uint32_t EndTagLength(const XmlElementRecord& record) {
  return record.tagLengths >> 22;
}
