// The DSI import plug-in: EDF, EDF+ and BDF recordings read through EDFlib. One recording is
// held open between calls (the last path asked about); ExitDLLFile closes it.
#include <edflib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/document/import_plugin_abi.h"

#define IMP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Recording {
  std::string path;
  int handle = -1;
  std::unique_ptr<edf_hdr_struct> hdr;
  std::vector<std::string> eventTypes;   // distinct annotation texts, first seen first
  struct Event { long long onset; int type; };
  std::vector<Event> events;
};

Recording g_open;

void CloseRecording() {
  if (g_open.handle >= 0) edfclose_file(g_open.handle);
  g_open = Recording{};
}

// A recording still open when the plug-in is unloaded (after a dialog's quick check) is closed.
struct CloseAtUnload {
  ~CloseAtUnload() { CloseRecording(); }
} g_closeAtUnload;

// The recording at path, opened once and kept; null when EDFlib cannot read it.
Recording* Open(const char* path) {
  if (path == nullptr || *path == '\0') return nullptr;
  if (g_open.handle >= 0 && g_open.path == path) return &g_open;
  CloseRecording();
  auto hdr = std::make_unique<edf_hdr_struct>();
  std::memset(hdr.get(), 0, sizeof(edf_hdr_struct));
  if (edfopen_file_readonly(path, hdr.get(), EDFLIB_READ_ALL_ANNOTATIONS) != 0) return nullptr;
  g_open.path = path;
  g_open.handle = hdr->handle;
  std::map<std::string, int> typeOf;
  for (long long n = 0; n < hdr->annotations_in_file; ++n) {
    edf_annotation_struct a;
    if (edf_get_annotation(hdr->handle, static_cast<int>(n), &a) != 0) break;
    const std::string text = a.annotation;
    auto it = typeOf.find(text);
    if (it == typeOf.end()) {
      it = typeOf.emplace(text, static_cast<int>(g_open.eventTypes.size())).first;
      g_open.eventTypes.push_back(text);
    }
    g_open.events.push_back({a.onset, it->second});
  }
  g_open.hdr = std::move(hdr);
  return &g_open;
}

bool ValidChannel(const Recording* r, int channel) {
  return r != nullptr && channel >= 0 && channel < r->hdr->edfsignals;
}

double SamplingHz(const Recording* r, int channel) {
  if (r->hdr->datarecord_duration <= 0) return 0.0;
  return static_cast<double>(r->hdr->signalparam[channel].smp_in_datarecord) * EDFLIB_TIME_DIMENSION /
         static_cast<double>(r->hdr->datarecord_duration);
}

int PutText(const std::string& text, char* out, int capacity) {
  if (out == nullptr || capacity <= 0) return 0;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return 1;
}

std::string Trimmed(const char* text) {
  std::string s = text != nullptr ? text : "";
  while (!s.empty() && s.back() == ' ') s.pop_back();
  std::size_t start = 0;
  while (start < s.size() && s[start] == ' ') ++start;
  return s.substr(start);
}

// Parses "HP:0.1Hz LP:35Hz N:50Hz" style prefilter texts.
bool FindFilter(const std::string& text, const char* key, double* hz) {
  const std::size_t at = text.find(key);
  if (at == std::string::npos) return false;
  return std::sscanf(text.c_str() + at + std::strlen(key), "%lf", hz) == 1;
}

// Whole years and months between the birth date and the start of the recording.
void AgeAt(const edf_hdr_struct& h, int16_t* years, int16_t* months) {
  *years = 0;
  *months = 0;
  if (h.birthdate_year <= 0 || h.startdate_year <= 0) return;
  int total = (h.startdate_year - h.birthdate_year) * 12 + (h.startdate_month - h.birthdate_month);
  if (h.startdate_day < h.birthdate_day) --total;
  if (total < 0) return;
  *years = static_cast<int16_t>(total / 12);
  *months = static_cast<int16_t>(total % 12);
}

}  // namespace

