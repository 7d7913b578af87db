// The long options of the command line that the game may ask about
// (StartOption in platform.h), kept for the whole run.
#pragma once

#include <string>
#include <vector>

namespace plat {

// Notes an option, named without its dashes.
void GiveStartOption(const std::string& name);
void ClearStartOptions();
// The options noted so far, in order.
const std::vector<std::string>& GivenStartOptions();

}  // namespace plat
