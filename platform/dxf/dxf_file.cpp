// dxf_file.cpp - whole-file input view and atomic output file (see dxf_file.h).
#include "dxf/dxf_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dxf/dxf_tag.h"

namespace pf {
namespace dxf {

namespace {

std::string errnoText(int err) { return std::strerror(err); }

}  // namespace

InputFile::InputFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    throw DxfError(path, 0, "cannot open the file: " + errnoText(err),
                   err == ENOENT ? DxfError::kFileNotFound : DxfError::kFileAccess);
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    throw DxfError(path, 0, "cannot read the file: " + errnoText(err), DxfError::kFileAccess);
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw DxfError(path, 0, "cannot read the file: it is a directory", DxfError::kFileAccess);
  }
  if (S_ISREG(st.st_mode) && st.st_size > 0) {
    void* p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p != MAP_FAILED) {
      ::madvise(p, static_cast<std::size_t>(st.st_size), MADV_SEQUENTIAL);
      data_ = static_cast<const char*>(p);
      size_ = static_cast<std::size_t>(st.st_size);
      mapped_ = true;
      ::close(fd);
      return;
    }
  }
  // Pipes, devices, or a failed mapping: read everything once.
  char block[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, block, sizeof block);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw DxfError(path, 0, "cannot read the file: " + errnoText(err), DxfError::kFileAccess);
    }
    owned_.append(block, static_cast<std::size_t>(n));
  }
  ::close(fd);
  data_ = owned_.data();
  size_ = owned_.size();
}

InputFile::~InputFile() {
  if (mapped_) ::munmap(const_cast<char*>(data_), size_);
}

void InputFile::replaceWith(std::string text) {
  if (mapped_) ::munmap(const_cast<char*>(data_), size_);
  mapped_ = false;
  released_ = 0;
  owned_ = std::move(text);
  data_ = owned_.data();
  size_ = owned_.size();
}

void InputFile::release(std::size_t offset) {
  if (!mapped_) return;
  long page = ::sysconf(_SC_PAGESIZE);
  std::size_t end = offset / static_cast<std::size_t>(page) * static_cast<std::size_t>(page);
  if (end <= released_) return;
  ::madvise(const_cast<char*>(data_) + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

AtomicOutputFile::AtomicOutputFile(const std::string& path) : path_(path), file_(path) {
  if (!file_.ok()) throw DxfError(path, 0, "cannot write the drawing: " + file_.error(), DxfError::kWrite);
}

AtomicOutputFile::~AtomicOutputFile() = default;

void AtomicOutputFile::write(const char* data, std::size_t n) {
  if (!file_.write(data, n)) throw DxfError(path_, 0, "cannot write the drawing: " + file_.error(), DxfError::kWrite);
  written_ += n;
  // Start writing what is in the page cache to disk while the rest is made, so that the sync of
  // commit() has little left to wait for (it still makes sure everything is there).
  if (written_ - synced_ >= kSyncStep) {
#ifdef __linux__
    ::sync_file_range(file_.fd(), static_cast<off_t>(synced_), static_cast<off_t>(written_ - synced_), SYNC_FILE_RANGE_WRITE);
#endif
    synced_ = written_;
  }
}

void AtomicOutputFile::commit() {
  if (!file_.commit()) throw DxfError(path_, 0, "cannot write the drawing: " + file_.error(), DxfError::kWrite);
}

}  // namespace dxf
}  // namespace pf
