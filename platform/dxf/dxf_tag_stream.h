// dxf_tag_stream.h - the tag reader run in a thread of its own while the caller builds objects.
//
// Reading a large drawing splits into tokenising (splitting lines, reading codes, checking every
// value) and creating objects from the records. A TagStream runs a TagReader in a producer thread
// that fills batches of tags (each with the offset of its group-code line) into a small ring; the
// calling thread takes them in order through the same calls as the reader (next, pushBack, line,
// offset, tagOffset, fail), so the structural walk runs unchanged on either.
//
// Results are exactly those of the reader alone: when the reader throws, the exception is stored
// after the tags read before it and rethrown by the consumer's next() at that position, and the
// producer stops. Tags point into the reader's buffer (never into the ring), so a tag stays valid
// after its batch is reused. The producer touches nothing but the reader and the ring; the
// destructor stops it and joins it on every path, so it never outlives the reader or the buffer.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dxf/dxf_reader.h"

namespace pf {
namespace dxf {

// How large a file must be to be read with a producer thread, and the shape of the ring. Tests
// lower the threshold (and the batches) so that the threaded path reads their small drawings.
struct StreamSettings {
  std::size_t minFileBytes = 256u << 10;  // smaller files: the thread costs more than it saves
  std::size_t batchTags = 4096;           // tags per batch
  std::size_t batches = 4;                // batches in the ring (at least 2)
};
StreamSettings streamSettings();
void setStreamSettings(const StreamSettings& settings);
// How many producer threads this process has started (tests check which path a load took).
std::uint64_t streamsStarted();

class TagStream {
 public:
  // Starts the producer on `reader`, which the caller keeps alive and leaves alone until the
  // stream is destroyed. Throws std::system_error when no thread can be started (the caller
  // then reads on its own thread) and std::bad_alloc.
  explicit TagStream(TagReader& reader, const StreamSettings& settings = streamSettings());
  ~TagStream();
  TagStream(const TagStream&) = delete;
  TagStream& operator=(const TagStream&) = delete;

  // As TagReader::next: the next group, false at the end; rethrows what the reader threw there.
  bool next(Tag& tag) {
    if (havePushed_) return takePushed(tag);
    if (cur_ == end_) return refill(tag);
    tag = *cur_++;
    answeredPushed_ = false;
    return true;
  }
  void pushBack(const Tag& tag) {
    pushedOffset_ = tagOffset();
    pushed_ = tag;
    havePushed_ = true;
  }
  // Appends the groups before the next group 0 to `out` and answers that group 0 in `zero`, as
  // many calls of next() would, but copying a batch's groups at once. False at the end.
  bool takeUntilZero(std::vector<Tag>& out, Tag& zero);

  // As the reader's: lines consumed (the line after the value of the furthest group taken), the
  // first byte not consumed, and the offset of the group-code line of the tag last answered.
  std::uint32_t line() const;
  std::size_t offset() const;
  std::size_t tagOffset() const {
    if (answeredPushed_) return pushedOffset_;
    return cur_ != first_ ? offsets_[cur_ - 1 - first_] : carriedTagOffset_;
  }
  const std::string& fileName() const { return file_; }
  std::string_view data() const { return data_; }
  [[noreturn]] void fail(std::uint32_t line, const std::string& reason) const;

 private:
  // A batch: its tags, and the offset of each one's group-code line beside them (the walk asks
  // for an offset once a record, so the tags it copies are kept dense).
  struct Batch {
    Tag* tags = nullptr;
    std::size_t* offsets = nullptr;
    std::size_t count = 0;
    bool last = false;           // the producer stopped after these tags
    std::exception_ptr error;    // what it stopped on (none: the reader answered false)
    std::uint32_t endLine = 0;   // the reader's line() and offset() when it answered false
    std::size_t endOffset = 0;
  };

  bool refill(Tag& tag);
  bool takePushed(Tag& tag);
  void produce();
  void fill(Batch& batch);

  TagReader& reader_;
  std::string file_;
  std::string_view data_;

  // The ring: batch k of the stream is slot k % slots. The producer may fill batch k once the
  // consumer has released batch k - slots; the consumer may read it once it is published.
  std::unique_ptr<Tag[]> tagStorage_;
  std::unique_ptr<std::size_t[]> offsetStorage_;
  std::unique_ptr<Batch[]> ring_;
  std::size_t slots_;
  std::size_t batchTags_;
  std::mutex mutex_;
  std::condition_variable spaceFreed_, batchReady_;
  std::uint64_t published_ = 0;  // batches the producer has filled
  std::uint64_t released_ = 0;   // batches the consumer is done with
  bool stop_ = false;            // the consumer is going away

  // Consumer side, touched by the calling thread only. The tag last answered is cur_ - 1 when
  // cur_ is past first_ (and no pushed-back tag was answered); otherwise the carried values hold
  // what line(), offset() and tagOffset() answer.
  std::uint64_t reading_ = 0;  // the batch being read, once first_ is set
  const Tag* first_ = nullptr;
  const Tag* cur_ = nullptr;
  const Tag* end_ = nullptr;
  const std::size_t* offsets_ = nullptr;
  std::uint32_t carriedLine_ = 0;
  std::size_t carriedOffset_;
  std::size_t carriedTagOffset_ = 0;
  bool ended_ = false;
  bool havePushed_ = false;
  bool answeredPushed_ = false;
  Tag pushed_;
  std::size_t pushedOffset_ = 0;

  std::thread thread_;  // last: started once everything above is set up
};

}  // namespace dxf
}  // namespace pf
