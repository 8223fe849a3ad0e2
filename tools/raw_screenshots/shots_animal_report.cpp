// Pictures of the animal report on a generated animal day: "Animal report" with each of its two
// pages, and "Set episode length". The open document takes the animal day's montage and length
// for these pictures only and gets its own back afterwards.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_animal_report.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "platform/res/resource_store.h"
#include "platform/system/locale.h"
#include "platform/testing/ui_testing.h"
#include "sample_recording.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool Shot(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

// The document's fields the report reads, kept while the animal day stands in.
struct DocumentState {
  explicit DocumentState(const CQLM2_AnalyzerDoc& d)
      : record(d.RecordInfo), channels(d.ChInfo), seconds(d.RecordSeconds), stageType(d.Params.stageType),
        fftFlags(d.Params.fftPageSelection.flags), fftChannel(d.FftOutputChannel) {}
  void Restore(CQLM2_AnalyzerDoc& d) const {
    d.RecordInfo = record;
    d.ChInfo = channels;
    d.RecordSeconds = seconds;
    d.Params.stageType = stageType;
    d.Params.fftPageSelection.flags = fftFlags;
    d.FftOutputChannel = fftChannel;
  }
  LyrRecordInfo record;
  std::array<LyrChInfo, 32> channels;
  std::int32_t seconds;
  StageTypeParam stageType;
  std::array<std::uint16_t, 32> fftFlags;
  std::int32_t fftChannel;
};

bool AnimalReportShots(ShotContext& c) {
  CQLM2_AnalyzerDoc& doc = c.doc;
  const res::Language language = res::CurrentLanguage();
  res::SetLanguage(sys::GetThreadLocale() == sys::kLcidJapanese ? res::Language::Japanese : res::Language::English);
  const DocumentState kept(doc);
  const std::int32_t epochSeconds = EpochSeconds;
  const auto objects = AnimalReportSettings;
  const auto doses = ReportEpochSelections;
  const std::uint32_t useEpisodes = UseEpisodeSetting;

  samples::Options options;
  options.kind = samples::Kind::Animal;
  options.hours = 24.0;
  const samples::Plan plan = samples::MakePlan(options);
  const int rate = options.rateHz > 0 ? options.rateHz : 256;
  doc.RecordInfo.channelCount = static_cast<int>(plan.channels.size());
  doc.RecordInfo.path = "/data/animals/rat1.fyd";
  for (std::size_t ch = 0; ch < plan.channels.size() && ch < doc.ChInfo.size(); ++ch) {
    doc.ChInfo[ch].name = plan.channels[ch].name;
    doc.ChInfo[ch].unit = plan.channels[ch].unit;
    doc.ChInfo[ch].rate = rate;
    doc.ChInfo[ch].dataCount = plan.dataCount;
  }
  EpochSeconds = 10;
  doc.RecordSeconds = static_cast<std::int32_t>(plan.dataCount / static_cast<std::uint32_t>(rate));
  doc.Params.stageType.stageType = 3;
  doc.Params.stageType.sharedInUse = 0;
  doc.Params.fftPageSelection.flags = {};
  doc.Params.fftPageSelection.flags[0] = 1;
  doc.Params.fftPageSelection.flags[1] = 1;
  doc.FftOutputChannel = 0;
  for (int k : {kObjStageGraph, kObjDoseLatency, kObjVigilanceTransition}) SetAnimalObjectFlag(k, 1);
  ReportEpochSelections = {3600, 7200, -1};
  UseEpisodeSetting = 1;

  bool ok = true;
  {
    LyrDlgAnimalReport dlg(&c.frame);
    dlg.m_pDoc = &doc;
    ok = dlg.CreateModeless(&c.frame);
    if (ok) {
      ok &= Shot(dlg, c.out + "/animal_report_objects.png");
      dlg.Item(LyrDlgAnimalReport::kTab).SetCurSel(1);
      dlg.ShowPage(1);
      ok &= Shot(dlg, c.out + "/animal_report_episodes.png");
      dlg.DestroyWindow();
    }
  }
  {
    LyrDlgSetEpisodeLength dlg(&c.frame);
    dlg.m_StageName = GetStageName(doc.Params.stageType, 2);
    dlg.m_EpisodeSec = 25;
    dlg.m_DetectSec = 20;
    dlg.m_Allow = 3;
    if (dlg.CreateModeless(&c.frame)) {
      ok &= Shot(dlg, c.out + "/animal_report_set_episode_length.png");
      dlg.DestroyWindow();
    } else {
      ok = false;
    }
  }

  UseEpisodeSetting = useEpisodes;
  ReportEpochSelections = doses;
  AnimalReportSettings = objects;
  EpochSeconds = epochSeconds;
  kept.Restore(doc);
  res::SetLanguage(language);
  return ok;
}

static ShotRegistrar reg("animal_report", AnimalReportShots);

}  // namespace
