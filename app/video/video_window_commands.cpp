// The workspace window's "&Video" menu: the video window's size, split screen and bars, the
// video dialogs, and resetting a video set's start time (with its way back on cancel).
#include <algorithm>
#include <cmath>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "app/frame/main_frame.h"
#include "app/frame/pane_layout.h"
#include "app/frame/program_settings.h"
#include "app/video/lyr_workspace_dlg_video_split.h"
#include "app/video/lyr_workspace_video_location_view.h"
#include "app/video/video_window_size.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kCmdVideoFloat = 33104;
constexpr std::uint32_t kCmdVideoDock = 33105;
constexpr std::uint32_t kCmdOriginalSize = 33106;
constexpr std::uint32_t kCmdSplitScreen = 33107;
constexpr std::uint32_t kCmdViewToolBar = 33108;
constexpr std::uint32_t kCmdViewTime = 33109;
constexpr std::uint32_t kCmdViewLocation = 33110;
constexpr std::uint32_t kCmdSaveRange = 33111;
constexpr std::uint32_t kCmdDeleteRange = 33112;
constexpr std::uint32_t kCmdAutoPlayInfo = 33113;
constexpr std::uint32_t kCmdResetStartTime = 33114;
constexpr std::uint32_t kIdsResetStartTime = 2459;
// The panes have no borders of their own between them.
constexpr int kBorderHeight = 0;

CMainFrame* Main() { return CQLM2_AnalyzerDoc::MainFrame(); }

}  // namespace

VideoWindowSize OriginalVideoSize(std::uint16_t splitKind, int pictureWidth, int pictureHeight) {
  switch (splitKind) {
    case 0: return {pictureWidth, pictureHeight};
    case 1: return {pictureWidth / 2, pictureHeight / 2};
    case 2:
      return {static_cast<int>(pictureWidth * 0.3), static_cast<int>(pictureHeight * 0.3)};
    default: return {320, 240};
  }
}

bool VideoCommandsUsable(bool videoBound) {
  const CMainFrame* frame = Main();
  return DocumentLoaded != 0 && videoBound && ScreeningRunning != 1 &&
         (frame == nullptr || frame->MultiScreeningDlg == nullptr);
}

int LyrWorkspaceDummyView::RestoreVideoFileTable() {
  if (!SavedVideo) return 0;
  if (VideoPane.Main != nullptr) VideoPane.Main->VideoFilePath = SavedVideo->name;
  // The saved table replaces the controller's whole table, whatever its count is now.
  Video.SetRecords(std::move(SavedVideo->records));
  SavedVideo.reset();
  return 1;
}

