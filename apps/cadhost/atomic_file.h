// atomic_file.h - write a whole file or leave the old one as it was.
#pragma once
#include <string>

namespace cadhost {

// Writes data to a temporary file beside path, flushes it to disk and renames it over path.
// On failure the target is untouched, the temporary file removed, and error says why.
bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error);

}  // namespace cadhost
