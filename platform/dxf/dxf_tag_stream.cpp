// dxf_tag_stream.cpp - the tag reader in a producer thread, feeding a ring of batches (see
// dxf_tag_stream.h).
#include "dxf/dxf_tag_stream.h"

#include <algorithm>
#include <atomic>

namespace pf {
namespace dxf {

namespace {

std::mutex settingsMutex;
StreamSettings currentSettings;
std::atomic<std::uint64_t> started{0};

}  // namespace

StreamSettings streamSettings() {
  std::lock_guard<std::mutex> lock(settingsMutex);
  return currentSettings;
}

void setStreamSettings(const StreamSettings& settings) {
  std::lock_guard<std::mutex> lock(settingsMutex);
  currentSettings = settings;
  currentSettings.batchTags = std::max<std::size_t>(1, settings.batchTags);
  currentSettings.batches = std::max<std::size_t>(2, settings.batches);
}

std::uint64_t streamsStarted() { return started.load(); }

TagStream::TagStream(TagReader& reader, const StreamSettings& settings)
    : reader_(reader),
      file_(reader.fileName()),
      data_(reader.data()),
      slots_(std::max<std::size_t>(2, settings.batches)),
      batchTags_(std::max<std::size_t>(1, settings.batchTags)) {
  lastLine_ = reader.line();
  lastOffset_ = reader.offset();
  storage_.reset(new Entry[slots_ * batchTags_]);
  ring_.reset(new Batch[slots_]);
  for (std::size_t i = 0; i < slots_; ++i) ring_[i].tags = storage_.get() + i * batchTags_;
  thread_ = std::thread([this] { produce(); });
  ++started;
}

TagStream::~TagStream() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  spaceFreed_.notify_one();
  thread_.join();
}

void TagStream::fail(std::uint32_t line, const std::string& reason) const { throw DxfError(file_, line, reason); }

std::uint32_t TagStream::line() const { return furthest_ ? furthest_->tag.line + 1 : lastLine_; }

std::size_t TagStream::offset() const { return furthest_ ? offsetAfterGroup(data_, furthest_->offset) : lastOffset_; }

// The current batch is used up: release it and wait for the next, or end as the reader did.
bool TagStream::refill(Tag& tag) {
  if (ended_) return false;
  if (cur_) {
    const Batch& done = ring_[reading_ % slots_];
    // line() and offset() must outlive the batch.
    lastLine_ = line();
    lastOffset_ = offset();
    furthest_ = nullptr;
    if (done.last) {
      ended_ = true;
      cur_ = end_ = nullptr;
      if (done.error) std::rethrow_exception(done.error);
      lastLine_ = done.endLine;
      lastOffset_ = done.endOffset;
      return false;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      released_ = reading_ + 1;
    }
    spaceFreed_.notify_one();
    ++reading_;
  }
  {
    std::unique_lock<std::mutex> lock(mutex_);
    batchReady_.wait(lock, [this] { return published_ > reading_; });
  }
  const Batch& b = ring_[reading_ % slots_];
  cur_ = b.tags;
  end_ = b.tags + b.count;
  if (cur_ == end_) return refill(tag);  // an empty last batch: the end or the reader's error
  return next(tag);
}

void TagStream::produce() {
  for (std::uint64_t k = 0;; ++k) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      spaceFreed_.wait(lock, [&] { return stop_ || k < released_ + slots_; });
      if (stop_) return;
    }
    Batch& b = ring_[k % slots_];
    fill(b);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      published_ = k + 1;
    }
    batchReady_.notify_one();
    if (b.last) return;
  }
}

// Reads up to a batch of tags; the reader's end or exception closes the stream.
void TagStream::fill(Batch& b) {
  b.count = 0;
  b.last = false;
  b.error = nullptr;
  try {
    while (b.count < batchTags_) {
      Entry& e = b.tags[b.count];
      if (!reader_.next(e.tag)) {
        b.last = true;
        b.endLine = reader_.line();
        b.endOffset = reader_.offset();
        return;
      }
      e.offset = reader_.tagOffset();
      ++b.count;
    }
  } catch (...) {
    b.error = std::current_exception();
    b.last = true;
  }
}

}  // namespace dxf
}  // namespace pf