void LyrWorkspaceFrame::MapVideoCommands() {
  auto ws = [this]() -> LyrWorkspaceDummyView* { return HostPane; };
  auto usable = [ws] {
    LyrWorkspaceDummyView* w = ws();
    return w != nullptr && VideoCommandsUsable(w->Video.IsBound());
  };
  MapCommand(kCmdVideoFloat, [ws] {
    if (LyrWorkspaceDummyView* w = ws()) w->VideoPane.FloatVideoWindow();
  });
  MapCommand(kCmdVideoDock, [ws] {
    if (LyrWorkspaceDummyView* w = ws()) w->VideoPane.DockVideoWindow();
  });
  MapCommand(kCmdOriginalSize, [this] { OnVideoOriginalSize(); });
  MapCommand(kCmdSplitScreen, [this] { OnVideoSplitScreen(); });
  for (std::uint32_t id : {kCmdOriginalSize, kCmdSplitScreen, kCmdAutoPlayInfo})
    MapUpdate(id, [usable](ui::CmdUI& c) { c.Enable(usable()); });

  MapCommand(kCmdViewToolBar, [ws] {
    LyrWorkspaceDummyView* w = ws();
    if (w == nullptr) return;
    LyrWorkspaceVideoFrame& v = w->VideoPane;
    v.Bars.toolBar = v.Bars.toolBar != 0 ? 0 : 1;
    if (v.IsWindow() && v.Bar().IsWindow()) v.ShowControlBar(&v.Bar(), v.Bars.toolBar != 0);
    v.RelayoutPanes();
  });
  MapUpdate(kCmdViewToolBar, [ws, usable](ui::CmdUI& c) {
    LyrWorkspaceDummyView* w = ws();
    if (w != nullptr && w->VideoPane.Bar().IsWindow()) w->VideoPane.Bars.toolBar = w->VideoPane.Bar().IsWindowVisible() ? 1 : 0;
    c.Enable(usable());
    c.SetCheck(w != nullptr && w->VideoPane.Bars.toolBar != 0 ? 1 : 0);
  });
  MapCommand(kCmdViewTime, [ws] {
    LyrWorkspaceDummyView* w = ws();
    if (w == nullptr) return;
    LyrWorkspaceVideoFrame& v = w->VideoPane;
    const ui::Window* pane = v.TimeBar();
    const bool shown = pane != nullptr && pane->IsWindow() && pane->IsWindowVisible() && pane->GetClientRect().Height() > 0;
    v.Bars.time = shown ? 0 : 1;
    v.RelayoutPanes();
  });
  MapUpdate(kCmdViewTime, [ws, usable](ui::CmdUI& c) {
    LyrWorkspaceDummyView* w = ws();
    c.Enable(usable());
    c.SetCheck(w != nullptr && w->VideoPane.Bars.time != 0 ? 1 : 0);
  });
  MapCommand(kCmdViewLocation, [ws] {
    LyrWorkspaceDummyView* w = ws();
    if (w == nullptr) return;
    LyrWorkspaceVideoFrame& v = w->VideoPane;
    const ui::Window* pane = v.LocationBar();
    const bool shown = pane != nullptr && pane->IsWindow() && pane->IsWindowVisible() && pane->GetClientRect().Height() > 0;
    v.Bars.location = shown ? 0 : 1;
    v.RelayoutPanes();
  });
  MapUpdate(kCmdViewLocation, [ws, usable](ui::CmdUI& c) {
    LyrWorkspaceDummyView* w = ws();
    c.Enable(usable());
    c.SetCheck(w != nullptr && w->VideoPane.Bars.location != 0 ? 1 : 0);
  });

  // "&Save range", "&Delete range" and "&Auto play information" are mapped with their dialogs
  // (MapVideoDialogCommands). A reset is for a set that was just synchronised.
  MapCommand(kCmdResetStartTime, [this] { OnVideoResetStartTime(); });
  MapUpdate(kCmdResetStartTime, [ws, usable](ui::CmdUI& c) {
    LyrWorkspaceDummyView* w = ws();
    c.Enable(usable() && w->Video.RangeFileWritten != 0);
  });
}

void LyrWorkspaceFrame::OnVideoSplitScreen() {
  if (m_pDoc == nullptr) return;
  LyrWorkspaceDlgVideoSplit dlg(this);
  dlg.Kind = m_pDoc->VideoSplit[0];
  dlg.Column = m_pDoc->VideoSplit[1];
  dlg.Row = m_pDoc->VideoSplit[2];
  if (dlg.DoModal() != ui::IDOK) return;
  m_pDoc->VideoSplit = {dlg.Kind, dlg.Column, dlg.Row};
  if (HostPane == nullptr) return;
  LyrWorkspaceVideoFrame& v = HostPane->VideoPane;
  if (LyrWorkspaceVideoBaseView* base = v.Base(); base != nullptr && base->Surface() != nullptr) {
    LyrWorkspaceVideoVideoView* s = base->Surface();
    s->OnSize(0, s->GetClientRect().Width(), s->GetClientRect().Height());
  }
  v.RelayoutPanes();
}

