// Rebuilding the per-epoch tables for an epoch length, and the events the recording
// source carries.
#include <algorithm>
#include <exception>
#include <new>
#include <string>

#include "app/document/epoch_table_bindings.h"
#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/seizure_finding.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kFailToGetMemory = 2522;
constexpr int kOwnRaw = 0;
constexpr int kPlugin = 3;

}  // namespace

int CQLM2_AnalyzerDoc::Init4ChangeEpochTime(int epochs, int epochSeconds, int channelCount, int flag) {
  PageEndEpoch = -1;
  if (epochs < 0) return 0;
  try {
    EpochTables.FreeAll(flag);
    const int bandChannels = static_cast<int>(
        std::count(Params.fftBand.channelSwitch.begin(), Params.fftBand.channelSwitch.end(), std::uint16_t{1}));
    // Flag bytes for the learning samples are kept while the learning-sample option is on.
    if (EpochTables.SetNew(epochs, epochSeconds, channelCount, bandChannels, flag, LearningSampleMode) == 0) return 0;
    if (ResetNewRepresentSleepDstrb() == 0) return 0;
    if (SetNewRcgnzSleepDstrb(epochs) == 0) return 0;
    // The Wave detect marks, 10 a second, in the edition that has the feature.
    AllocateSeizureMarks(RecordSeconds);
    return 1;
  } catch (const std::bad_alloc&) {
    ui::MessageBox(std::string("CQLM2_AnalyzerDoc::Init4ChangeEpochTime\n") + res::LoadString(kFailToGetMemory));
    return 0;
  }
}

int CQLM2_AnalyzerDoc::ResetNewRepresentSleepDstrb() {
  if (!EpochTables.HasRprsntTable()) EpochTables.AllocateRprsntTable();
  const SleepDstrbParam& p = Params.sleepDstrb;
  const int slotChannels[] = {p.airFlow.channel, p.chest.channel,   p.abdomen.channel, p.legLeft.channel,
                              p.legRight.channel, p.ecgChannel,     p.spo2Channel,     p.cpapChannel,
                              p.positionChannel,  p.snore.channel};
  const int slots[] = {kRprsntAirFlow, kRprsntRespC, kRprsntRespA, kRprsntLMLeft,   kRprsntLMRight,
                       kRprsntECG,     kRprsntSpO2,  kRprsntCPAP,  kRprsntPosition, kRprsntSnore};
  for (int i = 0; i < 10; ++i) {
    if (slotChannels[i] != -1) EpochTables.AllocateRprsntSlot(slots[i], EpochSeconds);
    else EpochTables.FreeRprsntSlot(slots[i]);
  }
  return 1;
}

int CQLM2_AnalyzerDoc::SetNewRcgnzSleepDstrb(int epochCount) {
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(Params.sleepDstrb);
  SleepDstrbTables& t = RecognitionTables;
  t.ClearChangedWords();
  t.ArousalPageCount() = 0;
  const int n = std::max(epochCount, 0);
  const int resp = n * LyrEpochParameter::GetRprsntNumResp(EpochSeconds);
  const int lm = n * LyrEpochParameter::GetRprsntNumLM(EpochSeconds);
  const int snore = n * LyrEpochParameter::GetRprsntNumSnore(EpochSeconds);
  const int arousal = n * LyrEpochParameter::GetRprsntNumArousal(EpochSeconds);
  t.AllocateRespRcgnz(ch, resp);
  t.AllocateAirFlow(ch, resp);
  t.AllocateRespC(ch, resp);
  t.AllocateRespA(ch, resp);
  t.AllocateLMRcgnz(ch, lm);
  t.AllocateLMLeft(ch, lm);
  t.AllocateLMRight(ch, lm);
  t.AllocateLMBoth(ch, lm);
  t.AllocateECGTables(ch, n, EpochSeconds);
  t.AllocateSnore(ch, snore);
  RcgnzReady = 1;
  t.AllocateArousalTables(ch, arousal);
  t.AllocateArousalPageTbl(ch, EpochSeconds, PageSeconds);
  return 1;
}

void CQLM2_AnalyzerDoc::FreeRcgnzSleepDstrb() { RecognitionTables.FreeRcgnzSleepDstrb(); }

