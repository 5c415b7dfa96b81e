// pooled_name.cpp - the process-wide pool of repeated names (see db/pooled_name.h).
#include "db/pooled_name.h"

#include <cstring>
#include <string>
#include <unordered_set>

namespace pf {

namespace {

// The few names asked for most recently: records repeat the same layer, linetype and style
// names one after the other, and a comparison with these is much cheaper than hashing.
struct Recent {
  static constexpr int kSize = 8;
  const char* text[kSize] = {};
  std::size_t size[kSize] = {};
  int next = 0;

  const char* find(std::string_view name) const {
    for (int i = 0; i < kSize; ++i)
      if (text[i] != nullptr && size[i] == name.size() && std::memcmp(text[i], name.data(), name.size()) == 0)
        return text[i];
    return nullptr;
  }
  void add(const std::string& pooled) {
    text[next] = pooled.c_str();
    size[next] = pooled.size();
    next = (next + 1) % kSize;
  }
};

}  // namespace

const char* pooledName(std::string_view name) {
  // Never destroyed: objects freed by static destructors may still point at their names.
  static auto* pool = new std::unordered_set<std::string>;
  static Recent recent;
  if (const char* hit = recent.find(name)) return hit;
  const std::string& pooled = *pool->emplace(name).first;
  recent.add(pooled);
  return pooled.c_str();
}

}  // namespace pf
