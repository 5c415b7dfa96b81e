// csvfile.h - CSV text (RFC 4180) and files written whole, then renamed into place.
#pragma once

#include <string>
#include <vector>

namespace toolkit {

// One record: fields joined by commas, a field holding a comma, a quote or a line break
// quoted (quotes doubled), the record ended by CR LF.
std::string csvRecord(const std::vector<std::string>& fields);

// Writes the text to a new file beside `path` and renames it to `path`, so that a reader sees
// the old file or the whole new one, never a part. On failure nothing is left behind and
// `error` says why (the system's reason).
bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error);

}  // namespace toolkit