int CQLM2_AnalyzerDoc::getEventInfo() {
  if (RecordInfo.sourceKind == kOwnRaw) {
    FynFileAccessRaw file(RecordInfo.path.c_str());
    EventNames.clear();
    if (file.InitParams() != 0) return 0;
    const std::int16_t count = file.GetEventTypeCount();
    if (count < 0) return 0;
    std::vector<std::string> names(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      if (file.GetEventName(i, &names[static_cast<std::size_t>(i)]) != 0) return 0;
    EventNames = std::move(names);
    return 1;
  }
  if (RecordInfo.sourceKind != kPlugin) return 1;
  EventNames.clear();
  if (!PluginModule.IsLoaded()) return 0;
  const char* path = RecordInfo.path.c_str();
  auto checkType = PluginModule.Function<ImpCheckFileType>("CheckFileType");
  if (checkType == nullptr) return 0;
  if (checkType(path) == 0) return 1;
  auto typeNum = PluginModule.Function<ImpGetEventTypeNum>("GetEventTypeNum");
  auto eventName = PluginModule.Function<ImpGetEventName>("GetEventName");
  if (typeNum == nullptr || eventName == nullptr) return 0;
  // A plug-in's count is bounded as the own file's 16-bit count is.
  const int count = std::clamp(typeNum(path), 0, 0x7FFF);
  std::vector<std::string> names(static_cast<std::size_t>(count));
  std::vector<char> text(IMP_NAME_CAPACITY);
  for (int i = 0; i < count; ++i) {
    std::fill(text.begin(), text.end(), '\0');
    eventName(path, i, text.data(), IMP_NAME_CAPACITY);
    names[static_cast<std::size_t>(i)] = PluginText(text.data(), IMP_NAME_CAPACITY);
  }
  EventNames = std::move(names);
  return 1;
}

int CQLM2_AnalyzerDoc::getEventData() {
  if (RecordInfo.sourceKind == kPlugin) return getPluginEventData();
  if (RecordInfo.sourceKind != kOwnRaw) return 1;
  Events.clear();
  EventRate = 0;
  FynFileAccessRaw file(RecordInfo.path.c_str());
  if (file.InitParams() != 0) return 0;
  std::uint32_t count = 0;
  if (file.GetEventCount(&count) != 0) return 0;
  _FynRawG1Param g1;
  if (file.GetGroup1ParamRaw(&g1) != 0) return 0;
  std::vector<EventEntry> events(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::int16_t type = 0;
    std::uint32_t position = 0;
    if (file.GetEventPosInfo(static_cast<int>(i), &type, &position) != 0) return 0;
    events[i].type = type < 0 ? 0 : type;
    events[i].position = static_cast<std::int32_t>(position);
  }
  Events = std::move(events);
  EventRate = static_cast<std::int32_t>(g1.samplingHz * 1.00001);
  return 1;
}

int CQLM2_AnalyzerDoc::getPluginEventData() {
  Events.clear();
  EventRate = 0;
  if (!PluginModule.IsLoaded()) return 0;
  const char* path = RecordInfo.path.c_str();
  auto eventNum = PluginModule.Function<ImpGetEventNum>("GetEventNum");
  auto eventCh = PluginModule.Function<ImpGetEventCh>("GetEventCh");
  auto sampling = PluginModule.Function<ImpGetSampling>("GetSampling");
  auto eventPos = PluginModule.Function<ImpGetEventPos>("GetEventPos");
  if (eventNum == nullptr || eventCh == nullptr || sampling == nullptr || eventPos == nullptr) return 0;
  const int count = std::max(eventNum(path, 0, MontageNumber), 0);
  std::int32_t channel = -1;
  eventCh(path, &channel);
  if (channel == -1) channel = 0;
  double hz = 0.0;
  if (sampling(path, MontageNumber, channel, &hz) == 0) return 0;
  std::vector<EventEntry> events(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::int32_t position = 0, type = 0;
    if (eventPos(path, 0, MontageNumber, i, &position, &type) == 0) return 0;
    EventEntry& e = events[static_cast<std::size_t>(i)];
    e.type = type < 0 ? 0 : type;
    e.position = position;
  }
  Events = std::move(events);
  EventRate = static_cast<std::int32_t>(hz * 1.00001);
  return 1;
}
