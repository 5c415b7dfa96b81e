// pf/pooled_name.h - one shared copy of each name that many objects repeat (layers, linetypes,
// text styles, attribute tags, block names): an entity holds a pointer instead of a string of its
// own, which saves tens of bytes on each of a large drawing's hundreds of thousands of entities.
#pragma once

#include <string>
#include <string_view>

namespace pf {

// The pooled copy of `name` (a null name is the empty name). The text is compared exactly (case
// matters: it is written back as it was given). Pooled names live as long as the process; a
// drawing has few distinct names, so the pool stays small.
const char* pooledName(std::string_view name);
inline const char* pooledName(const char* name) { return pooledName(std::string_view(name ? name : "")); }

// A name member that reads like a string and holds a pooled pointer.
class PooledName {
public:
  PooledName() = default;
  PooledName(const char* s) : p_(pooledName(s)) {}
  PooledName(const std::string& s) : p_(pooledName(std::string_view(s))) {}
  PooledName& operator=(const char* s) {
    p_ = pooledName(s);
    return *this;
  }
  PooledName& operator=(const std::string& s) {
    p_ = pooledName(std::string_view(s));
    return *this;
  }
  const char* c_str() const { return p_; }
  bool empty() const { return *p_ == '\0'; }
  void clear() { p_ = ""; }
  operator std::string() const { return p_; }

private:
  const char* p_ = "";
};

}  // namespace pf
