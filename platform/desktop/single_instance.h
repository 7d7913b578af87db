// One running copy per user, class and title: a second start asks the first
// to come to the front and then ends.
#pragma once

#include <string>

namespace plat {

class SingleInstance {
public:
    ~SingleInstance();

    // True when another copy holds the name; it has been asked to show itself.
    bool OtherIsRunning(const std::string& name);
    // True once for every request to come to the front since the last call.
    bool TakeRaiseRequest();

private:
    int listener_ = -1;
};

}  // namespace plat
