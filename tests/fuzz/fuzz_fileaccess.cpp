// Fuzz target: any bytes as a block data file, through InitParams and every getter of the
// readers, the property-group getters and the raw-file editor.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/fileaccess/fyn_edit_file_raw.h"
#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"

namespace {

const std::string& FilePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/fuzz_fileaccess_" + std::to_string(getpid()) + ".fyd";
  }();
  return path;
}

bool Store(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

constexpr std::uint32_t kSpan = 64;

void Property(FynFileAccess& r) {
  std::uint32_t offset = 0;
  r.GetPropGroupAddress("ORVENTALIS", &offset);
  r.GetPropGroupAddress("SLEEP", &offset);
  _FynOVPatientInfo patient;
  r.GetOVPatientInfo(&patient);
  std::int16_t count = 0;
  if (r.GetOVMarkNum(&count) == 0) {
    std::int16_t kind = 0;
    std::uint32_t pos = 0;
    for (std::int16_t i = 0; i < count && i < 8; ++i) r.GetOVMarkInfo(i, &kind, &pos);
    r.GetOVMarkInfo(count, &kind, &pos);
  }
  if (r.GetOVLabelNum(&count) == 0) {
    _FynOVLabelInfo label;
    for (std::int16_t i = 0; i < count && i < 8; ++i) r.GetOVLabelInfo(i, &label);
    r.GetOVLabelInfo(count, &label);
  }
  _FynOVFreeCommentInfo comments[10];
  r.GetOVFreeCommentInfo(comments, 10);
  r.GetEventFlg();
  r.GetGroupCnt();
}

void Raw(FynFileAccessRaw& r) {
  _FynRawG1Param g1;
  r.GetGroup1ParamRaw(&g1);
  // Buffers are sized by the channel count the reader itself goes by (its own group-1
  // reading, which differs between the plain and the layout-1.1 reader).
  std::int16_t stored = 0;
  if (r.GetGroup1_channels(stored) != 0) return;
  const int channels = stored;
  _FynRawG2Param g2;
  for (int k = 0; k < channels && k < 8; ++k) r.GetGroup2ParamRaw(k, &g2);
  r.GetGroup2ParamRaw(channels, &g2);
  std::vector<std::uint16_t> words(kSpan);
  std::vector<float> values(kSpan);
  r.GetRawDataWORD(0, 0, kSpan - 1, words.data());
  r.GetRawDataFloat(static_cast<std::int16_t>(channels - 1), 3, kSpan + 2, values.data(), 1);
  if (channels > 0 && channels <= 64) {
    std::vector<std::uint16_t> allWords(static_cast<std::size_t>(channels) * kSpan);
    std::vector<float> all(static_cast<std::size_t>(channels) * kSpan);
    std::vector<std::int16_t> invert(static_cast<std::size_t>(channels), 1);
    r.GetRawDataWORDAll(0, kSpan - 1, allWords.data());
    r.GetRawDataFloatAll(0, kSpan - 1, all.data(), invert.data());
    std::vector<_FynRawCALEntry> table(static_cast<std::size_t>(channels));
    for (auto& e : table) {
      e.fullScale = 1.0;
      e.calFlag = 1;
    }
    if (r.SetCalInfo({1, table.data()}) == 0) r.GetRawDataFloatAll(0, kSpan - 1, all.data(), nullptr);
  }
  const std::int16_t types = r.GetEventTypeCount();
  std::string name;
  for (int t = 0; t < types && t < 8; ++t) r.GetEventName(t, &name);
  std::uint32_t events = 0;
  if (r.GetEventCount(&events) == 0) {
    std::int16_t type = 0;
    std::uint32_t pos = 0;
    for (std::uint32_t i = 0; i < events && i < 8; ++i) r.GetEventPosInfo(static_cast<int>(i), &type, &pos);
    r.GetEventPosInfo(static_cast<int>(events), &type, &pos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!Store(data, size)) return 0;
  const char* path = FilePath().c_str();
  {
    FynFileAccessRaw raw(path);
    if (raw.InitParams() == 0) {
      Property(raw);
      Raw(raw);
    }
    FynFileAccessRaw1_1 raw11(path);
    if (raw11.InitParams() == 0) Raw(raw11);
    FynFileAccessEPRaw ep(path);
    if (ep.InitParams() == 0) {
      _EPRawG1Param g1;
      _EPRawG2Param g2;
      ep.GetGroup1ParamRaw(&g1);
      ep.GetGroup2ParamRaw(0, &g2);
    }
    FynFileAccessAna ana(path);
    if (ana.InitParams() == 0) {
      const std::int16_t channels = ana.GetChannelNum();
      _FynAnaG2Param p;
      std::vector<float> out(2 * kSpan);
      for (std::int16_t k = 0; k < channels && k < 4; ++k) {
        ana.GetGroup2ParamAna(k, &p);
        ana.GetAnaData(k, 0, kSpan - 1, out.data(), 1);
        ana.GetAnaDataY(k, 1, kSpan, out.data(), 0);
      }
    }
  }
  // The writing operations last: they may rebuild the file. They flush to the disk, so
  // only a quarter of the inputs take them, chosen by the input itself.
  if (size % 4 == 0) {
    FynEditFileRaw edit(path);
    if (edit.Init() == 1) {
      edit.SetChannelName(0, "Fp1");
      edit.SetDrawRate(0, 2.0);
      if (edit.RebuildRawFile() == 0) {
        FynFileAccessRaw again(path);
        if (again.InitParams() == 0) Raw(again);
      }
    }
    FynFileAccessRaw grow(path);
    if (grow.InitParams() == 0) grow.CreateNewGroupSpace("SLEEP", 64);
  }
  std::remove(path);
  return 0;
}
