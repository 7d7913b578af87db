// Shows the hunting ground with a duck that follows the stylus; the up and
// down keys scroll the ground. The menu music plays, and a touch fires a shot.
#pragma once

#include "app/view.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"

class PreviewView : public View {
public:
    static constexpr int32_t kScrollStep = 10;
    static constexpr int32_t kMaxScrollY = 639;  // the strip's last screen

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    const gfx::Sprite& Duck() const { return duck_; }

private:
    void ScrollBy(int32_t dy);

    gfx::PictureHolder duckPicture_;
    gfx::Sprite duck_;
};
