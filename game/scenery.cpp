#include "game/scenery.h"

namespace {

struct Piece {
    uint16_t id;
    uint16_t width;
    uint16_t height;
    int32_t x;
    int32_t y;
    uint8_t layer;
};

// In the order of creation; the bonus spot comes last.
constexpr Piece kPlacement[Scenery::kPieces] = {
    {261, 56, 36, 141, 530, 90}, {262, 38, 28, 164, 566, 90}, {263, 38, 28, 126, 566, 90},
    {264, 36, 38, 124, 594, 90}, {265, 42, 44, 160, 594, 90}, {266, 40, 34, 139, 638, 90},
    {267, 32, 16, 202, 590, 90}, {301, 42, 50, 198, 92, 120}, {284, 34, 30, 57, 9, 90},
    {285, 28, 30, 91, 9, 90},    {286, 38, 24, 56, 39, 90},   {287, 38, 24, 94, 39, 90},
    {289, 34, 32, 66, 63, 90},   {290, 28, 32, 100, 63, 90},  {291, 44, 12, 132, 48, 90},
    {292, 50, 34, 128, 830, 90}, {293, 20, 16, 108, 848, 90}, {294, 70, 52, 108, 864, 90},
    {295, 70, 44, 108, 916, 90}, {296, 18, 38, 90, 922, 90},  {297, 40, 32, 200, 237, 90},
    {298, 24, 10, 213, 336, 90}, {299, 32, 20, 201, 359, 90}, {300, 14, 14, 216, 400, 90},
    {302, 12, 10, 165, 914, 101},
};
constexpr int kBonusSpot = Scenery::kPieces - 1;

}  // namespace

int Scenery::init(gfx::Scene* scene) {
    // What a hunt that was never released left behind goes out through the
    // new scene: the old one may be gone.
    scene_ = scene;
    release();
    scene_ = scene;
    bonusTaken = false;
    for (int i = 0; i < kPieces; ++i) {
        const Piece& p = kPlacement[i];
        gfx::LoadHeldPicture(pictures_[i], p.id, p.width, p.height);
        gfx::CreateSprite(sprites_[i], &pictures_[i], p.x, p.y, false, true, false, gfx::kKeyFromImage);
        if (scene_ != nullptr) scene_->AddSprite(sprites_[i], p.layer);
    }
    return 0;
}

void Scenery::takeBonus() {
    if (scene_ != nullptr) scene_->RemoveSprite(sprites_[kBonusSpot]);
}

void Scenery::hide() {
    if (scene_ == nullptr) return;
    for (const gfx::Sprite& sprite : sprites_) scene_->RemoveSprite(sprite);
}

void Scenery::show() {
    if (scene_ == nullptr) return;
    for (int i = 0; i < kPieces; ++i) {
        scene_->RemoveSprite(sprites_[i]);  // never twice in the list
        if (i != kBonusSpot || !bonusTaken) scene_->AddSprite(sprites_[i], kPlacement[i].layer);
    }
}

int Scenery::release() {
    hide();
    scene_ = nullptr;
    for (int i = 0; i < kPieces; ++i) {
        gfx::FreeSpriteBackground(sprites_[i]);
        gfx::FreeHeldPicture(pictures_[i]);
    }
    return 0;
}
