// Six illustrated guide pages leafed through with two arrows, and buttons to
// the credits, the about popup and back.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"
#include "widgets/button.h"

class HowToPlayView : public View {
public:
    static constexpr int kButtons = 5;
    static constexpr uint16_t kFirstPage = 401;
    static constexpr uint16_t kLastPage = 406;
    static constexpr uint32_t kTurnMs = 150;

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    uint16_t PageId() const { return pageId_; }
    const gfx::Sprite& Page() const { return page_; }

private:
    // One page on, drawn half blended over the old one first.
    void TurnTo(uint16_t pageId);
    void Click(uint32_t controlId);

    uint16_t pageId_ = kFirstPage;
    gfx::Picture pagePicture_;
    gfx::Sprite page_;
    Button buttons_[kButtons];
};
