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
  carriedLine_ = reader.line();
  carriedOffset_ = reader.offset();
  carriedTagOffset_ = reader.tagOffset();
  tagStorage_.reset(new Tag[slots_ * batchTags_]);
  offsetStorage_.reset(new std::size_t[slots_ * batchTags_]);
  ring_.reset(new Batch[slots_]);
  for (std::size_t i = 0; i < slots_; ++i) {
    ring_[i].tags = tagStorage_.get() + i * batchTags_;
    ring_[i].offsets = offsetStorage_.get() + i * batchTags_;
  }
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

std::uint32_t TagStream::line() const { return cur_ != first_ ? cur_[-1].line + 1 : carriedLine_; }

std::size_t TagStream::offset() const {
  return cur_ != first_ ? offsetAfterGroup(data_, offsets_[cur_ - 1 - first_]) : carriedOffset_;
}

bool TagStream::takePushed(Tag& tag) {
  havePushed_ = false;
  answeredPushed_ = true;
  tag = pushed_;
  return true;
}

bool TagStream::takeUntilZero(std::vector<Tag>& out, Tag& zero) {
  for (;;) {
    if (!havePushed_ && cur_ != end_) {
      const Tag* p = cur_;
      while (p != end_ && p->code != 0) ++p;
      if (p != cur_) {
        out.insert(out.end(), cur_, p);
        cur_ = p;
        answeredPushed_ = false;
      }
      if (p != end_) return next(zero);
    }
    // A pushed-back group, or the batch is used up: one group the usual way.
    Tag t;
    if (!next(t)) return false;
    if (t.code == 0) {
      zero = t;
      return true;
    }
    out.push_back(t);
  }
}

// The current batch is used up: release it and wait for the next, or end as the reader did.
bool TagStream::refill(Tag& tag) {
  if (ended_) return false;
  if (first_) {
    const Batch& done = ring_[reading_ % slots_];
    // What line(), offset() and tagOffset() answer must outlive the batch.
    carriedLine_ = line();
    carriedOffset_ = offset();
    if (!answeredPushed_) carriedTagOffset_ = tagOffset();
    first_ = cur_ = end_ = nullptr;
    if (done.last) {
      ended_ = true;
      if (done.error) std::rethrow_exception(done.error);
      carriedLine_ = done.endLine;
      carriedOffset_ = done.endOffset;
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
  first_ = cur_ = b.tags;
  end_ = b.tags + b.count;
  offsets_ = b.offsets;
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
      if (!reader_.next(b.tags[b.count])) {
        b.last = true;
        b.endLine = reader_.line();
        b.endOffset = reader_.offset();
        return;
      }
      b.offsets[b.count] = reader_.tagOffset();
      ++b.count;
    }
  } catch (...) {
    b.error = std::current_exception();
    b.last = true;
  }
}

}  // namespace dxf
}  // namespace pf
