// pooled_name.cpp - the process-wide pool of repeated names (see pf/pooled_name.h).
#include "pf/pooled_name.h"

#include <string>
#include <unordered_set>

namespace pf {

const char* pooledName(std::string_view name) {
  // Never destroyed: objects freed by static destructors may still point at their names.
  static auto* pool = new std::unordered_set<std::string>;
  static const char* lastIn = nullptr;  // the last name asked for, which is usually asked again
  if (lastIn != nullptr && name == lastIn) return lastIn;
  lastIn = pool->emplace(name).first->c_str();
  return lastIn;
}

}  // namespace pf
