// Arbitrary text as an input script: whatever the parser accepts, written
// back line by line and parsed again, gives the same start and actions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/require.h"
#include "platform/core/script.h"

namespace {

std::string WriteBack(const plat::Script& script) {
    std::string text = plat::FormatStartLines(script.startTick, script.options) + "\n";
    for (const plat::ScriptAction& action : script.actions) {
        const std::string tick = std::to_string(action.tick);
        switch (action.kind) {
            case plat::ScriptAction::kPost: {
                const std::string line = plat::FormatScriptLine(action.message, action.tick);
                // Every message a script can post can also be written.
                FUZZ_REQUIRE(!line.empty());
                text += line + "\n";
                break;
            }
            case plat::ScriptAction::kShot: text += tick + " shot " + action.name + "\n"; break;
            case plat::ScriptAction::kQuit: text += tick + " quit\n"; break;
        }
    }
    return text;
}

bool Same(const plat::ScriptAction& a, const plat::ScriptAction& b) {
    return a.tick == b.tick && a.kind == b.kind && a.message.id == b.message.id &&
           a.message.wParam == b.message.wParam && a.message.lParam == b.message.lParam && a.name == b.name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    plat::Script first;
    std::string error;
    if (!plat::ParseScript(text, first, error)) {
        FUZZ_REQUIRE(!error.empty());
        return 0;
    }
    const std::string written = WriteBack(first);
    plat::Script second;
    FUZZ_REQUIRE(plat::ParseScript(written, second, error));
    FUZZ_REQUIRE(second.startTick == first.startTick);
    FUZZ_REQUIRE(second.options == first.options);
    FUZZ_REQUIRE(second.actions.size() == first.actions.size());
    for (size_t i = 0; i < first.actions.size(); ++i) FUZZ_REQUIRE(Same(first.actions[i], second.actions[i]));
    return 0;
}
