// pf/file_replace.h - writing a new version of a file that replaces the old one only when it is
// complete, and leaves nothing behind when it is not.
//
// On Linux the new version is an unnamed file (O_TMPFILE) in the target's folder: a process
// killed while it writes leaves no file at all. Only the complete file gets a name: it is linked
// in place (a new file), or linked to a hidden name and renamed over the old version at once.
// Where the file system has no unnamed files, a hidden named temporary file ".NAME.XXXXXX" is
// used instead (removed on failure, but left behind by a kill).
//
// A symbolic link is followed: its target is replaced and the link stays. The replacement is a
// new file, so other hard links of the old file keep the old contents.
#pragma once
#include <cstddef>
#include <string>

namespace pf {

class FileReplacement {
 public:
  // Prepares the new version of `path`; ok() is false, with error() saying why, when it cannot
  // be written (a folder, a name ending in '/', a missing folder, no permission). A new file
  // gets `newFileMode` less the umask; a replaced one keeps its permissions.
  explicit FileReplacement(const std::string& path, unsigned newFileMode = 0666);
  // Without a successful commit() nothing remains and the old version is untouched.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  bool ok() const { return fd_ >= 0; }
  const std::string& error() const { return error_; }
  int fd() const { return fd_; }
  // The file that commit() replaces: the path, or the file its symbolic links lead to.
  const std::string& target() const { return target_; }
  // The hidden file written when the file system has no unnamed files; empty otherwise.
  const std::string& namedTemporary() const { return temp_; }

  bool write(const char* data, std::size_t n);
  // Flushes the new version to disk and puts it in place of the old one.
  bool commit();

 private:
  bool fail(const std::string& why);
  bool linkInPlace();

  std::string path_, target_, folder_, temp_, error_;
  int fd_ = -1;
  bool unnamed_ = false;
  bool committed_ = false;
};

// Writes `data` as the new version of `path` with a FileReplacement.
bool replaceFile(const std::string& path, const std::string& data, std::string& error);

}  // namespace pf
