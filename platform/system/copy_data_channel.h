#pragma once
// Copy-data messages between processes of the same user: a running program listens on a local
// socket of its own (platform/ui/copy_data_listener.h) and hands each message to a window as
// WM_COPYDATA; another process sends a code and a block of bytes and waits until the window's
// handler has returned, as a sender of the message does.
//
// On the socket a message is "QLMC", u32 version 1, u64 code, u32 byte count, then the bytes;
// the answer is "QLMR" and the handler's i64 result. All numbers little-endian.
#include <cstdint>
#include <string>
#include <vector>

namespace sys {

// The largest block a message may carry.
inline constexpr std::uint32_t kMaxCopyDataBytes = 1u << 20;

// The socket of a program for the current user and the folder it runs from (ProgramFolder(),
// so that tools beside the program find it and a program started from another folder, or a
// test's program folder, has its own): $XDG_RUNTIME_DIR/<name>-<folder hash>.sock, or
// /tmp/<name>-<uid>-<folder hash>.sock without a runtime folder.
std::string CopyDataSocketPath(const std::string& programName);

struct CopyDataMessage {
  std::uint64_t code = 0;
  std::vector<std::uint8_t> bytes;
};

// Sends a message and waits for the receiver's answer (no time-out: the receiver may run a
// long job and show message boxes before it answers). False, with the cause in *error, when
// nobody listens on the path or the receiver closed the connection without an answer.
bool SendCopyData(const std::string& socketPath, const CopyDataMessage& message, std::int64_t* result,
                  std::string* error);

// Receiver's side, for the listener: reads one message from a connected socket (waiting at
// most timeoutMs for its bytes) and writes the answer. False on a malformed or short message.
bool ReadCopyDataMessage(int fd, int timeoutMs, CopyDataMessage* message);
bool WriteCopyDataAnswer(int fd, std::int64_t result);

}  // namespace sys
