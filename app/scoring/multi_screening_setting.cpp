#include "app/scoring/multi_screening_setting.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/document/byte_image.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"

namespace {

constexpr char kMagic[] = "MULTISCR";
constexpr char kTag[] = "MSS";
constexpr std::size_t kBandNameField = 10;

// Appends little-endian values to a byte string.
class Writer {
 public:
  explicit Writer(std::string* out) : out_(out) {}
  template <class T>
  void Put(T v) {
    char b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));
    out_->append(b, sizeof(T));
  }
  void Raw(const char* p, std::size_t n) { out_->append(p, n); }
  void Path(const std::string& path) { Field(path, true, kMsPathField); }
  void Text(const std::string& text, std::size_t width) { Field(text, false, width); }
  void Time(const MsDateTime& t) {
    for (std::uint16_t v : t) Put<std::uint16_t>(v);
  }

 private:
  void Field(const std::string& text, bool path, std::size_t width) {
    std::vector<std::uint8_t> f(width, 0);
    if (path) bytes::PutPath(f, 0, width, text);
    else bytes::PutText(f, 0, width, text);
    out_->append(reinterpret_cast<const char*>(f.data()), f.size());
  }
  std::string* out_;
};

// Reads little-endian values; once a read runs past the end every later read fails too.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
  bool Ok() const { return ok_; }
  std::size_t Offset() const { return at_; }
  template <class T>
  T Get() {
    T v{};
    if (!Take(sizeof(T))) return v;
    std::memcpy(&v, b_.data() + at_ - sizeof(T), sizeof(T));
    return v;
  }
  bool Skip(std::size_t n) { return Take(n); }
  bool Match(const char* text, std::size_t n) {
    if (!Take(n)) return false;
    return std::memcmp(b_.data() + at_ - n, text, n) == 0;
  }
  std::string Path() { return Field(kMsPathField, true); }
  std::string Text(std::size_t width) { return Field(width, false); }
  MsDateTime Time() {
    MsDateTime t{};
    for (auto& v : t) v = Get<std::uint16_t>();
    return t;
  }

 private:
  bool Take(std::size_t n) {
    if (!ok_ || b_.size() - at_ < n) {
      ok_ = false;
      return false;
    }
    at_ += n;
    return true;
  }
  std::string Field(std::size_t width, bool path) {
    if (!Take(width)) return {};
    return path ? bytes::GetPath(b_, at_ - width, width) : bytes::GetText(b_, at_ - width, width);
  }
  std::span<const std::uint8_t> b_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

void PutTerm(Writer& w, const MultiScreeningTerm& t) {
  w.Put<std::uint16_t>(t.Parameter);
  w.Put<std::uint16_t>(t.ChannelKind);
  w.Put<std::uint16_t>(t.ChannelNumber);
  w.Put<std::uint16_t>(t.LowerKind);
  w.Put<float>(t.LowerValue);
  w.Put<std::uint32_t>(t.LowerExclusive);
  w.Put<std::uint16_t>(t.UpperKind);
  w.Put<float>(t.UpperValue);
  w.Put<std::uint32_t>(t.UpperExclusive);
}

MultiScreeningTerm GetTerm(Reader& r) {
  MultiScreeningTerm t;
  t.Parameter = r.Get<std::uint16_t>();
  t.ChannelKind = r.Get<std::uint16_t>();
  t.ChannelNumber = r.Get<std::uint16_t>();
  t.LowerKind = r.Get<std::uint16_t>();
  t.LowerValue = r.Get<float>();
  t.LowerExclusive = r.Get<std::uint32_t>();
  t.UpperKind = r.Get<std::uint16_t>();
  t.UpperValue = r.Get<float>();
  t.UpperExclusive = r.Get<std::uint32_t>();
  return t;
}

