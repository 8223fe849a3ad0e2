#pragma once
// Workspace pane 11 ("Mark"): the marks of the open recording, one row per run of flagged
// 0.1-s points of a mark type (epoch, time, stage, mark name, duration), with the mark types
// to list, a button that floats the mark window and one that deletes the chosen marks. The
// pane holds the mark window (a frame that docks in the pane or floats); the window's view
// owns the list.
#include <array>
#include <cstdint>
#include <memory>

#include "app/document/mark_table.h"
#include "app/workspace/workspace_list_pane.h"
#include "platform/ui/dock_frame.h"

class CMainFrame;
class CQLM2_AnalyzerDoc;

// What screening asks of the mark pane when it pauses or ends: with appendEndMarks the marks
// left open are closed and the runs rebuilt from the events; then the type list and the mark
// list are refilled and the "Delete mark" button enabled.
void RefreshMarkPaneAfterScreening(CMainFrame* frame, int appendEndMarks);

class LyrWorkspaceMarkView : public LyrWorkspaceListPane {
 public:
  static constexpr int kTypeListId = 102;
  static constexpr int kFloatId = 8005;
  static constexpr int kDeleteId = 8002;

  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  void OnControlNotify(int controlId, int code) override;
  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;

  // Shown flag of each type: its on and show flags both 1.
  void UpdateMarkTypeFlags();
  // One selected row per type whose shown flag is 1.
  void FillMarkTypeList();
  // Sets the refresh-pending flag: the next UpdateMarkList rebuilds the list.
  void MarkForRefill() { RefreshPending = 1; }
  // Rebuilds the list when a refill is pending and the recording has a mark table.
  void UpdateMarkList();
  void ClearList();
  // Closes the marks left open when screening ends.
  void AppendEndMarks();
  void EnableMarkButton(bool enable);
  // Rebuilds the mark flags from the mark events.
  void BuildMarkRuns();
  // Deletes the marks of the selected rows (flags and events) and rebuilds the list.
  void DeleteSelectedMarks();

  int RefreshPending = 0;
  std::array<int, kMarkTypeCount> ShownFlags{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  // Calls of UpdateMarkList and the rebuilds they made.
  int Updates = 0;
  int Refills = 0;

 private:
  void OnFloat();
};

class LyrWorkspaceMarkFrame : public ui::DockFrame {
 public:
  LyrWorkspaceMarkFrame();
  ~LyrWorkspaceMarkFrame() override;
  // Makes the frame docked in its pane, with its view on the document.
  bool CreateInPane(ui::Window* pane, CQLM2_AnalyzerDoc* doc);
  bool OnCreateClient(ui::CreateContext* context) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  LyrWorkspaceMarkView* View() const { return view_.get(); }
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  std::unique_ptr<LyrWorkspaceMarkView> view_;
};

// The mark pane of the tab strip: the holder of the mark window.
class LyrWorkspaceDummyMarkView : public ui::View {
 public:
  LyrWorkspaceDummyMarkView();
  ~LyrWorkspaceDummyMarkView() override;
  int OnCreate() override;
  void OnDraw(draw::Dc& dc) override;
  // While the mark window is docked it covers the pane.
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  LyrWorkspaceMarkFrame* MarkFrame() const { return frame_.get(); }
  LyrWorkspaceMarkView* MarkView() const { return frame_ ? frame_->View() : nullptr; }

 private:
  std::unique_ptr<LyrWorkspaceMarkFrame> frame_;
};
