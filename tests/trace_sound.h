// One sound line of the trace as a short entry: "535 music loop", "540", "stop".
#pragma once

#include <string>

inline std::string SoundEntry(const std::string& line) {
    if (line.find("\"stop\":true") != std::string::npos) return "stop";
    const size_t at = line.find("\"id\":") + 5;
    std::string entry = line.substr(at, line.find(',', at) - at);
    if (line.find("\"music\":true") != std::string::npos) entry += " music";
    if (line.find("\"loop\":true") != std::string::npos) entry += " loop";
    return entry;
}