MultiScreeningTerm Term(std::uint16_t parameter, std::uint16_t kind, std::uint16_t lowerKind, float lower,
                        std::uint16_t upperKind, float upper) {
  MultiScreeningTerm t;
  t.Parameter = parameter;
  t.ChannelKind = kind;
  t.LowerKind = lowerKind;
  t.LowerValue = lower;
  t.UpperKind = upperKind;
  t.UpperValue = upper;
  return t;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

LyrMultiScreeningSetting::LyrMultiScreeningSetting(NoFile) { SetDefaults(); }

LyrMultiScreeningSetting::LyrMultiScreeningSetting() {
  SetDefaults();
  if (sys::FileExists(GetResumePath())) {
    // A file that cannot be read leaves the defaults (the read commits nothing).
    LoadResume();
  } else {
    SaveResume();
  }
}

void LyrMultiScreeningSetting::SetDefaults() {
  FileList.clear();
  FileListPluginPath.clear();
  UseResultFolder = 0;
  ResultFolder.clear();
  SettingFileLoaded = 0;
  SettingFilePath.clear();
  ChannelsPerAnimal = 3;
  ChannelAttributes = {{kMsEeg, 0, 0.0f}, {kMsEmg, 0, 0.0f}, {kMsLocomotion, 0, 3.0f}};
  ChannelFilters = {{1, 2, 0.75f, 0.0f, 0, 50.0f}, {1, 3, 20.0f, 50.0f, 0, 50.0f}, {0, 0, 0.0f, 0.0f, 0, 50.0f}};
  Conditions.clear();
  MultiScreeningCondition c;
  c.Stage = 1;
  c.First = Term(30, kMsLocomotion, kMsBoundValue, 1.0f, kMsBoundMax, 0.0f);
  Conditions.push_back(c);
  c = {};
  c.Stage = 3;
  c.First = Term(14, kMsEeg, kMsBoundAuto, 1000.0f, kMsBoundMax, 0.0f);
  Conditions.push_back(c);
  c = {};
  c.Stage = 2;
  c.First = Term(17, kMsEeg, kMsBoundAuto, 70.0f, kMsBoundValue, 100.0f);
  c.Second = Term(13, kMsEmg, kMsBoundValue, 0.0f, kMsBoundMean, 0.0f);
  c.UseSecond = 1;
  Conditions.push_back(c);
  c = {};
  c.Stage = 1;
  Conditions.push_back(c);
  LastStageScreening = 0;
  LastStageFrom = 1;
  LastStageTarget = 2;
  LastStageResult = 1;
  TargetOccupancy = {10.0f, 46.0f, 0, 0, 0, 0, 0, 0};
  LightPhaseStart = {0, 0, 0, 0, 8, 0, 0, 0};
  LightPhaseShare = 68.0f;
  FftPoints = 256;
  FftAverage = 5;
  FftWindow = 1;
  FftUnit = 0;
  FftRateMode = 0;
  EffectiveBandFrom = 0.75f;
  EffectiveBandTo = 10.0f;
  BandCount = 2;
  Bands = {{"Delta", 0.75f, 4.0f}, {"Theta", 6.0f, 10.0f}};
  RangeStartMode = 0;
  RangeStartTime = {0, 0, 0, 0, 12, 0, 0, 0};
  RangeEndMode = 0;
  RangeEndDays = 0;
  RangeEndHours = 6;
}

// ---- stored forms ----------------------------------------------------------------------

std::string LyrMultiScreeningSetting::BuildBody() const {
  std::string out;
  Writer w(&out);
  w.Raw(kTag, 3);
  w.Put<std::uint16_t>(1);
  w.Put<std::uint32_t>(UseResultFolder);
  w.Path(ResultFolder);
  const int n = std::max(ChannelsPerAnimal, 0);
  w.Put<std::int16_t>(static_cast<std::int16_t>(n));
  for (int p = 0; p < n; ++p) {
    const MultiScreeningChannelAttribute a =
        p < static_cast<int>(ChannelAttributes.size()) ? ChannelAttributes[static_cast<std::size_t>(p)]
                                                       : MultiScreeningChannelAttribute{};
    w.Put<std::uint16_t>(a.Attribute);
    w.Put<std::uint16_t>(a.LevelMode);
    char level[4];
    std::memcpy(level, &a.Level, 4);
    w.Raw(level, 2);  // the stored form repeats the level's first two bytes
    w.Put<float>(a.Level);
  }
  for (int p = 0; p < n; ++p) {
    const MultiScreeningChannelFilter f = p < static_cast<int>(ChannelFilters.size())
                                              ? ChannelFilters[static_cast<std::size_t>(p)]
                                              : MultiScreeningChannelFilter{};
    w.Put<std::uint32_t>(f.BaseOffset);
    w.Put<std::uint16_t>(f.FilterType);
    w.Put<float>(f.Cutoff1);
    w.Put<float>(f.Cutoff2);
    w.Put<std::uint32_t>(f.NotchOn);
    w.Put<float>(f.NotchFrequency);
  }
  w.Put<std::uint16_t>(RangeStartMode);
  w.Time(RangeStartTime);
  w.Put<std::uint16_t>(RangeEndMode);
  w.Put<std::uint16_t>(RangeEndDays);
  w.Put<std::uint16_t>(RangeEndHours);
  w.Put<std::uint16_t>(FftPoints);
  w.Put<std::uint16_t>(FftAverage);
  w.Put<std::uint16_t>(FftWindow);
  w.Put<std::uint32_t>(FftUnit);
  w.Put<std::uint32_t>(FftRateMode);
  w.Put<float>(EffectiveBandFrom);
  w.Put<float>(EffectiveBandTo);
  w.Put<std::int16_t>(static_cast<std::int16_t>(Bands.size()));
  for (const MultiScreeningBand& b : Bands) {
    w.Text(b.Name, kBandNameField);
    w.Put<float>(b.From);
    w.Put<float>(b.To);
  }
  w.Put<std::int16_t>(static_cast<std::int16_t>(Conditions.size()));
  for (const MultiScreeningCondition& c : Conditions) {
    w.Put<std::uint8_t>(c.Stage);
    PutTerm(w, c.First);
    w.Put<std::uint32_t>(c.UseSecond);
    PutTerm(w, c.Second);
  }
  w.Put<std::uint32_t>(LastStageScreening);
  w.Put<std::uint8_t>(LastStageFrom);
  w.Put<std::uint8_t>(LastStageTarget);
  w.Put<std::uint8_t>(LastStageResult);
  for (float t : TargetOccupancy) w.Put<float>(t);
  w.Time(LightPhaseStart);
  w.Put<float>(LightPhaseShare);
  return out;
}

std::string LyrMultiScreeningSetting::BuildResume() const {
  std::string out;
  Writer w(&out);
  w.Raw(kMagic, 8);
  w.Put<std::uint16_t>(1);
  // Only the last listed recording is kept; one whose path does not fit is left out.
  const std::string last = FileList.empty() ? std::string() : FileList.back();
  w.Path(last.size() <= kMsMaxPathBytes ? last : std::string());
  w.Path(FileListPluginPath);
  w.Put<std::uint32_t>(SettingFileLoaded);
  w.Path(SettingFilePath);
  return out + BuildBody();
}

namespace {

// The body into `r`; false (with the message id) when it is not one or does not fit.
bool ParseBody(Reader& in, LyrMultiScreeningSetting& r, std::uint32_t* message) {
  *message = kIdsMsFailerToReadData;
  if (!in.Match(kTag, 3)) {
    if (in.Ok()) *message = kIdsMsCannotOpen;
    return false;
  }
  const std::uint16_t version = in.Get<std::uint16_t>();
  if (!in.Ok()) return false;
  if (version > 1) {
    *message = kIdsMsVersionDifferent;
    return false;
  }
  r.UseResultFolder = in.Get<std::uint32_t>();
  r.ResultFolder = in.Path();
  const int n = in.Get<std::int16_t>();
  if (!in.Ok()) return false;
  if (n < 1 || n > kMsMaxPositions) return false;
  r.ChannelsPerAnimal = n;
  r.ChannelAttributes.clear();
  r.ChannelFilters.clear();
  for (int p = 0; p < n; ++p) {
    MultiScreeningChannelAttribute a;
    a.Attribute = in.Get<std::uint16_t>();
    a.LevelMode = in.Get<std::uint16_t>();
    in.Skip(2);
    a.Level = in.Get<float>();
    r.ChannelAttributes.push_back(a);
  }
  for (int p = 0; p < n; ++p) {
    MultiScreeningChannelFilter f;
    f.BaseOffset = in.Get<std::uint32_t>();
    f.FilterType = in.Get<std::uint16_t>();
    f.Cutoff1 = in.Get<float>();
    f.Cutoff2 = in.Get<float>();
    f.NotchOn = in.Get<std::uint32_t>();
    f.NotchFrequency = in.Get<float>();
    r.ChannelFilters.push_back(f);
  }
  r.RangeStartMode = in.Get<std::uint16_t>();
  r.RangeStartTime = in.Time();
  r.RangeEndMode = in.Get<std::uint16_t>();
  r.RangeEndDays = in.Get<std::uint16_t>();
  r.RangeEndHours = in.Get<std::uint16_t>();
  r.FftPoints = in.Get<std::uint16_t>();
  r.FftAverage = in.Get<std::uint16_t>();
  r.FftWindow = in.Get<std::uint16_t>();
  r.FftUnit = in.Get<std::uint32_t>();
  r.FftRateMode = in.Get<std::uint32_t>();
  r.EffectiveBandFrom = in.Get<float>();
  r.EffectiveBandTo = in.Get<float>();
  const int m = in.Get<std::int16_t>();
  if (!in.Ok()) return false;
  if (m < 0 || m > kMsMaxBands) return false;
  r.BandCount = static_cast<std::uint16_t>(m);
  r.Bands.clear();
  for (int i = 0; i < m; ++i) {
    MultiScreeningBand b;
    b.Name = in.Text(kBandNameField);
    b.From = in.Get<float>();
    b.To = in.Get<float>();
    r.Bands.push_back(b);
  }
  const int k = in.Get<std::int16_t>();
  if (!in.Ok()) return false;
  if (k < 0 || k > kMsMaxConditions) return false;
  r.Conditions.clear();
  for (int i = 0; i < k; ++i) {
    MultiScreeningCondition c;
    c.Stage = in.Get<std::uint8_t>();
    c.First = GetTerm(in);
    c.UseSecond = in.Get<std::uint32_t>();
    c.Second = GetTerm(in);
    r.Conditions.push_back(c);
  }
  r.LastStageScreening = in.Get<std::uint32_t>();
  r.LastStageFrom = in.Get<std::uint8_t>();
  r.LastStageTarget = in.Get<std::uint8_t>();
  r.LastStageResult = in.Get<std::uint8_t>();
  for (float& t : r.TargetOccupancy) t = in.Get<float>();
  r.LightPhaseStart = in.Time();
  r.LightPhaseShare = in.Get<float>();
  return in.Ok();
}

}  // namespace

int LyrMultiScreeningSetting::ReadBody(std::span<const std::uint8_t> bytes) {
  LyrMultiScreeningSetting copy = *this;
  Reader in(bytes);
  std::uint32_t message = 0;
  if (!ParseBody(in, copy, &message)) {
    LastMessageId = message;
    return 0;
  }
  copy.LastMessageId = 0;
  *this = std::move(copy);
  return 1;
}

int LyrMultiScreeningSetting::ReadResume(std::span<const std::uint8_t> bytes) {
  LyrMultiScreeningSetting copy = *this;
  Reader in(bytes);
  std::uint32_t message = kIdsMsFailerToReadData;
  bool ok = in.Match(kMagic, 8);
  if (!ok && in.Ok()) message = kIdsMsCannotOpen;
  std::uint16_t version = 0;
  if (ok) {
    version = in.Get<std::uint16_t>();
    ok = in.Ok();
  }
  if (ok && version > 1) {
    ok = false;
    message = kIdsMsVersionDifferent;
  }
  if (ok) {
    const std::string last = in.Path();
    copy.FileList.clear();
    if (!last.empty()) copy.FileList.push_back(last);
    copy.FileListPluginPath = in.Path();
    copy.SettingFileLoaded = in.Get<std::uint32_t>();
    copy.SettingFilePath = in.Path();
    ok = in.Ok() && ParseBody(in, copy, &message);
  }
  if (!ok) {
    LastMessageId = message;
    return 0;
  }
  copy.LastMessageId = 0;
  *this = std::move(copy);
  return 1;
}

// ---- files -----------------------------------------------------------------------------

int LyrMultiScreeningSetting::WriteFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return 0;
  if (!sys::WriteFileAtomic(path, bytes)) {
    LastMessageId = kIdsMsFailToWriteData;
    return 0;
  }
  LastMessageId = 0;
  return 1;
}

