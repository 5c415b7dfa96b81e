// atomic_file.h - write a whole file or leave the old one as it was.
#pragma once
#include <string>

namespace cadhost {

// Writes data as the new version of path (its symbolic links followed), flushed to disk and
// put in place only when complete. On failure the target is untouched, nothing is left
// behind, and error says why.
bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error);

}  // namespace cadhost
