// db/pooled_name.h - one shared copy of each name that many objects repeat (layers, linetypes,
// text styles, attribute tags, block names): an entity holds a pointer instead of a string of its
// own, which saves tens of bytes on each of a large drawing's hundreds of thousands of entities.
// The entities' headers declare pf::PooledName (dbents.h) without the pool; its members are
// defined here, so only the platform's own code can read or set a pooled name.
#pragma once

#include <string>
#include <string_view>

#include "dbents.h"

namespace pf {

// The pooled copy of `name` (a null name is the empty name). The text is compared exactly (case
// matters: it is written back as it was given). Pooled names live as long as the process; a
// drawing has few distinct names, so the pool stays small.
const char* pooledName(std::string_view name);
inline const char* pooledName(const char* name) { return pooledName(std::string_view(name ? name : "")); }

// The entities' layout counts on a pooled name being just the pointer.
static_assert(sizeof(PooledName) == sizeof(const char*), "a pooled name is one pointer");

inline PooledName::PooledName(const char* s) : p_(pooledName(s)) {}
inline PooledName::PooledName(const std::string& s) : p_(pooledName(std::string_view(s))) {}
inline PooledName& PooledName::operator=(const char* s) {
  p_ = pooledName(s);
  return *this;
}
inline PooledName& PooledName::operator=(const std::string& s) {
  p_ = pooledName(std::string_view(s));
  return *this;
}
inline const char* PooledName::c_str() const { return p_; }
inline bool PooledName::empty() const { return *p_ == '\0'; }
inline void PooledName::clear() { p_ = ""; }
inline PooledName::operator std::string() const { return p_; }

}  // namespace pf
