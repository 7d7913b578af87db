// The credits: thirteen captions glide across a black screen in an endless
// loop, fading in and out at the edges of the middle band. A tap returns.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"

class CreditsView : public View {
public:
    static constexpr int kCaptions = 13;
    static constexpr uint32_t kStepMs = 51;
    static constexpr int32_t kEnterX = 220;  // where a caption starts again
    static constexpr int32_t kLeaveX = -360;
    static constexpr int32_t kBottomY = 260;  // every caption ends here

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    // The blend factor a caption at x is drawn with: 0 not drawn, 1 opaque.
    static float OpacityAt(int32_t x);

    int32_t CaptionX(int index) const { return x_[index]; }
    int32_t CaptionY(int index) const { return y_[index]; }

private:
    void Step();

    gfx::Picture pictures_[kCaptions];
    int32_t x_[kCaptions] = {};
    int32_t y_[kCaptions] = {};
    uint32_t lastStep_ = 0;
};
