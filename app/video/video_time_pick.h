#pragma once
// Picking a time on the wave page for the video dialogs: a dialog's Cursor button hides it
// and puts the raw page into its pick mode (RawPreviewMode 3); the next left click on the page
// is a time on the video clock, handed to every open video dialog (start or end, by the
// button pressed), and the dialogs show again.
#include <string>

#include "app/video/lyr_dlg_video_owner.h"

namespace ui {
class Window;
}

// A video dialog that takes a picked time. It is told while it is open (registered).
class VideoTimePickClient {
 public:
  VideoTimePickClient() = default;
  VideoTimePickClient(const VideoTimePickClient&) = delete;
  VideoTimePickClient& operator=(const VideoTimePickClient&) = delete;
  virtual ~VideoTimePickClient();
  virtual void SetStartFromCursor(double /*seconds*/) {}
  virtual void SetEndFromCursor(double /*seconds*/) {}
  // The window hidden during the pick and shown again after it.
  virtual ui::Window* PickWindow() = 0;
};

void RegisterVideoPickClient(VideoTimePickClient* client);
void UnregisterVideoPickClient(VideoTimePickClient* client);

// Pick targets: kVideoPickStart, kVideoPickEnd.
// A Cursor button: target start or end; the dialog hides until the pick. Picking is not an
// edit of the play ranges: the question on closing the recording is not raised by it.
void BeginVideoTimePick(int target, VideoTimePickClient* from);
// Whether the wave page's next click is a video time, and for which target (0: none).
bool VideoTimePickPending();
int VideoTimePickTarget();
// The click's time (video clock): to every open dialog, which show again; the pick ends.
void DeliverVideoTimePick(double seconds);
// The pick ends without a time: the dialogs show again.
void CancelVideoTimePick();
