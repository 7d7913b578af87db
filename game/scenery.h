// The still pictures of the hunting ground at their world places and layers,
// among them the hidden bonus spot that can be taken once per hunt.
#pragma once

#include <cstdint>

#include "graphics/picture.h"
#include "graphics/scene.h"
#include "graphics/sprite.h"

class Scenery {
public:
    static constexpr int kPieces = 25;

    Scenery() = default;
    virtual ~Scenery() = default;
    Scenery(const Scenery&) = delete;
    Scenery& operator=(const Scenery&) = delete;

    // Every piece into the scene; the bonus spot is there again.
    int init(gfx::Scene* scene);
    // The spot leaves the scene but stays allocated until release.
    void takeBonus();
    void hide();
    // Every piece back, the spot only while it was not taken.
    void show();
    int release();

    // Set by the controller when the spot is tapped.
    bool bonusTaken = false;

    const gfx::Sprite& piece(int i) const { return sprites_[i]; }
    const gfx::Sprite& bonusSpot() const { return sprites_[kPieces - 1]; }

private:
    gfx::PictureHolder pictures_[kPieces];
    gfx::Sprite sprites_[kPieces];
    gfx::Scene* scene_ = nullptr;
};
