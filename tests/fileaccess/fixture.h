#pragma once
// Small recordings written by our own writers, and helpers to read and patch file bytes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_file_records.h"
#include "common/fileaccess/fyn_file_write.h"

namespace fixture {

// A folder of its own for each test, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

enum class RawKind { Raw, Layout1_1, EPRaw };

struct RawSpec {
  RawKind kind = RawKind::Raw;
  _FynRawG1Param1_1 g1;
  std::vector<_FynRawG2Param> channels;
  std::vector<std::uint16_t> frames;  // channel count words per frame
  bool withEvents = false;
  std::vector<std::string> eventNames;
  std::vector<FynRawEvent> events;
  bool withOV = false;  // an "ORVENTALIS" group like the program's own
  _FynOVPatientInfo patient;
  std::vector<_FynOVFreeCommentInfo> comments;
  std::uint16_t ovVersion = 3;
  int ovUnits = 7;
};

// Two channels of 10 samples with distinct parameters.
RawSpec TwoChannelSpec();
// Writes the file; returns false on a writer failure.
bool WriteRaw(const std::string& path, const RawSpec& spec);

std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::uint32_t GetU32(const std::vector<unsigned char>& b, std::size_t at);
void PutU16(std::vector<unsigned char>& b, std::size_t at, std::uint16_t v);
void PutU32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v);

// Start offsets of the groups of a well-formed file (ID block 26 bytes, header 8 or 6).
std::vector<std::size_t> GroupStarts(const std::vector<unsigned char>& b);

}  // namespace fixture
