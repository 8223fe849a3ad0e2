// A small import plug-in for the tests: its answers are whatever the test puts into its state.
// Built twice: in full, and without the optional exports (TEST_PLUGIN_MINIMAL).
#include <cstdio>
#include <cstring>

#include "test_plugin_state.h"

#define IMP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
TestPluginAnswers g_state;
bool Fails(const char* name) { return std::strcmp(g_state.failExport, name) == 0; }
int Put(const char* text, char* out, int capacity) {
  if (out == nullptr || capacity <= 0) return 0;
  std::snprintf(out, static_cast<std::size_t>(capacity), "%s", text);
  return 1;
}
bool ValidChannel(int c) { return c >= 0 && c < g_state.channels; }
}  // namespace

IMP_EXPORT TestPluginAnswers* TestPluginState(void) { return &g_state; }

IMP_EXPORT int GetFileFilter(char* out, int capacity) {
  return Fails("GetFileFilter") ? 0 : Put("Test file(*.tst)|*.tst|", out, capacity);
}
IMP_EXPORT int GetDLLVersion(char* out, int capacity) {
  return Fails("GetDLLVersion") ? 0 : Put("test 2.5", out, capacity);
}
IMP_EXPORT int GetStructVersion(void) { return g_state.structVersion; }
IMP_EXPORT int CheckFileType(const char*) { return Fails("CheckFileType") ? 0 : 1; }
IMP_EXPORT int SelectMontCal(const char*, int16_t* montage, int16_t* calibration) {
  if (Fails("SelectMontCal")) return 0;
  *montage = 3;
  *calibration = 2;
  return 1;
}
IMP_EXPORT int GetChNum(const char*, int16_t) { return Fails("GetChNum") ? 0 : g_state.channels; }
IMP_EXPORT int GetDataType(const char*) { return Fails("GetDataType") ? -1 : g_state.dataType; }
IMP_EXPORT int GetSampling(const char*, int16_t, int channel, double* rate) {
  if (Fails("GetSampling") || !ValidChannel(channel)) return 0;
  *rate = g_state.rateHz;
  return 1;
}
IMP_EXPORT int GetDataNum(const char*, int, int16_t, int channel, uint32_t* count) {
  if (Fails("GetDataNum") || !ValidChannel(channel)) return 0;
  *count = g_state.dataCount;
  return 1;
}
IMP_EXPORT int GetActualTime(const char*, int, int16_t, int, uint16_t* time8) {
  if (Fails("GetActualTime") || g_state.timeKnown == 0) return 0;
  std::memcpy(time8, g_state.startTime, sizeof g_state.startTime);
  return 1;
}
IMP_EXPORT int GetSubjectInfo(const char*, ImpSubjectInfoV1* info) {
  if (Fails("GetSubjectInfo") || g_state.v1Given == 0) return 0;
  *info = g_state.v1;
  return 1;
}
IMP_EXPORT int GetCalInfo(const char*, int16_t, int16_t, ImpCalRecord* records) {
  if (Fails("GetCalInfo")) return 0;
  for (int c = 0; c < g_state.channels; ++c) {
    records[c].calFlag = 1;
    records[c].topValue = 500.0;
    records[c].bottomValue = -500.0;
    records[c].topSample = 32767;
    records[c].bottomSample = 32768;
    records[c].fullScale = 500.0;
    Put("uV", records[c].unit, IMP_NAME_CAPACITY);
  }
  return 1;
}
IMP_EXPORT int GetChName(const char*, int16_t, char* names, int capacity) {
  if (Fails("GetChName")) return 0;
  for (int c = 0; c < g_state.channels; ++c) {
    char name[16];
    std::snprintf(name, sizeof name, "T%d", c + 1);
    Put(name, names + c * capacity, capacity);
  }
  return 1;
}
IMP_EXPORT int GetEventNum(const char*, int, int16_t) { return g_state.eventCount; }
IMP_EXPORT int GetRawData(const char*, int, int16_t, int channel, ImpReadRequest request, float* out) {
  ++g_state.rawCalls;
  g_state.lastRequest = request;
  if (Fails("GetRawData") || !ValidChannel(channel)) return 0;
  for (uint32_t i = 0; i < request.count; ++i) out[i] = static_cast<float>(channel * 1000 + (request.first + i) % 1000);
  return 1;
}
IMP_EXPORT int GetRawWordData(const char*, int, int16_t, int32_t channel, int32_t first, int count, uint16_t* out) {
  if (Fails("GetRawWordData") || !ValidChannel(channel) || channel >= 32) return 0;
  g_state.wordFirst[channel] = first;
  for (int i = 0; i < count; ++i) out[i] = static_cast<uint16_t>(g_state.wordBase + channel);
  return 1;
}
IMP_EXPORT void ExitDLLFile(const char*, int) { ++g_state.exitCalls; }

#ifndef TEST_PLUGIN_MINIMAL
IMP_EXPORT int GetEventTypeNum(const char*) { return 2; }
IMP_EXPORT int GetEventName(const char*, int type, char* out, int capacity) {
  return Put(type == 0 ? "Lights off" : "Arousal", out, capacity);
}
IMP_EXPORT int GetEventCh(const char*, int32_t* channel) {
  *channel = g_state.eventChannel;
  return 1;
}
IMP_EXPORT int GetEventPos(const char*, int, int16_t, int event, int32_t* position, int32_t* type) {
  if (Fails("GetEventPos") || event < 0 || event >= 4) return 0;
  *position = g_state.eventPositions[event];
  *type = g_state.eventTypes[event];
  return 1;
}
IMP_EXPORT int GetDLLFileInfo(const char*) { return Fails("GetDLLFileInfo") ? 0 : 1; }
IMP_EXPORT int GetSubjectInfo2(const char*, char* name, int nameCapacity, int16_t* gender, int16_t* years,
                               int16_t* months, char* labels, char* texts, int itemCapacity) {
  if (Fails("GetSubjectInfo2") || g_state.subjectGiven == 0) return 0;
  Put(g_state.name, name, nameCapacity);
  *gender = g_state.gender;
  *years = g_state.ageYears;
  *months = g_state.ageMonths;
  for (int i = 0; i < 10; ++i) {
    Put(g_state.labels[i], labels + i * itemCapacity, itemCapacity);
    Put(g_state.texts[i], texts + i * itemCapacity, itemCapacity);
  }
  return 1;
}
IMP_EXPORT int GetCalUnitPerCm(const char*, int16_t, int channel, double* value) {
  if (Fails("GetCalUnitPerCm")) return 0;
  *value = 10.0 * (channel + 1);
  return 1;
}
IMP_EXPORT int GetChNegativeUpper(const char*, int16_t, int, int16_t* flags) {
  if (Fails("GetChNegativeUpper")) return 0;
  for (int c = 0; c < g_state.channels; ++c) flags[c] = static_cast<int16_t>(c % 2);
  return 1;
}
IMP_EXPORT int GetFilterInfo(const char*, int16_t, int, ImpFilterRecord* records) {
  if (Fails("GetFilterInfo")) return 0;
  for (int c = 0; c < g_state.channels; ++c) records[c] = g_state.filter;
  return 1;
}
#endif
