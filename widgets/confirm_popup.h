// A yes-or-no question over the current screen, answered in a loop of its
// own: while it is open no event reaches the views, the game or the animations.
#pragma once

#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/picture.h"

namespace gfx {
class LayerManager;
}
namespace snd {
class SoundManager;
}
struct InputState;

class ConfirmPopup {
public:
    // Without a sound manager the clicks are not heard.
    ConfirmPopup(gfx::LayerManager& scene, InputState& input, snd::SoundManager* sound);
    virtual ~ConfirmPopup();
    ConfirmPopup(const ConfirmPopup&) = delete;
    ConfirmPopup& operator=(const ConfirmPopup&) = delete;

    // 1 for yes, 0 for no. Where the stylus is lifted decides. Once the
    // message queue has ended the answer is no, so the program can still end
    // normally. The popup's last drawing stays; the caller redraws itself.
    virtual int Run();

    static constexpr gfx::Rect kBoxRect = {69, 75, 169, 243};
    static constexpr gfx::Rect kYesRect = {137, 190, 161, 230};
    static constexpr gfx::Rect kNoRect = {137, 84, 161, 170};

private:
    void DrawBox();
    void Present(const gfx::Rect& rect);
    void ShowPressed(const gfx::Picture& picture, const gfx::Rect& rect);

    gfx::LayerManager& scene_;
    InputState& input_;
    snd::SoundManager* sound_;
    gfx::Picture boxPicture_;
    gfx::Picture yesPressed_;
    gfx::Picture noPressed_;
};
