// Runs the real program headless from a script in a folder of its own and
// reads back what it left there: trace, screenshots, audio, store.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The trace of a run in `dir` without the mixing thread's lines, whose order
// against the main thread's is the scheduler's business, and without the
// folder's name.
inline std::string MainThreadTrace(const fs::path& dir) {
    std::istringstream in(ReadFile(dir / "trace.jsonl"));
    const std::string folder = dir.string();
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.find("\"event\":\"audio_") != std::string::npos) continue;
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

// The store lives in dir/data, so a second run in the same folder is a
// restart and a run in a new folder a first start. `options` go before the
// script's (e.g. "--hunt"). Returns the exit status.
inline int RunGame(const fs::path& dir, const std::string& script, const std::string& options = "") {
    fs::create_directories(dir);
    std::ofstream(dir / "script.txt") << script;
    const std::string command = "REEDSHOT_DATA_DIR=" + (dir / "data").string() + " " + std::string(REEDSHOT_PATH) +
                                " --headless " + options + " --script " + (dir / "script.txt").string() +
                                " --trace " + (dir / "trace.jsonl").string() + " --shots " + dir.string() +
                                " --audio-out " + (dir / "audio.wav").string() + " 2>" +
                                (dir / "stderr.txt").string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace e2e