IMP_EXPORT int GetFileFilter(char* out, int capacity) {
  return PutText("EDF/BDF file(*.edf;*.bdf)|*.edf;*.EDF;*.bdf;*.BDF|", out, capacity);
}

IMP_EXPORT int GetDLLVersion(char* out, int capacity) {
  char text[64];
  std::snprintf(text, sizeof text, "1.0.0 (EDFlib %.2f)", edflib_version() / 100.0);
  return PutText(text, out, capacity);
}

IMP_EXPORT int GetStructVersion(void) { return 1; }

IMP_EXPORT int CheckFileType(const char* path) { return Open(path) != nullptr ? 1 : 0; }

IMP_EXPORT int GetDLLFileInfo(const char* path) { return Open(path) != nullptr ? 1 : 0; }

IMP_EXPORT int SelectMontCal(const char* path, int16_t* montage, int16_t* calibration) {
  if (Open(path) == nullptr) return 0;
  if (montage != nullptr) *montage = 0;
  if (calibration != nullptr) *calibration = 0;
  return 1;
}

IMP_EXPORT int GetChNum(const char* path, int16_t) {
  const Recording* r = Open(path);
  return r != nullptr ? r->hdr->edfsignals : 0;
}

// 0: 16-bit samples (EDF, EDF+); 2: 24-bit samples (BDF, BDF+).
IMP_EXPORT int GetDataType(const char* path) {
  const Recording* r = Open(path);
  if (r == nullptr) return -1;
  return (r->hdr->filetype == EDFLIB_FILETYPE_BDF || r->hdr->filetype == EDFLIB_FILETYPE_BDFPLUS) ? 2 : 0;
}

IMP_EXPORT int GetSampling(const char* path, int16_t, int channel, double* rate) {
  const Recording* r = Open(path);
  if (!ValidChannel(r, channel) || rate == nullptr) return 0;
  *rate = SamplingHz(r, channel);
  return 1;
}

IMP_EXPORT int GetDataNum(const char* path, int, int16_t, int channel, uint32_t* count) {
  const Recording* r = Open(path);
  if (!ValidChannel(r, channel) || count == nullptr) return 0;
  const long long n = r->hdr->signalparam[channel].smp_in_file;
  *count = static_cast<uint32_t>(std::clamp<long long>(n, 0, UINT32_MAX));
  return 1;
}

IMP_EXPORT int GetActualTime(const char* path, int, int16_t, int, uint16_t* time8) {
  const Recording* r = Open(path);
  if (r == nullptr || time8 == nullptr) return 0;
  const edf_hdr_struct& h = *r->hdr;
  // Day of week by Zeller's rule (0 Sunday).
  int y = h.startdate_year, m = h.startdate_month;
  if (m < 3) {
    m += 12;
    --y;
  }
  const int dow = ((h.startdate_day + (13 * (m + 1)) / 5 + y + y / 4 - y / 100 + y / 400) % 7 + 6) % 7;
  time8[0] = static_cast<uint16_t>(h.startdate_year);
  time8[1] = static_cast<uint16_t>(h.startdate_month);
  time8[2] = static_cast<uint16_t>(dow);
  time8[3] = static_cast<uint16_t>(h.startdate_day);
  time8[4] = static_cast<uint16_t>(h.starttime_hour);
  time8[5] = static_cast<uint16_t>(h.starttime_minute);
  time8[6] = static_cast<uint16_t>(h.starttime_second);
  time8[7] = static_cast<uint16_t>(h.starttime_subsecond / 10000);
  return 1;
}

