#include "platform/core/start_options.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/testing.h"

namespace plat {

namespace {
std::vector<std::string> g_given;
}

void GiveStartOption(const std::string& name) {
    if (!StartOption(name.c_str())) g_given.push_back(name);
}

void ClearStartOptions() { g_given.clear(); }

const std::vector<std::string>& GivenStartOptions() { return g_given; }

bool StartOption(const char* name) {
    if (name == nullptr) return false;
    if (std::strncmp(name, "--", 2) == 0) name += 2;
    return std::find(g_given.begin(), g_given.end(), name) != g_given.end();
}

namespace testing {
void GiveStartOption(const char* name) { plat::GiveStartOption(name); }
}  // namespace testing

}  // namespace plat
