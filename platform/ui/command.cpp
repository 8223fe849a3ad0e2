// Message maps of command targets and the helpers that run and query commands.
#include "platform/ui/command.h"

#include <vector>

namespace ui {

struct CommandTarget::Map {
  struct Entry {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::function<void(std::uint32_t)> command;
    std::function<void(CmdUI&)> update;
  };
  std::vector<Entry> entries;  // in registration order: the first match wins
  struct Notify {
    std::uint32_t id = 0;
    int code = 0;
    std::function<void()> handler;
  };
  std::vector<Notify> notifies;
};

CommandTarget::CommandTarget() : map_(std::make_unique<Map>()) {}
CommandTarget::~CommandTarget() = default;

void CommandTarget::MapCommand(std::uint32_t id, std::function<void()> handler) {
  map_->entries.push_back({id, id, [h = std::move(handler)](std::uint32_t) { h(); }, {}});
}

void CommandTarget::MapCommandRange(std::uint32_t first, std::uint32_t last,
                                    std::function<void(std::uint32_t)> handler) {
  map_->entries.push_back({first, last, std::move(handler), {}});
}

void CommandTarget::MapUpdate(std::uint32_t id, std::function<void(CmdUI&)> handler) {
  map_->entries.push_back({id, id, {}, std::move(handler)});
}

void CommandTarget::MapUpdateRange(std::uint32_t first, std::uint32_t last, std::function<void(CmdUI&)> handler) {
  map_->entries.push_back({first, last, {}, std::move(handler)});
}

bool CommandTarget::DispatchOwn(std::uint32_t id, CmdMode mode, CmdUI* cmdUI) {
  for (const auto& e : map_->entries) {
    if (id < e.first || id > e.last) continue;
    if (mode == CmdMode::Update) {
      if (!e.update || !cmdUI) continue;
      auto handler = e.update;  // the handler may change the map
      handler(*cmdUI);
      return true;
    }
    if (!e.command) continue;
    if (mode == CmdMode::Execute) {
      auto handler = e.command;
      handler(id);
    }
    return true;
  }
  return false;
}

void CommandTarget::MapNotify(std::uint32_t id, int code, std::function<void()> handler) {
  map_->notifies.push_back({id, code, std::move(handler)});
}

bool CommandTarget::DispatchOwnNotify(std::uint32_t id, int code) {
  for (const auto& n : map_->notifies) {
    if (n.id != id || n.code != code) continue;
    auto handler = n.handler;
    handler();
    return true;
  }
  return false;
}

bool CommandTarget::OnNotifyMsg(std::uint32_t id, int code) { return DispatchOwnNotify(id, code); }

bool CommandTarget::OnCmdMsg(std::uint32_t id, CmdMode mode, CmdUI* cmdUI) { return DispatchOwn(id, mode, cmdUI); }

bool ExecuteCommand(CommandTarget& target, std::uint32_t id) { return target.OnCmdMsg(id, CmdMode::Execute, nullptr); }

CmdUI QueryCommandState(CommandTarget& target, std::uint32_t id) {
  CmdUI ui(id);
  if (!target.OnCmdMsg(id, CmdMode::Update, &ui)) ui.Enable(target.OnCmdMsg(id, CmdMode::Probe, nullptr));
  return ui;
}

}  // namespace ui
