// Writing a synthetic recording through the data-file writers, with its true hypnogram and
// event list beside it.
#include <cstdio>
#include <vector>

#include "common/fileaccess/fyn_file_io.h"
#include "common/fileaccess/fyn_file_write.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "sample_recording.h"

namespace samples {

namespace {

constexpr std::size_t kChunkSeconds = 10;

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

// The subject group the program writes with every raw file: patient unit, empty units 2 to
// 6 and ten empty free comments, layout version 3.
bool WriteSubjectGroup(const std::string& path, const Plan& plan) {
  FynFileWriteOVG3 w(path.c_str());
  const auto start = sys::FileSize(path);
  if (!start) return false;
  fyn::FynFile file;
  const unsigned char placeholder[4] = {0, 0, 0, 0};
  if (!file.Open(path, fyn::FynFile::Mode::Write) || !file.SeekToEnd() || !file.Write(placeholder, 4)) return false;
  file.Close();
  std::uint64_t end = 0;
  _FynOVPatientInfo patient;
  patient.text1 = plan.options.kind == Kind::Human ? "Sample subject" : "Sample animal";
  patient.patientWord = 0;
  patient.ageYears = plan.options.kind == Kind::Human ? 45 : 0;
  patient.ageMonths = plan.options.kind == Kind::Human ? 0 : 3;
  patient.text2 = "Synthetic recording, seed " + std::to_string(plan.options.seed);
  bool ok = w.WriteHeader("ORVENTALIS", nullptr, &end) == 0;
  const unsigned char words[4] = {7, 0, 3, 0};  // unit count 7, layout version 3
  ok = ok && file.Open(path, fyn::FynFile::Mode::Write) && file.SeekToEnd() && file.Write(words, 4);
  file.Close();
  ok = ok && w.WritePatientInfo(&patient, nullptr, &end) == 0;
  ok = ok && w.StartUnit2(0, nullptr, &end) == 0 && w.EndUnit2(&end, &end) == 0;
  for (int unit = 3; unit <= 6 && ok; ++unit) ok = w.WriteEmptyUnit3(nullptr, &end) == 0;
  const std::vector<_FynOVFreeCommentInfo> comments(10);
  ok = ok && w.WriteFreeCommentUnit(comments, nullptr, &end) == 0;
  if (!ok) return false;
  unsigned char length[4];
  const std::uint64_t size = end - *start;
  for (int i = 0; i < 4; ++i) length[i] = static_cast<unsigned char>(size >> (8 * i));
  return file.Open(path, fyn::FynFile::Mode::Write) && file.WriteAt(*start, length, 4);
}

bool WriteSamples(const std::string& path, const Plan& plan) {
  fyn::FynFile file;
  if (!file.Open(path, fyn::FynFile::Mode::Write) || !file.SeekToEnd()) return false;
  const std::size_t channels = plan.channels.size();
  const std::uint64_t words = std::uint64_t{plan.dataCount} * channels;
  unsigned char head[4];
  const std::uint64_t length = 4 + 2 * words;
  for (int i = 0; i < 4; ++i) head[i] = static_cast<unsigned char>(length >> (8 * i));
  if (!file.Write(head, 4)) return false;
  SignalSource source(plan);
  const std::size_t chunkFrames = kChunkSeconds * static_cast<std::size_t>(plan.options.rateHz);
  std::vector<std::int16_t> frames(chunkFrames * channels);
  std::vector<unsigned char> bytes(frames.size() * 2);
  for (std::uint64_t done = 0; done < plan.dataCount;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunkFrames, plan.dataCount - done));
    source.Next(n, frames.data());
    for (std::size_t i = 0; i < n * channels; ++i) {
      const auto v = static_cast<std::uint16_t>(frames[i]);
      bytes[2 * i] = static_cast<unsigned char>(v);
      bytes[2 * i + 1] = static_cast<unsigned char>(v >> 8);
    }
    if (!file.Write(bytes.data(), n * channels * 2)) return false;
    done += n;
  }
  return true;
}

