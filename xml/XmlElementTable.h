#pragma once

#include <cstdint>
#include <vector>

#include "xml/XmlElementRecord.h"

// Element records in pages of 65,536, so an index splits into page and slot. The table
// starts small (documents are usually a few kilobytes) and grows by half when full.
class XmlElementTable {
 public:
  static constexpr int kPageBits = 16;
  static constexpr int kPageSize = 1 << kPageBits;

  // Drops every record and makes room for at least `capacity` (and at least 1: the
  // document record).
  void Reset(int capacity);

  // Appends a zeroed record; returns its index.
  int Add();

  int Count() const { return m_count; }
  XmlElementRecord& At(int index) {
    return m_pages[static_cast<unsigned>(index) >> kPageBits][index & (kPageSize - 1)];
  }
  const XmlElementRecord& At(int index) const {
    return m_pages[static_cast<unsigned>(index) >> kPageBits][index & (kPageSize - 1)];
  }

 private:
  void ExtendTo(int capacity);

  std::vector<std::vector<XmlElementRecord>> m_pages;
  int m_count = 0;
  int m_capacity = 0;
};
