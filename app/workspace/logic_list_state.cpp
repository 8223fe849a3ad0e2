#include "app/workspace/logic_list_state.h"

namespace {
LogicListState g_state;
}

LogicListState GetLogicListState() { return g_state; }
void SetLogicListState(const LogicListState& state) { g_state = state; }
