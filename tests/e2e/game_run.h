// Runs the real program headless from a script in a folder of its own and
// reads back what it left there: trace, screenshots, audio, store.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/trace_sound.h"

namespace e2e {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The trace of a run in `dir` without the folder's name.
inline std::string RunTrace(const fs::path& dir) {
    std::istringstream in(ReadFile(dir / "trace.jsonl"));
    const std::string folder = dir.string();
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (const size_t at = line.find(folder); at != std::string::npos) line.erase(at, folder.size());
        out += line + "\n";
    }
    return out;
}

// The trace lines of one event kind, in order.
inline std::vector<std::string> TraceEvents(const fs::path& dir, const std::string& event) {
    std::istringstream in(ReadFile(dir / "trace.jsonl"));
    const std::string tag = "\"event\":\"" + event + "\"";
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.find(tag) != std::string::npos) lines.push_back(line);
    }
    return lines;
}

// "from>to" for every switch, with "+" for a push.
inline std::vector<std::string> Switches(const fs::path& dir) {
    std::vector<std::string> out;
    for (const std::string& line : TraceEvents(dir, "view")) {
        auto field = [&](const std::string& name) {
            const size_t at = line.find("\"" + name + "\":") + name.size() + 3;
            return line.substr(at, line.find_first_of(",}", at) - at);
        };
        out.push_back(field("from") + ">" + field("to") + (field("push") == "true" ? "+" : ""));
    }
    return out;
}

// Every sound event, in order.
inline std::vector<std::string> Sounds(const fs::path& dir) {
    std::vector<std::string> out;
    for (const std::string& line : TraceEvents(dir, "sound")) out.push_back(::SoundEntry(line));
    return out;
}

// The view switches and the sounds in the order they happened.
inline std::vector<std::string> Story(const fs::path& dir) {
    std::vector<std::string> out;
    const std::vector<std::string> switches = Switches(dir);
    size_t view = 0;
    std::istringstream in(ReadFile(dir / "trace.jsonl"));
    for (std::string line; std::getline(in, line);) {
        if (line.find("\"event\":\"view\"") != std::string::npos) out.push_back(switches[view++]);
        if (line.find("\"event\":\"sound\"") != std::string::npos) out.push_back(::SoundEntry(line));
    }
    return out;
}

// The store lives in dir/data, so a second run in the same folder is a
// restart and a run in a new folder a first start. `options` go before the
// script's (e.g. "--hunt").
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
inline pid_t StartGame(const fs::path& dir, const std::string& script, const std::string& options = "") {
    const std::string command = "exec env " + GameCommand(dir, script, options);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
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
