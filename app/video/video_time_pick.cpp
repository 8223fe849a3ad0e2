#include "app/video/video_time_pick.h"

#include <algorithm>
#include <vector>

#include "app/frame/frame_globals.h"
#include "platform/ui/window.h"

namespace {

struct PickState {
  std::vector<VideoTimePickClient*> clients;
  int target = 0;
};

PickState& State() {
  static PickState state;
  return state;
}

void ShowClientsAgain() {
  // A client may close itself while it is shown: the list is copied first.
  const std::vector<VideoTimePickClient*> clients = State().clients;
  for (VideoTimePickClient* c : clients)
    if (ui::Window* w = c->PickWindow(); w != nullptr && w->IsWindow()) w->ShowWindow(ui::SW_SHOW);
}

}  // namespace

VideoTimePickClient::~VideoTimePickClient() { UnregisterVideoPickClient(this); }

void RegisterVideoPickClient(VideoTimePickClient* client) {
  auto& clients = State().clients;
  if (client != nullptr && std::find(clients.begin(), clients.end(), client) == clients.end()) clients.push_back(client);
}

void UnregisterVideoPickClient(VideoTimePickClient* client) {
  auto& clients = State().clients;
  clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
  if (clients.empty() && State().target != 0) {
    State().target = 0;
    if (RawPreviewMode == 3) RawPreviewMode = 0;
  }
}

void BeginVideoTimePick(int target, VideoTimePickClient* from) {
  if (target != kVideoPickStart && target != kVideoPickEnd) return;
  RegisterVideoPickClient(from);
  State().target = target;
  RawPreviewMode = 3;
  if (from != nullptr)
    if (ui::Window* w = from->PickWindow(); w != nullptr && w->IsWindow()) w->ShowWindow(ui::SW_HIDE);
}

bool VideoTimePickPending() { return State().target != 0; }

int VideoTimePickTarget() { return State().target; }

void DeliverVideoTimePick(double seconds) {
  const int target = State().target;
  if (target == 0) return;
  State().target = 0;
  RawPreviewMode = 0;
  const std::vector<VideoTimePickClient*> clients = State().clients;
  for (VideoTimePickClient* c : clients) {
    if (target == kVideoPickStart) {
      c->SetStartFromCursor(seconds);
    } else {
      c->SetEndFromCursor(seconds);
    }
  }
  ShowClientsAgain();
}

void CancelVideoTimePick() {
  if (State().target == 0) return;
  State().target = 0;
  RawPreviewMode = 0;
  ShowClientsAgain();
}
