// attributemap.h - attribute tag -> attribute id, as Create collects a block reference's tags.
//
// A small hash map with 17 chained buckets. Tags are compared exactly (byte-wise, multibyte
// aware, case significant), and storing a tag that is already present replaces its id, so of
// several attributes with the same tag the last one stored wins. Entries are allocated in
// blocks of ten.
#pragma once

#include "dbid.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class AttributeMap {
public:
  AttributeMap();
  ~AttributeMap();
  AttributeMap(const AttributeMap&) = delete;
  AttributeMap& operator=(const AttributeMap&) = delete;

  // Stores id under tag, replacing the id of an equal tag.
  void setAt(const char* tag, const AcDbObjectId& id);

  // Answers true and sets id when tag is present.
  bool lookup(const char* tag, AcDbObjectId& id) const;

  int count() const { return m_count; }
  bool isEmpty() const { return m_count == 0; }

  // Visits every entry: buckets 0 to 16, each chain from its head.
  void forEach(const std::function<void(const char* tag, const AcDbObjectId& id)>& visit) const;

  // The bucket a tag falls into (the classic string hash, modulo the bucket count).
  static unsigned int bucketOf(const char* tag);

  static const unsigned int kBucketCount = 17;
  static const int kBlockSize = 10;

private:
  struct Entry {
    Entry* next = nullptr;
    std::string tag;
    AcDbObjectId id;
  };

  Entry* newEntry();

  Entry* m_buckets[kBucketCount];
  Entry* m_free = nullptr;
  std::vector<std::unique_ptr<Entry[]>> m_blocks;
  int m_count = 0;
};
