#pragma once

#include <string>

enum class StoreStatus {
  kOk,
  kBadName,        // the name cannot be a file name; nothing was read or written
  kOutsideFolder,  // the file leads out of the data folder; nothing was read or written
  kBadSlot,        // a mode slot other than 0..3; nothing was changed
  kWriteFailed,    // reading went on; some value did not reach the file
};

// The outcome of a store operation. Callers may ignore it; `message` is a plain
// sentence a page can show.
struct StoreResult {
  StoreStatus status = StoreStatus::kOk;
  std::string message;

  explicit operator bool() const { return status == StoreStatus::kOk; }
  static StoreResult Ok() { return {}; }
};
