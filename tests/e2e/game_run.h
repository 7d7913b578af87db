// Runs the real program headless from a script in a folder of its own and
// reads back what it left there: trace, screenshots, audio, store.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "persist/high_score_table.h"
#include "platform/platform.h"
#include "platform/store/store_testing.h"
#include "tests/trace_sound.h"

namespace e2e {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// The trace lines of one event kind ("" for all), in order, without the folder's name.
inline std::vector<std::string> TraceEvents(const fs::path& dir, const std::string& event) {
    std::istringstream in(ReadFile(dir / "trace.jsonl"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (const size_t at = line.find(dir.string()); at != std::string::npos) line.erase(at, dir.string().size());
        if (line.find("\"event\":\"" + event) != std::string::npos) lines.push_back(line);
    }
    return lines;
}
inline std::string RunTrace(const fs::path& dir) {
    std::string out;
    for (const std::string& line : TraceEvents(dir, "")) out += line + "\n";
    return out;
}

// The view switches ("from>to", "+" for a push) and sounds (as SoundEntry gives them) of one kind, or both with "".
inline std::vector<std::string> Story(const fs::path& dir, const std::string& event = "") {
    std::vector<std::string> out;
    for (const std::string& line : TraceEvents(dir, event)) {
        const auto field = [&](const std::string& name) {
            const size_t at = line.find("\"" + name + "\":") + name.size() + 3;
            return line.substr(at, line.find_first_of(",}", at) - at);
        };
        if (line.find("\"event\":\"sound\"") != std::string::npos) out.push_back(::SoundEntry(line));
        if (line.find("\"event\":\"view\"") != std::string::npos) out.push_back(field("from") + ">" + field("to") + (field("push") == "true" ? "+" : ""));
    }
    return out;
}
inline std::vector<std::string> Switches(const fs::path& dir) { return Story(dir, "view"); }
inline std::vector<std::string> Sounds(const fs::path& dir) { return Story(dir, "sound"); }

// The store lives in dir/data, so a second run in the same folder is a restart and a run in a new folder a
// first start. `options` go before the script's (e.g. "--hunt").
inline std::string GameCommand(const fs::path& dir, const std::string& script, const std::string& options) {
    fs::create_directories(dir);
    std::ofstream(dir / "script.txt") << script;
    return "REEDSHOT_DATA_DIR=" + (dir / "data").string() + " " + std::string(REEDSHOT_PATH) + " --headless " +
           options + " --script " + (dir / "script.txt").string() + " --trace " + (dir / "trace.jsonl").string() +
           " --shots " + dir.string() + " --audio-out " + (dir / "audio.wav").string() + " 2>" +
           (dir / "stderr.txt").string();
}
// Runs the game to its end; returns the exit status.
inline int RunGame(const fs::path& dir, const std::string& script, const std::string& options = "") {
    const int status = std::system(GameCommand(dir, script, options).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
// Starts the game and returns its process id without waiting for it.
inline pid_t StartGame(const fs::path& dir, const std::string& script) {
    const std::string command = "exec env " + GameCommand(dir, script, "");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// Runs `read` on `dir`'s store, closed again afterwards.
template <typename Read>
auto InStore(const fs::path& dir, Read read) {
    plat::testing::CloseStore();
    setenv("REEDSHOT_DATA_DIR", (dir / "data").c_str(), 1);
    auto result = read();
    plat::testing::CloseStore();
    return result;
}
// A stored setting as text (a number, or with `text` a string); "missing" when unreadable.
inline std::string Stored(const fs::path& dir, const char* name, bool text = false) {
    return InStore(dir, [&] {
        plat::KeyHandle key = plat::kNoKey;
        bool created = false;
        int32_t number = 0;
        char buffer[16] = {};
        if (!plat::OpenOrCreateKey("Corvane\\Reedshot", key, created)) return std::string("missing");
        const bool ok = text ? plat::ReadString(key, name, buffer, sizeof buffer) : plat::ReadNumber(key, name, number);
        plat::CloseKey(key);
        return !ok ? std::string("missing") : text ? std::string(buffer) : std::to_string(number);
    });
}
// The used high-score entries as "score:NAME", "*" marking the newest.
inline std::string StoredTable(const fs::path& dir) {
    return InStore(dir, [] {
        HighScoreTable table;
        table.Load();
        std::string out;
        for (int32_t i = 0; i < table.CountUsed(); ++i) {
            const HighScoreEntry e = table.GetEntry(i);
            out += (i ? " " : "") + std::to_string(e.score) + ":" + e.name + (e.isNew ? "*" : "");
        }
        return out;
    });
}

// A scratch folder of the test's own for its runs, gone afterwards.
class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("reedshot-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                 std::to_string(::getpid()));
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

}  // namespace e2e
