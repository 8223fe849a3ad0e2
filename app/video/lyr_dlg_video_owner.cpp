#include "app/video/lyr_dlg_video_owner.h"

#include <cmath>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_dlg_video_auto_play.h"
#include "app/video/lyr_dlg_video_edit_file.h"
#include "app/video/lyr_workspace_video_location_view.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"

namespace {

// Destroys a dialog after the message that ended it has been handled.
template <typename D>
void DestroyLater(std::unique_ptr<D>& slot) {
  D* dlg = slot.release();
  if (dlg == nullptr) return;
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

template <typename D>
void DestroyNow(std::unique_ptr<D>& slot) {
  if (slot && slot->IsWindow()) slot->DestroyWindow();
  slot.reset();
}

template <typename D>
D* Show(const LyrVideoDialogs& owner, std::unique_ptr<D>& slot) {
  if (!slot->CreateModeless(nullptr)) {
    slot.reset();
    return nullptr;
  }
  owner.CentreDialog(*slot);
  slot->ShowWindow(ui::SW_SHOW);
  return slot.get();
}

}  // namespace

LyrVideoDialogs::LyrVideoDialogs() = default;

LyrVideoDialogs::~LyrVideoDialogs() { CloseAll(); }

CalendarTime LyrVideoDialogs::RecordingStart() const {
  if (Doc == nullptr) return {};
  const auto& s = Doc->RecordInfo.startDateTime;
  return {s[0], s[1], s[2], s[3], s[4], s[5]};
}

VideoDayScale LyrVideoDialogs::DayScale() const {
  VideoDayScale scale;
  scale.clock = ClockTimeDisplay == 1;
  scale.recordingStart = RecordingStart();
  if (Video != nullptr) {
    scale.startTime = Video->AnalysisStartSeconds;
    scale.length = static_cast<std::int64_t>(std::trunc(Video->AnalysisEndSeconds - Video->AnalysisStartSeconds));
  }
  return scale;
}

std::string LyrVideoDialogs::RecordingRawPath() const {
  return Video != nullptr ? RecordingRawPathOf(Video->RangeFilePath()) : std::string{};
}

void LyrVideoDialogs::Repaint() const {
  if (RepaintVideo) RepaintVideo();
}

void LyrVideoDialogs::CentreDialog(ui::Window& w) const {
  if (Centre) Centre(w);
}

void LyrVideoDialogs::OpenAutoPlay() {
  if (Video == nullptr) return;
  CloseAutoPlayRange();
  CloseEditPath();
  CloseAutoPlay();
  autoPlay_ = std::make_unique<LyrWorkspaceDlgVideoAutoPlay>(*this);
  Show(*this, autoPlay_);
}

void LyrVideoDialogs::OpenEditFile(RangeEditMode mode) {
  if (Video == nullptr) return;
  CloseRange();
  CloseEditFile();
  editFile_ = std::make_unique<CVPDlgEditFile>(*this, mode);
  Show(*this, editFile_);
}

LyrWorkspaceDlgVideoAutoPlayRange* LyrVideoDialogs::OpenAutoPlayRange(
    const std::function<void(LyrWorkspaceDlgVideoAutoPlayRange&)>& setup) {
  CloseAutoPlayRange();
  autoPlayRange_ = std::make_unique<LyrWorkspaceDlgVideoAutoPlayRange>(*this);
  if (setup) setup(*autoPlayRange_);
  return Show(*this, autoPlayRange_);
}

LyrWorkspaceDlgVideoEditPath* LyrVideoDialogs::OpenEditPath(
    const std::function<void(LyrWorkspaceDlgVideoEditPath&)>& setup) {
  CloseEditPath();
  editPath_ = std::make_unique<LyrWorkspaceDlgVideoEditPath>(*this);
  if (setup) setup(*editPath_);
  return Show(*this, editPath_);
}

LyrWorkspaceDlgVideoRange* LyrVideoDialogs::OpenRange() {
  CloseRange();
  range_ = std::make_unique<LyrWorkspaceDlgVideoRange>(*this);
  return Show(*this, range_);
}

void LyrVideoDialogs::ShowAutoPlayAfterRun(int entry) {
  if (!autoPlay_ || !autoPlay_->IsWindow()) return;
  autoPlay_->Selected = entry;
  autoPlay_->ComeBack(false);
}

void LyrVideoDialogs::CloseAutoPlay() { DestroyLater(autoPlay_); }
void LyrVideoDialogs::CloseAutoPlayRange() { DestroyLater(autoPlayRange_); }
void LyrVideoDialogs::CloseEditPath() { DestroyLater(editPath_); }
void LyrVideoDialogs::CloseEditFile() { DestroyLater(editFile_); }
void LyrVideoDialogs::CloseRange() { DestroyLater(range_); }

void LyrVideoDialogs::CloseAll() {
  DestroyNow(range_);
  DestroyNow(editFile_);
  DestroyNow(editPath_);
  DestroyNow(autoPlayRange_);
  DestroyNow(autoPlay_);
  // A pick with nobody left to take it ends too.
  if (pickTarget_ != 0 && RawPreviewMode == 3) RawPreviewMode = 0;
  pickTarget_ = 0;
}

void LyrVideoDialogs::BeginPick(int target, bool forAutoPlay) {
  pickTarget_ = target;
  pickForAutoPlay_ = forAutoPlay;
  pickForRange_ = !forAutoPlay;
  RawPreviewMode = 3;
}

namespace {

// The main frame's synchronisation dialog, which takes a picked start too.
LyrWorkspaceDlgVideoSync* SyncDialog() {
  CMainFrame* main = CQLM2_AnalyzerDoc::MainFrame();
  return main != nullptr ? main->VideoSyncDlg : nullptr;
}

}  // namespace

void LyrVideoDialogs::ShowPickers() {
  for (ui::Dialog* d : {static_cast<ui::Dialog*>(range_.get()), static_cast<ui::Dialog*>(autoPlayRange_.get()),
                        static_cast<ui::Dialog*>(SyncDialog())})
    if (d != nullptr && d->IsWindow()) d->ShowWindow(ui::SW_SHOW);
  pickTarget_ = 0;
  pickForAutoPlay_ = false;
  pickForRange_ = false;
  RawPreviewMode = 0;
}

void LyrVideoDialogs::DeliverPick(double videoTime) {
  if (pickTarget_ == kVideoPickStart) {
    if (range_) range_->SetStartFromCursor(videoTime);
    if (autoPlayRange_) autoPlayRange_->SetStartFromCursor(videoTime);
    if (LyrWorkspaceDlgVideoSync* sync = SyncDialog()) sync->SetStartFromCursor(videoTime);
  } else if (pickTarget_ == kVideoPickEnd) {
    if (range_) range_->SetEndFromCursor(videoTime);
    if (autoPlayRange_) autoPlayRange_->SetEndFromCursor(videoTime);
  }
  if (ShowVideoAt) ShowVideoAt(videoTime);
  ShowPickers();
}

void LyrVideoDialogs::CancelPick() { ShowPickers(); }

// ---- The workspace frame's commands ----------------------------------------------------------

namespace {

constexpr std::uint32_t kCmdSaveRange = 33111;
constexpr std::uint32_t kCmdDeleteRange = 33112;
constexpr std::uint32_t kCmdAutoPlayInfo = 33113;

}  // namespace

void ConnectVideoDialogs(LyrWorkspaceDummyView& view, CMainFrame* main) {
  LyrVideoDialogs& d = view.VideoDialogs;
  d.Doc = dynamic_cast<CQLM2_AnalyzerDoc*>(view.GetDocument());
  d.Video = &view.Video;
  d.Centre = [main](ui::Window& w) {
    if (main != nullptr) main->CentreOnFrame(w);
  };
  d.RepaintVideo = [&view] {
    if (!view.VideoPane.IsWindow()) return;
    view.VideoPane.Invalidate();
    view.VideoPane.UpdateWindow();
  };
  // The ranges being edited show on the video window's location bar (red to cut, green to keep).
  d.ShowRangesOnTimeBar = [&view](const std::vector<VideoRange>* ranges, int mode) {
    LyrWorkspaceVideoLocationView* bar = view.VideoPane.LocationBar();
    if (bar == nullptr) return;
    bar->SetSegments(ranges != nullptr ? *ranges : std::vector<VideoRange>{}, mode);
  };
  d.ShowVideoAt = [&view](double t) {
    if (view.VideoPane.IsWindow() && view.VideoPane.IsWindowVisible()) view.VideoPane.ShowVideoAtTime(t);
  };
}

void MapVideoDialogCommands(LyrWorkspaceFrame& frame) {
  auto dialogs = [&frame]() -> LyrVideoDialogs* {
    return frame.HostPane != nullptr ? &frame.HostPane->VideoDialogs : nullptr;
  };
  // Commands need a recording with its video bound, and no screening at work.
  auto usable = [dialogs] {
    const LyrVideoDialogs* d = dialogs();
    const CMainFrame* main = CQLM2_AnalyzerDoc::MainFrame();
    return d != nullptr && d->Video != nullptr && d->Video->IsBound() && DocumentLoaded != 0 &&
           ScreeningRunning != 1 && (main == nullptr || main->MultiScreeningDlg == nullptr);
  };
  frame.MapCommand(kCmdSaveRange, [dialogs] {
    if (LyrVideoDialogs* d = dialogs()) d->OpenEditFile(RangeEditMode::Save);
  });
  frame.MapCommand(kCmdDeleteRange, [dialogs] {
    if (LyrVideoDialogs* d = dialogs()) d->OpenEditFile(RangeEditMode::Delete);
  });
  frame.MapCommand(kCmdAutoPlayInfo, [dialogs] {
    if (LyrVideoDialogs* d = dialogs()) d->OpenAutoPlay();
  });
  // A set whose range file was just written by the synchronisation is not cut.
  auto editUpdate = [usable, dialogs](ui::CmdUI& c) {
    c.Enable(usable() && dialogs()->Video->RangeFileWritten == 0);
  };
  frame.MapUpdate(kCmdSaveRange, editUpdate);
  frame.MapUpdate(kCmdDeleteRange, editUpdate);
  frame.MapUpdate(kCmdAutoPlayInfo, [usable](ui::CmdUI& c) { c.Enable(usable()); });
}
