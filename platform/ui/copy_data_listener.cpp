#include "platform/ui/copy_data_listener.h"

#include <QPointer>
#include <QSocketNotifier>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system/copy_data_channel.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

namespace ui {

namespace {

// How long a connected sender may take to deliver its bytes.
constexpr int kReadTimeoutMs = 5000;

bool MakeAddress(const std::string& path, sockaddr_un* addr) {
  *addr = sockaddr_un{};
  addr->sun_family = AF_UNIX;
  if (path.size() >= sizeof(addr->sun_path)) return false;
  std::memcpy(addr->sun_path, path.c_str(), path.size() + 1);
  return true;
}

// True when a program answers on the socket path.
bool SomeoneListens(const sockaddr_un& addr) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

struct CopyDataListener::Impl {
  Window* target = nullptr;
  std::string path;
  int fd = -1;
  std::unique_ptr<QSocketNotifier> notifier;
  bool busy = false;

  void OnReadable() {
    if (busy) return;
    busy = true;
    notifier->setEnabled(false);
    for (;;) {
      const int conn = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (conn < 0) break;
      sys::CopyDataMessage message;
      if (sys::ReadCopyDataMessage(conn, kReadTimeoutMs, &message) && target != nullptr && target->IsWindow()) {
        CopyData data;
        data.dwData = static_cast<std::uintptr_t>(message.code);
        data.cbData = static_cast<std::uint32_t>(message.bytes.size());
        data.lpData = message.bytes.empty() ? nullptr : message.bytes.data();
        const std::intptr_t result = target->SendMessage(WM_COPYDATA, 0, reinterpret_cast<std::intptr_t>(&data));
        sys::WriteCopyDataAnswer(conn, result);
      }
      ::close(conn);
      if (fd < 0) break;  // closed by the handler
    }
    busy = false;
    if (notifier) notifier->setEnabled(true);
  }
};

CopyDataListener::CopyDataListener() : impl_(std::make_unique<Impl>()) {}

CopyDataListener::~CopyDataListener() { Close(); }

bool CopyDataListener::Listen(Window* target, const std::string& socketPath, std::string* error) {
  auto fail = [error](const std::string& why) {
    if (error != nullptr) *error = why;
    return false;
  };
  Close();
  sockaddr_un addr;
  if (!MakeAddress(socketPath, &addr)) return fail("the socket path is too long: " + socketPath);
  struct stat st {};
  if (::lstat(socketPath.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) return fail(socketPath + " exists and is not a socket");
    if (SomeoneListens(addr)) return fail("another program listens on " + socketPath);
    ::unlink(socketPath.c_str());
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return fail(std::strerror(errno));
  // Only this user may connect.
  const mode_t old = ::umask(0077);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
  ::umask(old);
  if (!bound || ::listen(fd, 8) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    return fail("cannot listen on " + socketPath + " (" + why + ")");
  }
  impl_->target = target;
  impl_->path = socketPath;
  impl_->fd = fd;
  impl_->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  Impl* impl = impl_.get();
  QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, [impl] { impl->OnReadable(); });
  return true;
}

void CopyDataListener::Close() {
  if (impl_->fd < 0) return;
  // A handler that closes the listener runs inside the notifier's signal: the notifier goes later.
  if (impl_->busy && impl_->notifier) impl_->notifier.release()->deleteLater();
  impl_->notifier.reset();
  ::close(impl_->fd);
  impl_->fd = -1;
  ::unlink(impl_->path.c_str());
  impl_->path.clear();
  impl_->target = nullptr;
}

bool CopyDataListener::IsListening() const { return impl_->fd >= 0; }

}  // namespace ui
