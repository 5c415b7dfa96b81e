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

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

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

AtomicOutputFile::AtomicOutputFile(const std::string& path) : path_(path) {
  std::string dir = directoryOf(path);
  std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  std::string tmpl = (dir == "/" ? "" : dir) + "/." + base + ".XXXXXX";
  std::string buf = tmpl;
  fd_ = ::mkstemp(&buf[0]);
  if (fd_ < 0)
    throw DxfError(path, 0, "cannot write the drawing: cannot create a file in " + dir + ": " + errnoText(errno), DxfError::kWrite);
  temp_ = buf;
  // mkstemp creates 0600; a drawing gets the usual permissions of a new file, or keeps the
  // permissions of the file it replaces.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0)
    ::fchmod(fd_, st.st_mode & 07777);
  else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
}

AtomicOutputFile::~AtomicOutputFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicOutputFile::write(const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd_, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      throw DxfError(path_, 0, "cannot write the drawing: " + errnoText(errno), DxfError::kWrite);
    }
    data += w;
    n -= static_cast<std::size_t>(w);
    written_ += static_cast<std::size_t>(w);
  }
  // Start writing what is in the page cache to disk while the rest is made, so that the sync of
  // commit() has little left to wait for (it still makes sure everything is there).
  if (written_ - synced_ >= kSyncStep) {
#ifdef __linux__
    ::sync_file_range(fd_, static_cast<off_t>(synced_), static_cast<off_t>(written_ - synced_), SYNC_FILE_RANGE_WRITE);
#endif
    synced_ = written_;
  }
}

void AtomicOutputFile::commit() {
  if (::fsync(fd_) != 0) throw DxfError(path_, 0, "cannot write the drawing: " + errnoText(errno), DxfError::kWrite);
  if (::close(fd_) != 0) {
    fd_ = -1;
    throw DxfError(path_, 0, "cannot write the drawing: " + errnoText(errno), DxfError::kWrite);
  }
  fd_ = -1;
  if (::rename(temp_.c_str(), path_.c_str()) != 0)
    throw DxfError(path_, 0, "cannot replace the drawing: " + errnoText(errno), DxfError::kWrite);
  committed_ = true;
  // Make the rename itself durable.
  int dfd = ::open(directoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

}  // namespace dxf
}  // namespace pf
