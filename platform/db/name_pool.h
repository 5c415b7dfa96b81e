// name_pool.h - one shared copy of each name that many objects repeat (layers, linetypes, text
// styles, attribute tags): an entity holds a pointer instead of a string of its own, which saves
// tens of bytes on each of a large drawing's hundreds of thousands of entities.
#pragma once

#include <string_view>

namespace pf {

// The pooled copy of `name` (a null name is the empty name). The text is compared exactly (case
// matters: it is written back as it was given). Pooled names live as long as the process; a
// drawing has few distinct names, so the pool stays small.
const char* pooledName(std::string_view name);
inline const char* pooledName(const char* name) { return pooledName(std::string_view(name ? name : "")); }

}  // namespace pf
