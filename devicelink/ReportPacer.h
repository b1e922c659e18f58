#pragma once

#include <cstdint>

// Keeps the pauses the keyboard needs between output reports.
class ReportPacer {
 public:
  virtual ~ReportPacer() = default;
  // Called right after a write returned; returns once `ms` have passed since that moment.
  virtual void PauseAfterWrite(std::uint32_t ms) = 0;
};

// Sleeps to an absolute deadline on the monotonic clock, counted from the end of the write.
// Relative sleeps overshoot a little each time, and over the hundreds of reports of a full
// key upload that adds up to seconds.
class DeadlinePacer : public ReportPacer {
 public:
  void PauseAfterWrite(std::uint32_t ms) override;
};