IMP_EXPORT int GetSubjectInfo2(const char* path, char* name, int nameCapacity, int16_t* gender, int16_t* ageYears,
                               int16_t* ageMonths, char* labels, char* texts, int itemCapacity) {
  const Recording* r = Open(path);
  if (r == nullptr) return 0;
  const edf_hdr_struct& h = *r->hdr;
  const bool plus = h.filetype == EDFLIB_FILETYPE_EDFPLUS || h.filetype == EDFLIB_FILETYPE_BDFPLUS;
  PutText(plus ? Trimmed(h.patient_name) : Trimmed(h.patient), name, nameCapacity);
  const std::string g = Trimmed(h.gender);
  if (gender != nullptr) *gender = g == "Male" ? 0 : g == "Female" ? 1 : -1;
  int16_t years = 0, months = 0;
  AgeAt(h, &years, &months);
  if (ageYears != nullptr) *ageYears = years;
  if (ageMonths != nullptr) *ageMonths = months;
  if (labels == nullptr || texts == nullptr || itemCapacity <= 0) return 1;
  const std::pair<const char*, std::string> items[] = {
      {"SubjectID", Trimmed(h.patientcode)},       {"Birth day", Trimmed(h.birthdate)},
      {"Patient info", Trimmed(h.patient_additional)}, {"Admin code", Trimmed(h.admincode)},
      {"Technician", Trimmed(h.technician)},       {"Equipment", Trimmed(h.equipment)},
      {"Recording", plus ? Trimmed(h.recording_additional) : Trimmed(h.recording)}};
  int k = 0;
  for (const auto& [label, text] : items) {
    if (text.empty() || k == 10) continue;
    PutText(label, labels + k * itemCapacity, itemCapacity);
    PutText(text, texts + k * itemCapacity, itemCapacity);
    ++k;
  }
  return 1;
}

IMP_EXPORT int GetCalInfo(const char* path, int16_t, int16_t, ImpCalRecord* records) {
  const Recording* r = Open(path);
  if (r == nullptr || records == nullptr) return 0;
  for (int c = 0; c < r->hdr->edfsignals; ++c) {
    const edf_param_struct& p = r->hdr->signalparam[c];
    ImpCalRecord& rec = records[c];
    rec.calFlag = 1;
    rec.topValue = p.phys_max;
    rec.bottomValue = p.phys_min;
    rec.topSample = static_cast<uint16_t>(p.dig_max);
    rec.bottomSample = static_cast<uint16_t>(p.dig_min);
    rec.fullScale = p.phys_max;
    PutText(Trimmed(p.physdimension), rec.unit, IMP_NAME_CAPACITY);
  }
  return 1;
}

// Display sensitivity: the channel's whole physical range spans two centimetres at gain 1, so
// that a signal using a fair part of its range stays in its row whatever its unit and range.
IMP_EXPORT int GetCalUnitPerCm(const char* path, int16_t, int channel, double* unitsPerCm) {
  const Recording* r = Open(path);
  if (!ValidChannel(r, channel) || unitsPerCm == nullptr) return 0;
  const edf_param_struct& p = r->hdr->signalparam[channel];
  const double span = std::fabs(p.phys_max - p.phys_min);
  if (!std::isfinite(span) || span <= 0.0) return 0;
  *unitsPerCm = span / 2.0;
  return 1;
}

IMP_EXPORT int GetChName(const char* path, int16_t, char* names, int nameCapacity) {
  const Recording* r = Open(path);
  if (r == nullptr || names == nullptr || nameCapacity <= 0) return 0;
  for (int c = 0; c < r->hdr->edfsignals; ++c)
    PutText(Trimmed(r->hdr->signalparam[c].label), names + c * nameCapacity, nameCapacity);
  return 1;
}

// EDF stores physical values with their sign: negative is drawn downwards everywhere.
IMP_EXPORT int GetChNegativeUpper(const char* path, int16_t, int, int16_t* flags) {
  const Recording* r = Open(path);
  if (r == nullptr || flags == nullptr) return 0;
  for (int c = 0; c < r->hdr->edfsignals; ++c) flags[c] = 1;
  return 1;
}

IMP_EXPORT int GetFilterInfo(const char* path, int16_t, int, ImpFilterRecord* records) {
  const Recording* r = Open(path);
  if (r == nullptr || records == nullptr) return 0;
  for (int c = 0; c < r->hdr->edfsignals; ++c) {
    const std::string text = r->hdr->signalparam[c].prefilter;
    ImpFilterRecord& f = records[c];
    double hz = 0.0;
    if (FindFilter(text, "HP:", &hz)) {
      f.lowPresent = 1;
      f.lowKind = 1;
      f.lowHz = hz;
    }
    if (FindFilter(text, "LP:", &hz)) {
      f.highPresent = 1;
      f.highKind = 1;
      f.highHz = hz;
    }
    if (FindFilter(text, "N:", &hz)) {
      f.notchPresent = 1;
      f.notchOn = 1;
      f.notchHz = hz;
    }
  }
  return 1;
}

