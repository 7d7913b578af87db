// The main menu: six pictures slide into place over the backdrop and become
// buttons: a new hunt, options, high scores, how to play, quit, and the
// player's name, which opens the name entry. It takes every event.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"
#include "graphics/strip_font.h"
#include "widgets/button.h"
#include "widgets/text_field.h"

class MainMenuView : public View {
public:
    static constexpr int kItems = 6;
    static constexpr int kNameItem = 5;
    static constexpr int32_t kSlideStep = 14;
    static constexpr uint8_t kSlideLayer = 2;
    static constexpr uint8_t kButtonLayer = 200;

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    bool Animating() const { return animating_; }
    const gfx::Sprite& SlideSprite(int item) const { return slide_[item]; }
    const Button& ItemButton(int item) const { return buttons_[item]; }
    const TextField& NameField() const { return nameField_; }

private:
    void Slide();
    void FinishSlide();
    // Takes the sliding pictures of the first five items off the scene.
    void DropSlidePictures();
    int Act(uint32_t controlId);

    bool animating_ = false;
    uint8_t phase_ = 0;
    uint32_t lastTick_ = 0;
    gfx::Picture pictures_[kNameItem];
    gfx::Picture* nameLooks_[2] = {};  // normal and pressed, with the name drawn in
    gfx::Sprite slide_[kItems];
    gfx::Sprite pressedSprite_;  // holds the pressed name picture, never shown itself
    Button buttons_[kItems];
    StripFont nameFont_;
    TextField nameField_;
};
