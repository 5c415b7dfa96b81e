// attributemap.cpp - the tag map of Create.
#include "attributemap.h"

#include <mbstring.h>

AttributeMap::AttributeMap() {
  for (Entry*& head : m_buckets) head = nullptr;
}

AttributeMap::~AttributeMap() = default;

unsigned int AttributeMap::bucketOf(const char* tag) {
  unsigned int hash = 0;
  for (const char* p = tag; *p; ++p) hash = (hash << 5) + hash + static_cast<unsigned int>(*p);
  return hash % kBucketCount;
}

AttributeMap::Entry* AttributeMap::newEntry() {
  if (!m_free) {
    // Allocate a block of entries and thread them onto the free list.
    std::unique_ptr<Entry[]> block(new Entry[kBlockSize]);
    for (int i = kBlockSize - 1; i >= 0; --i) {
      block[i].next = m_free;
      m_free = &block[i];
    }
    m_blocks.push_back(std::move(block));
  }
  Entry* entry = m_free;
  m_free = entry->next;
  entry->next = nullptr;
  return entry;
}

void AttributeMap::setAt(const char* tag, const AcDbObjectId& id) {
  if (!tag) tag = "";
  const unsigned int bucket = bucketOf(tag);
  for (Entry* e = m_buckets[bucket]; e; e = e->next) {
    if (_mbscmp(reinterpret_cast<const unsigned char*>(e->tag.c_str()),
                reinterpret_cast<const unsigned char*>(tag)) == 0) {
      e->id = id;
      return;
    }
  }
  Entry* entry = newEntry();
  entry->tag = tag;
  entry->id = id;
  entry->next = m_buckets[bucket];
  m_buckets[bucket] = entry;
  ++m_count;
}

bool AttributeMap::lookup(const char* tag, AcDbObjectId& id) const {
  if (!tag) tag = "";
  for (Entry* e = m_buckets[bucketOf(tag)]; e; e = e->next) {
    if (_mbscmp(reinterpret_cast<const unsigned char*>(e->tag.c_str()),
                reinterpret_cast<const unsigned char*>(tag)) == 0) {
      id = e->id;
      return true;
    }
  }
  return false;
}

void AttributeMap::forEach(
    const std::function<void(const char* tag, const AcDbObjectId& id)>& visit) const {
  for (Entry* head : m_buckets)
    for (Entry* e = head; e; e = e->next) visit(e->tag.c_str(), e->id);
}