IMP_EXPORT int GetEventTypeNum(const char* path) {
  const Recording* r = Open(path);
  return r != nullptr ? static_cast<int>(r->eventTypes.size()) : 0;
}

IMP_EXPORT int GetEventName(const char* path, int type, char* out, int capacity) {
  const Recording* r = Open(path);
  if (r == nullptr || type < 0 || type >= static_cast<int>(r->eventTypes.size())) return 0;
  return PutText(r->eventTypes[static_cast<std::size_t>(type)], out, capacity);
}

IMP_EXPORT int GetEventNum(const char* path, int, int16_t) {
  const Recording* r = Open(path);
  return r != nullptr ? static_cast<int>(r->events.size()) : 0;
}

IMP_EXPORT int GetEventCh(const char* path, int32_t* channel) {
  if (Open(path) == nullptr || channel == nullptr) return 0;
  *channel = 0;
  return 1;
}

// Position in samples of channel 0 (rounded down) and the event's type.
IMP_EXPORT int GetEventPos(const char* path, int, int16_t, int event, int32_t* position, int32_t* type) {
  const Recording* r = Open(path);
  if (r == nullptr || event < 0 || event >= static_cast<int>(r->events.size()) || r->hdr->edfsignals < 1) return 0;
  const auto& e = r->events[static_cast<std::size_t>(event)];
  const double hz = SamplingHz(r, 0);
  if (position != nullptr)
    *position = static_cast<int32_t>(std::floor(static_cast<double>(e.onset) / EDFLIB_TIME_DIMENSION * hz + 1e-6));
  if (type != nullptr) *type = e.type;
  return 1;
}

IMP_EXPORT int GetRawData(const char* path, int, int16_t, int channel, ImpReadRequest request, float* out) {
  const Recording* r = Open(path);
  if (!ValidChannel(r, channel) || out == nullptr) return 0;
  std::fill(out, out + request.count, 0.0f);
  const long long available = r->hdr->signalparam[channel].smp_in_file;
  if (request.first >= available) return 1;
  const int n = static_cast<int>(std::min<long long>(request.count, available - request.first));
  if (edfseek(r->handle, channel, request.first, EDFSEEK_SET) < 0) return 0;
  std::vector<double> values(static_cast<std::size_t>(n));
  if (edfread_physical_samples(r->handle, channel, n, values.data()) != n) return 0;
  for (int i = 0; i < n; ++i) out[i] = static_cast<float>(values[static_cast<std::size_t>(i)]);
  return 1;
}

// The stored 16-bit words of an EDF channel (BDF has no 16-bit words).
IMP_EXPORT int GetRawWordData(const char* path, int, int16_t, int32_t channel, int32_t first, int count,
                              uint16_t* out) {
  const Recording* r = Open(path);
  if (!ValidChannel(r, channel) || out == nullptr || first < 0 || count <= 0) return 0;
  if (GetDataType(path) != 0) return 0;
  const long long available = r->hdr->signalparam[channel].smp_in_file;
  if (first >= available) return 0;
  const int n = static_cast<int>(std::min<long long>(count, available - first));
  if (edfseek(r->handle, channel, first, EDFSEEK_SET) < 0) return 0;
  std::vector<int> values(static_cast<std::size_t>(n));
  if (edfread_digital_samples(r->handle, channel, n, values.data()) != n) return 0;
  for (int i = 0; i < n; ++i) out[i] = static_cast<uint16_t>(values[static_cast<std::size_t>(i)]);
  return 1;
}

IMP_EXPORT void ExitDLLFile(const char* path, int) {
  if (path == nullptr || g_open.path == path) CloseRecording();
}