int LyrMultiScreeningSetting::ReadFileInto(const std::string& path, bool resume) {
  if (path.empty()) return 0;
  const auto bytes = sys::ReadWholeFile(path);
  if (!bytes) {
    LastMessageId = kIdsMsFailerToMakeFile;
    return 0;
  }
  const std::span<const std::uint8_t> b(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
  return resume ? ReadResume(b) : ReadBody(b);
}

int LyrMultiScreeningSetting::LoadResume() { return ReadFileInto(GetResumePath(), true); }

int LyrMultiScreeningSetting::SaveResume() {
  // Paths that do not fit their fields are refused, never cut.
  if (FileListPluginPath.size() > kMsMaxPathBytes || SettingFilePath.size() > kMsMaxPathBytes ||
      ResultFolder.size() > kMsMaxPathBytes) {
    LastMessageId = kIdsMsPathTooLong;
    return 0;
  }
  return WriteFile(GetResumePath(), BuildResume());
}

int LyrMultiScreeningSetting::LoadSettingFile(const std::string& path) {
  if (path.empty()) return 0;
  if (path.size() > kMsMaxPathBytes) {
    LastMessageId = kIdsMsPathTooLong;
    return 0;
  }
  if (ReadFileInto(path, false) == 0) return 0;
  SettingFilePath = path;
  SettingFileLoaded = 1;
  return 1;
}

int LyrMultiScreeningSetting::SaveSettingFile(const std::string& path) {
  if (path.empty()) return 0;
  if (path.size() > kMsMaxPathBytes || ResultFolder.size() > kMsMaxPathBytes) {
    LastMessageId = kIdsMsPathTooLong;
    return 0;
  }
  if (WriteFile(path, BuildBody()) == 0) return 0;
  SettingFilePath = path;
  SettingFileLoaded = 1;
  return 1;
}

void LyrMultiScreeningSetting::DeleteMultiScreeningResumeFile() {
  const std::string path = GetResumePath();
  if (sys::FileExists(path)) sys::DeleteFile(path);
}

std::string LyrMultiScreeningSetting::GetResumePath() { return sys::PathBesideProgram("QX_MultiSCR.RSM"); }

// ---- list helpers ----------------------------------------------------------------------

void LyrMultiScreeningSetting::AddChannelPosition() {
  ChannelAttributes.push_back({kMsNoAttribute, 0, 0.0f});
  ChannelFilters.push_back({0, 0, 10.0f, 50.0f, 0, 50.0f});
}

void LyrMultiScreeningSetting::AddCondition() {
  MultiScreeningCondition c;
  c.Stage = 3;
  c.First = Term(14, kMsEeg, kMsBoundValue, 1000.0f, kMsBoundMax, 1.0e7f);
  Conditions.push_back(c);
}

int LyrMultiScreeningSetting::RemoveDuplicateFiles() {
  if (FileList.size() < 2) return 1;
  std::vector<std::string> kept;
  bool dropped = false;
  for (const std::string& f : FileList) {
    if (f.empty() || std::find(kept.begin(), kept.end(), f) != kept.end()) {
      dropped = true;
      continue;
    }
    kept.push_back(f);
  }
  FileList = std::move(kept);
  return dropped ? 0 : 1;
}

int LyrMultiScreeningSetting::CountChannelsOfAttribute(int kind) const {
  int count = 0;
  for (int p = 0; p < ChannelsPerAnimal && p < static_cast<int>(ChannelAttributes.size()); ++p)
    if (ChannelAttributes[static_cast<std::size_t>(p)].Attribute == kind) ++count;
  return count;
}

int LyrMultiScreeningSetting::GetPositionAttribute(int channel, int* ordinal) const {
  if (ordinal) *ordinal = 0;
  if (ChannelsPerAnimal < 1 || channel < 0) return kMsNoAttribute;
  const int p = channel % ChannelsPerAnimal;
  if (p >= static_cast<int>(ChannelAttributes.size())) return kMsNoAttribute;
  const int kind = ChannelAttributes[static_cast<std::size_t>(p)].Attribute;
  if (ordinal)
    for (int q = 0; q < p; ++q)
      if (ChannelAttributes[static_cast<std::size_t>(q)].Attribute == kind) ++*ordinal;
  return kind;
}

int LyrMultiScreeningSetting::FindPosition(int kind, int number) const {
  int seen = 0;
  for (int p = 0; p < ChannelsPerAnimal && p < static_cast<int>(ChannelAttributes.size()); ++p) {
    if (ChannelAttributes[static_cast<std::size_t>(p)].Attribute != kind) continue;
    if (seen++ == number) return p;
  }
  return -1;
}

bool LyrMultiScreeningSetting::CheckSingleEmg(std::vector<int>* positions) const {
  std::vector<int> found;
  for (int p = 0; p < ChannelsPerAnimal && p < static_cast<int>(ChannelAttributes.size()); ++p)
    if (ChannelAttributes[static_cast<std::size_t>(p)].Attribute == kMsEmg) found.push_back(p);
  const bool single = found.size() <= 1;
  if (positions) *positions = std::move(found);
  return single;
}

// ---- texts -----------------------------------------------------------------------------

std::string LyrMultiScreeningSetting::GetFileTitle(const std::string& path) {
  return path.empty() ? path : sys::FileTitleOf(path);
}

int LyrMultiScreeningSetting::IsDsiPlugin(const std::string& path) {
  return !path.empty() && Contains(path, "RXQD_IMP_DSI") ? 1 : 0;
}

int LyrMultiScreeningSetting::IsOtherImportPlugin(const std::string& path) {
  if (path.empty()) return 0;
  for (const char* known : {"FynCom6", "RXQD_IMP_DSI", "RXQD_IMP_BioPac", "RXQD_IMP_EDF", "RXQD_IMP_PSG"})
    if (Contains(path, known)) return 0;
  return 1;
}

std::string LyrMultiScreeningSetting::AttributeText(int kind) {
  switch (kind) {
    case kMsEeg: return "EEG";
    case kMsEmg: return "EMG";
    case kMsLocomotion: return "Locomotion";
    default: return "No-attribute";
  }
}

std::string LyrMultiScreeningSetting::FilterText(int type, float cutoff1, float cutoff2, std::uint32_t notchOn,
                                                 float notchFrequency) {
  char buf[64] = "";
  switch (type) {
    case 1: std::snprintf(buf, sizeof buf, "LPF:%.2fHz", cutoff1); break;
    case 2: std::snprintf(buf, sizeof buf, "HPF:%.2fHz", cutoff1); break;
    case 3: std::snprintf(buf, sizeof buf, "BPF:%.2f-%.2fHz", cutoff1, cutoff2); break;
    case 4: std::snprintf(buf, sizeof buf, "BSF:%.2f-%.2fHz", cutoff1, cutoff2); break;
    default: break;
  }
  std::string text = buf;
  if (notchOn != 0) {
    text += text.empty() ? "Notch:" : "/Notch:";
    text += notchFrequency > 49.9998f && notchFrequency < 50.0001f ? "50Hz" : "60Hz";
  }
  return text.empty() ? "None" : text;
}
