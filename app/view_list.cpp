#include "app/view_list.h"

#include <cstdio>

#include "app/view.h"
#include "platform/platform.h"

namespace {

// Programming errors: an empty caption, as the rest of the program's boxes
// have one of their own.
void ReportViewError(const char* text) { plat::MessageBox(text, "", plat::kMbOk); }

void TraceSwitch(uint8_t from, uint8_t to, bool push) {
    char fields[48];
    std::snprintf(fields, sizeof fields, "\"from\":%u,\"to\":%u,\"push\":%s", static_cast<unsigned>(from),
                  static_cast<unsigned>(to), push ? "true" : "false");
    plat::Trace("view", fields);
}

}  // namespace

void ViewList::Add(View* view, uint8_t id) {
    if (id >= kMaxViews) {
        ReportViewError("More views than are permited");
        return;
    }
    views_[id] = view;
}

void ViewList::Start(uint8_t id) {
    View* view = ViewAt(id);
    if (view == nullptr) {
        ReportViewError("This view is not added to View List");
        return;
    }
    TraceSwitch(current_, id, false);
    current_ = id;
    next_ = id;
    nextPushed_ = false;
    view->Enter();
}

void ViewList::SwitchTo(uint8_t id, bool push) {
    previous_ = current_;
    if (ViewAt(id) == nullptr) {
        ReportViewError("Not such View in View List");
        return;
    }
    next_ = id;
    nextPushed_ = push;
    if (push) Push(current_);
}

void ViewList::Back() {
    previous_ = current_;
    nextPushed_ = false;
    if (depth_ == 0) {
        next_ = current_;
        return;
    }
    depth_ = static_cast<uint8_t>(depth_ - 1);
    next_ = backStack_[depth_];
}

void ViewList::ResetBackStack() { depth_ = 1; }

void ViewList::Push(uint8_t id) {
    backStack_[depth_] = id;
    depth_ = static_cast<uint8_t>(depth_ + 1);
    // A full stack keeps overwriting its top slot.
    if (depth_ == kBackStackSize) depth_ = kBackStackSize - 1;
}

int ViewList::HandleEvent(InputEvent& event) {
    if (views_[current_] == nullptr) return kNotConsumed;
    if (next_ != current_) {
        if (views_[next_] == nullptr) {
            // A popped id whose view was never added: stay where we are.
            next_ = current_;
        } else {
            views_[current_]->Leave();
            TraceSwitch(current_, next_, nextPushed_);
            current_ = next_;
            views_[current_]->Enter();
            event.type = kEventViewEntered;
        }
    }
    const int result = views_[current_]->HandleEvent(event);
    if (result == kQuit) views_[current_]->Leave();
    return result;
}