void LyrWorkspaceFrame::OnVideoOriginalSize() {
  if (HostPane == nullptr || m_pDoc == nullptr) return;
  LyrWorkspaceVideoFrame& v = HostPane->VideoPane;
  if (!v.IsWindow()) return;
  const CVPInfoExchange& video = HostPane->Video;
  const VideoWindowSize want = OriginalVideoSize(m_pDoc->VideoSplit[0], video.PictureWidth, video.PictureHeight);
  // The bars that show take their own height too.
  int bars = 0;
  if (v.Bars.toolBar != 0 && v.Bar().IsWindow()) bars += v.Bar().GetClientRect().Height() + kBorderHeight;
  if (v.Bars.location != 0 && v.LocationBar() != nullptr) bars += v.LocationBar()->GetClientRect().Height() + kBorderHeight;
  if (v.Bars.time != 0 && v.TimeBar() != nullptr) bars += v.TimeBar()->GetClientRect().Height() + kBorderHeight;
  // What the window needs beyond the surface: the difference between its size and its
  // surface's, as it stands.
  const ui::Rect frameRect = v.GetWindowRect();
  const ui::Rect surface =
      v.Base() != nullptr && v.Base()->Surface() != nullptr ? v.Base()->Surface()->GetClientRect() : ui::Rect{};
  const ui::Rect client = v.GetClientRect();
  const int needWidth = want.width + (client.Width() - surface.Width());
  const int needHeight = want.height + bars + (frameRect.Height() - client.Height()) +
                         std::max(0, client.Height() - surface.Height() - bars);
  if (v.Docked == 0) {
    const ui::Point at = v.GetParent() != nullptr ? v.GetParent()->ScreenToClient({frameRect.left, frameRect.top})
                                                   : ui::Point{frameRect.left, frameRect.top};
    v.MoveWindow({at.x, at.y, at.x + needWidth + (frameRect.Width() - client.Width()), at.y + needHeight});
    v.RelayoutPanes();
    return;
  }
  // Docked: the workspace window grows or shrinks by the difference.
  const int dw = needWidth - client.Width();
  const int dh = needHeight - (frameRect.Height() - client.Height()) - client.Height();
  const ui::Rect wsRect = GetWindowRect();
  if (!IsDocked()) {
    MoveWindow({wsRect.left, wsRect.top, wsRect.right + dw, wsRect.bottom + dh});
    v.RelayoutPanes();
    return;
  }
  CMainFrame* frame = Main();
  if (frame == nullptr || frame->OuterSplitter() == nullptr) return;
  const int outerHeight = frame->OuterSplitter()->GetClientRect().Height();
  const int outerWidth = frame->OuterSplitter()->GetClientRect().Width();
  if (outerHeight > 0) {
    PaneRowRatio = std::max(0.0, 1.0 - static_cast<double>(wsRect.Height() + dh) / outerHeight);
    frame->LayoutPanes();
  }
  if (outerWidth > 0) {
    PaneColumnRatio = std::max(0.0, 1.0 - static_cast<double>(wsRect.Width() + dw) / outerWidth);
    frame->LayoutPanes();
  }
  v.RelayoutPanes();
}

void LyrWorkspaceFrame::OnVideoResetStartTime() {
  LyrWorkspaceDummyView* ws = HostPane;
  CMainFrame* frame = Main();
  if (ws == nullptr || frame == nullptr) return;
  if (ui::MessageBox(res::LoadString(kIdsResetStartTime), ui::MB_YESNO | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2) !=
      ui::IDYES)
    return;
  CVPInfoExchange& video = ws->Video;
  const std::string name = frame->VideoFilePath;
  ws->SavedVideo = LyrWorkspaceDummyView::SavedVideoTable{video.Records(), name};
  if (video.IsBound()) video.UnloadVideoDll();
  if (video.LoadVideoDll() != 0) video.InitVideoDll();
  frame->VideoFilePath = name;
  // The first file starts at 0.0; lengths, names and play ranges stay.
  std::vector<VideoFileRecord> shifted = ws->SavedVideo->records;
  const double first = shifted.empty() ? 0.0 : shifted.front().startTime;
  for (VideoFileRecord& r : shifted) {
    r.startTime -= first;
    r.endTime -= first;
  }
  video.SetRecords(std::move(shifted));
  frame->VideoFollowsWave = 0;
  if (video.OpenVideo(0) == 0) return;
  frame->OpenVideoSyncDlg();
}
