#include "platform/core/script_feed.h"

#include "platform/core/machine.h"

namespace plat {

ScriptFeed::ScriptFeed(Script script) : actions_(std::move(script.actions)), startTick_(script.startTick) {}

bool ScriptFeed::ActionBefore(uint32_t dueTick) const {
    return !Done() && static_cast<int32_t>(NextTick() - dueTick) < 0;
}

bool ScriptFeed::Step(void (*shot)(void* context, const std::string& name), void* context) {
    Machine& machine = Machine::Get();
    const ScriptAction& action = actions_[next_++];
    machine.AdvanceTo(startTick_ + action.tick);
    switch (action.kind) {
        case ScriptAction::kPost:
            machine.Post(action.message);
            return true;  // delivered before anything later happens
        case ScriptAction::kShot:
            if (shot != nullptr) shot(context, action.name);
            return false;
        case ScriptAction::kQuit:
            machine.End();
            return true;
    }
    return false;
}

}  // namespace plat
