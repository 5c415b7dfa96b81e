// dxf_file.h - file access for drawings: a read-only whole-file view (mapped when possible) and
// an atomic writer (temporary file beside the target, flushed, synced, then renamed over it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pf/file_replace.h"

namespace pf {
namespace dxf {

// The bytes of a file. Regular files are memory-mapped; anything else is read once.
// Throws DxfError (line 0) when the file cannot be opened or read.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::string_view data() const { return {data_, size_}; }
  // From now on the bytes are `text` (a binary drawing's ASCII form); the file is let go.
  void replaceWith(std::string text);
  // Tells the system the bytes before `offset` will not be read again, so that the pages of a
  // large drawing already parsed need not stay resident while the rest loads.
  void release(std::size_t offset);

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
  std::size_t released_ = 0;
  std::string owned_;
};

// Writes a file atomically through pf::FileReplacement: everything goes to an unnamed file in
// the target's folder, and only commit() (fsync, link, rename) replaces the target. Destroying
// an uncommitted writer leaves nothing and the target as it was. Failures throw DxfError with
// the reason (line 0).
class AtomicOutputFile {
 public:
  explicit AtomicOutputFile(const std::string& path);
  ~AtomicOutputFile();
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

  void write(const char* data, std::size_t n);
  void commit();

 private:
  std::string path_;
  FileReplacement file_;
  std::size_t written_ = 0;
  std::size_t synced_ = 0;  // the bytes whose write-out has been started
  static constexpr std::size_t kSyncStep = 8u << 20;
};

}  // namespace dxf
}  // namespace pf
