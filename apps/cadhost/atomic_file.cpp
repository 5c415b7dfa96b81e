// Atomic file replacement through the platform's pf::FileReplacement: an unnamed file in the
// target's folder, fsync, then linked in place; a kill leaves nothing behind.
#include "atomic_file.h"

#include "pf/file_replace.h"

namespace cadhost {

bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error) {
  return pf::replaceFile(path, data, error);
}

}  // namespace cadhost