std::string FormatSeconds(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", s);
  return buf;
}

}  // namespace

std::string CompanionPath(const std::string& path, const std::string& extension) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

bool WriteSampleRecording(const Options& options, const std::string& path, std::string* error) {
  const Plan plan = MakePlan(options);
  const std::uint64_t bytes = 4 + 2 * std::uint64_t{plan.dataCount} * plan.channels.size();
  if (plan.channels.empty() || plan.channels.size() > 0x7FFF) return Fail(error, "channel count out of range");
  if (bytes > 0xFFFFFFFFull) return Fail(error, "recording too large: the data group exceeds 4 GiB");

  const std::string staging = path + ".partial";
  _FynIdBlock id{2, "FY_VEX_RAWDATA", 0x0110};
  _FynRawHeader header{5, 1};  // group 1, group 2, subject group, data, events
  _FynRawG1Param g1;
  g1.dataType = 0;
  g1.channels = static_cast<std::uint16_t>(plan.channels.size());
  g1.dataCount = plan.dataCount;
  g1.samplingHz = plan.options.rateHz;
  g1.wordA = 16;
  g1.startTimeFlag = 1;
  g1.year = 2024;
  g1.month = 4;
  g1.day = 12;
  g1.hour = options.kind == Kind::Human ? 22 : 7;
  FynFileWriteRaw w(staging.c_str());
  std::uint64_t end = 0;
  bool ok = w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0 && w.WriteHeader(&header, nullptr, &end) == 0 &&
            w.WriteGroup1Raw(&g1, nullptr, &end) == 0 &&
            w.StartGroup2(static_cast<std::int16_t>(plan.channels.size()), nullptr, &end) == 0;
  for (const ChannelInfo& c : plan.channels) {
    _FynRawG2Param p;
    p.name = c.name;
    p.fullScale = std::max(std::abs(c.topPhysical), std::abs(c.bottomPhysical));
    p.calFlag = 1;
    p.calTopSample = 0x7FFF;
    p.calBottomSample = 0x8000;
    p.calTopPhysical = c.topPhysical;
    p.calBottomPhysical = c.bottomPhysical;
    p.unit = c.unit;
    // Without a "SLEEP" group the reader takes the draw rate as the units per cm.
    p.drawRateFlag = 1;
    p.drawRate = c.unitsPerCm;
    ok = ok && w.WriteGroup2Unit(&p, nullptr, &end) == 0;
  }
  ok = ok && w.EndGroup2(&end, &end) == 0;
  ok = ok && WriteSubjectGroup(staging, plan);
  ok = ok && WriteSamples(staging, plan);
  const std::vector<FynRawEvent> marks = {{0, 0}, {1, plan.dataCount - 1}};
  ok = ok && w.WriteEventGroup({"Lights off", "Lights on"}, marks, nullptr, &end) == 0;
  if (!ok || std::rename(staging.c_str(), path.c_str()) != 0) {
    sys::DeleteFile(staging);
    return Fail(error, "cannot write " + path);
  }

  std::string stages;
  for (int s : plan.stages) stages += std::to_string(s) + "\n";
  std::string events;
  for (const Event& e : plan.events) {
    events += FormatSeconds(e.onsetSeconds) + "\t" + FormatSeconds(e.durationSeconds) + "\t" + e.type + "\n";
  }
  for (std::size_t a = 0; a < plan.animalStages.size(); ++a) {
    std::string own;
    for (int s : plan.animalStages[a]) own += std::to_string(s) + "\n";
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "_%02zu.stages", a + 1);
    if (!sys::WriteFileAtomic(CompanionPath(path, suffix), own))
      return Fail(error, "cannot write the hypnograms beside " + path);
  }
  if (!sys::WriteFileAtomic(CompanionPath(path, ".stages"), stages) ||
      !sys::WriteFileAtomic(CompanionPath(path, ".events"), events)) {
    return Fail(error, "cannot write the hypnogram or event list beside " + path);
  }
  return true;
}

}  // namespace samples
