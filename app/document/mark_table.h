#pragma once
// MarkTable: the document's store of marks. Marks are time spans of the recording,
// each tagged with one of ten mark types. Per type the table keeps the list of spans
// (start and end in seconds) and a presence flag for every tenth of a second of the
// recording; both describe the same marks. Readers check FlagLength() and the flag
// pointer and treat 0 or null as "no marks".
#include <array>
#include <cstdint>
#include <vector>

#include "app/document/table_memory.h"

constexpr int kMarkTypeCount = 10;

// The integer part of a value (toward zero), plus 1 when the first decimal digit of its
// fraction is 5 or more (mode 0) or more than 5 (mode 1).
int RoundByFirstDecimal(double value, int mode);

class MarkTable {
 public:
  // Discards every mark and makes, per type, a zeroed flag array of
  // recordSeconds x 10 points and span lists of recordSeconds entries.
  // Returns 1, or 0 when memory runs out: every array is then freed and the
  // failure reported ("CQLM2_AnalyzerDoc::AllocateMark", a line break and
  // "Fail to get memory.").
  int AllocateMark(int recordSeconds, const tablemem::FailureReporter& report = {});
  void Free();

  // Sets the flag points of a span of type t: from the start x 10 up to, not including, the
  // end x 10 (both rounded by RoundByFirstDecimal, mode 0), never beyond the flag length; a
  // span of less than one point sets the point at the rounded start.
  void MarkEventRange(int type, float startSeconds, float endSeconds);
  // Sets (value 1) or clears (0) points from..to - 1 of a type in both descriptions: the flags,
  // and the span list, where a set span is added in start order and a cleared one is cut out
  // of the spans it touches (so that rebuilding the flags from the spans keeps the change).
  // A span that does not fit the list's capacity is kept in the flags only.
  void SetPoints(int type, int from, int to, int value);

  int MarksPresent() const { return marksPresent_; }
  void SetMarksPresent(int value) { marksPresent_ = value; }
  int FlagLength() const { return flagLength_; }
  int Capacity() const { return capacity_; }
  // Flag array of a type (FlagLength() bytes), or null.
  std::uint8_t* Flags(int type);
  const std::uint8_t* Flags(int type) const;
  // False while the flags of a type were never handed out for writing since they were
  // allocated: they are all 0 then, and a scan need not read (and so map) their memory.
  bool FlagsMayBeSet(int type) const { return ValidType(type) && flagsHandedOut_[static_cast<std::size_t>(type)]; }
  // Span lists of a type (Capacity() entries each), or null; Count(t) are in use.
  float* Start(int type);
  float* End(int type);
  int Count(int type) const;
  void SetCount(int type, int count);
  // Trigger runs of a screening batch: a run of a type is open (its start stored at
  // Count(type), its end not yet), and a type's list or any list overflowed.
  int RunOpen(int type) const { return ValidType(type) ? runOpen_[static_cast<std::size_t>(type)] : 0; }
  void SetRunOpen(int type, int value) {
    if (ValidType(type)) runOpen_[static_cast<std::size_t>(type)] = static_cast<std::uint16_t>(value);
  }
  int Overflow(int type) const { return ValidType(type) ? overflow_[static_cast<std::size_t>(type)] : 0; }
  void SetOverflow(int type, int value) {
    if (ValidType(type)) overflow_[static_cast<std::size_t>(type)] = static_cast<std::uint16_t>(value);
  }
  int OverflowAll() const { return overflowAll_; }
  void SetOverflowAll(int value) { overflowAll_ = static_cast<std::uint16_t>(value); }

 private:
  static bool ValidType(int type) { return type >= 0 && type < kMarkTypeCount; }

  int marksPresent_ = 0;
  int flagLength_ = 0;
  std::array<tablemem::ZeroedTable<std::uint8_t>, kMarkTypeCount> flags_;
  std::array<bool, kMarkTypeCount> flagsHandedOut_{};
  int capacity_ = 0;
  std::array<int, kMarkTypeCount> count_{};
  std::array<std::uint16_t, kMarkTypeCount> runOpen_{};
  std::array<std::uint16_t, kMarkTypeCount> overflow_{};
  std::uint16_t overflowAll_ = 0;
  std::array<tablemem::ZeroedTable<float>, kMarkTypeCount> start_;
  std::array<tablemem::ZeroedTable<float>, kMarkTypeCount> end_;
};
