#pragma once
// Small recordings cut into new raw data files by the program's raw output, one file per case:
// events at the range's ends, no events, no start time with a range past midnight and a
// first-sample offset, calibrated and uncalibrated channels, non-adjacent channels, both
// data-type words, and empty and full-length subject texts and comments.
#include <cstdint>
#include <string>
#include <vector>

class CQLM2_AnalyzerDoc;

namespace rawcases {

// A source recording of 16-bit words: channel c holds Word(c, i) at sample i.
struct Source {
  int channels = 3;
  int rate = 10;
  long long samples = 100;
};
std::uint16_t Word(int c, long long i);
// Writes the source as an own raw file. False when it cannot be written.
bool WriteSource(const std::string& path, const Source& source);
// The document as opening the source would leave it: channels CH1..CHn ("uV", full scale 400,
// channel 0 calibrated), a subject, a start time of 2024-04-12 23:59:59 and no events.
void Attach(CQLM2_AnalyzerDoc& doc, const std::string& path, const Source& source);

// Writes every case into dir (sources as src_*.fyd, cuts as case_*.fyd); the cuts' paths, or
// nothing with the reason in *error.
std::vector<std::string> WriteCases(const std::string& dir, std::string* error);

}  // namespace rawcases
