#include "common/fyn_message.h"

namespace fyn {
namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}
std::string& Last() {
  static std::string last;
  return last;
}
}  // namespace

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }

void ShowMessage(const std::string& text) {
  Last() = text;
  if (Handler()) Handler()(text);
}

const std::string& LastMessage() { return Last(); }
void ClearLastMessage() { Last().clear(); }

}  // namespace fyn
