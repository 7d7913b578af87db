// A view that records what the shell does to it and answers a set result.
#pragma once

#include <string>
#include <vector>

#include "app/view.h"

class RecordingView : public View {
public:
    RecordingView(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}

    void Enter() override { log_.push_back(name_ + ".Enter"); }
    void Leave() override { log_.push_back(name_ + ".Leave"); }
    int HandleEvent(InputEvent& event) override {
        log_.push_back(name_ + ".Handle" + std::to_string(event.type));
        return result;
    }

    int result = kNotConsumed;

private:
    std::vector<std::string>& log_;
    std::string name_;
};
