#pragma once
// Messages that the library's classes show to the user (for example "Read error" of the
// bitmap reader). The program installs a handler that shows a message box; without one
// the message is only kept as the last message (tests read it from there).
#include <functional>
#include <string>

namespace fyn {

using MessageHandler = std::function<void(const std::string& text)>;

// Installs the handler; an empty one removes it.
void SetMessageHandler(MessageHandler handler);
// Shows a message through the handler and keeps it as the last message.
void ShowMessage(const std::string& text);
const std::string& LastMessage();
void ClearLastMessage();

}  // namespace fyn
