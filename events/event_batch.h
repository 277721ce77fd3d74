#pragma once
// The records of one load of event.dat, and the memory they live in: one block
// for all the records and the file's own bytes for their texts, instead of
// three heap blocks per record. Both are freed at once when the load's records
// are gone (the bytes, shared with the store, when it no longer needs them).
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "base/big_buffer.h"
#include "events/my_event.h"

// Owns the block and the bytes. Records come out of it as ordinary
// std::unique_ptr<CMyEvent>s (see CMyEvent::operator delete).
class EventBatch {
 public:
  // `bytes`: the file's bytes, which the loader's texts borrow as they are.
  explicit EventBatch(std::shared_ptr<const BigBuffer> bytes) : bytes_(std::move(bytes)) {}
  // REQUIRES: every record made by NewRecord() has been destroyed.
  ~EventBatch() = default;
  EventBatch(const EventBatch&) = delete;
  EventBatch& operator=(const EventBatch&) = delete;

  const BigBuffer& bytes() const { return *bytes_; }

  // Makes the block, with room for `capacity` records. At most once.
  void Reserve(std::size_t capacity);
  // A record created at time 0, from the block while it has room, else from
  // the heap. Inline: a load calls it once per record.
  std::unique_ptr<CMyEvent> NewRecord() {
    if (used_ == capacity_) return std::make_unique<CMyEvent>(Time32{0});
    CMyEvent* event = new (block_.data() + used_++ * sizeof(CMyEvent)) CMyEvent(Time32{0});
    event->in_batch_ = true;
    return std::unique_ptr<CMyEvent>(event);
  }

 private:
  std::shared_ptr<const BigBuffer> bytes_;
  BigBuffer block_;  // room for capacity_ records
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
};

// The records of a list in stored order, with the batch that the loaded ones
// live in. The records always go before their batch: on destruction (member
// order) and on assignment (see operator=).
class EventRecords {
 public:
  EventRecords() = default;
  EventRecords(EventRecords&& other) noexcept = default;
  EventRecords& operator=(EventRecords&& other) noexcept {
    records = std::move(other.records);  // the old records go first...
    batch_ = std::move(other.batch_);    // ...then the block they lived in
    return *this;
  }
  ~EventRecords() { records.clear(); }

  // Keeps `batch` alive for as long as any of these records may live in it.
  void AdoptBatch(std::unique_ptr<EventBatch> batch) { batch_ = std::move(batch); }

  std::vector<std::unique_ptr<CMyEvent>> records;

 private:
  std::unique_ptr<EventBatch> batch_;
};
