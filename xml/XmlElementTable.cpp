#include "xml/XmlElementTable.h"

#include <algorithm>

void XmlElementTable::Reset(int capacity) {
  const int wanted = std::max(capacity, 1);
  m_count = 0;
  // A reloaded document keeps its pages unless they are far more than it needs now.
  if (m_capacity > 4 * wanted) {
    m_pages.clear();
    m_capacity = 0;
  }
  ExtendTo(wanted);
}

int XmlElementTable::Add() {
  if (m_count == m_capacity) {
    const long long grown = static_cast<long long>(m_capacity) + std::max(m_capacity / 2, 8);
    ExtendTo(static_cast<int>(std::min<long long>(grown, 0x7FFF'FFFF)));
  }
  const int index = m_count++;
  At(index) = XmlElementRecord{};
  return index;
}

void XmlElementTable::ExtendTo(int capacity) {
  while (m_capacity < capacity) {
    const int page = m_capacity >> kPageBits;
    if (page == static_cast<int>(m_pages.size())) m_pages.emplace_back();
    const int pageRecords = std::min(kPageSize, capacity - (page << kPageBits));
    m_pages[page].resize(static_cast<size_t>(pageRecords));
    m_capacity = (page << kPageBits) + pageRecords;
  }
}
