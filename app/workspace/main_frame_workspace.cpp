// The main frame's part of the workspace menu: the page-spectrum panes' popup sends its
// choices to the main frame, which hands them to the workspace window.
#include "app/frame/main_frame.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/ui/messages.h"

void CMainFrame::MapWorkspaceCommands() {
  for (std::uint32_t id : {32824u, 32825u}) {
    MapCommand(id, [this, id] {
      if (LyrWorkspaceDummyView* ws = WorkspaceView(); ws != nullptr && ws->Frame() != nullptr)
        ws->Frame()->SendMessage(ui::WM_COMMAND, id, 0);
    });
    MapUpdate(id, [this, id](ui::CmdUI& c) {
      LyrWorkspaceDummyView* ws = WorkspaceView();
      c.Enable(ws != nullptr && ws->Frame() != nullptr && ui::QueryCommandState(*ws->Frame(), id).IsEnabled());
    });
  }
}
