// The one scene: a grid of full-screen background tiles under the sprites,
// and the scroll position of the screen over it.
#pragma once

#include <cstdint>

#include "graphics/layer_manager.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"

namespace gfx {

class Scene : public LayerManager {
public:
    static constexpr int16_t kMaxGrid = 40;

    Scene(int16_t columns, int16_t rows, uint32_t tileWidth, uint32_t tileHeight);
    ~Scene() override;

    int32_t GetScrollX() const override { return scrollX_; }
    int32_t GetScrollY() const override { return scrollY_; }

    // One holder and one opaque sprite per tile, not in the sprite list.
    void CreateTiles(uint16_t (*pictureId)(int16_t column, int16_t row));
    void DestroyTiles();

    void SetScroll(int32_t x, int32_t y);
    void ScrollBy(int32_t dx, int32_t dy);
    // Repaints the whole screen: the visible tiles, then every sprite.
    void RedrawScene();

private:
    int16_t columns_;
    int16_t rows_;
    uint32_t tileWidth_;
    uint32_t tileHeight_;
    Sprite* tileSprites_[kMaxGrid][kMaxGrid] = {};
    PictureHolder* tileHolders_[kMaxGrid][kMaxGrid] = {};
    int32_t scrollX_ = 0;
    int32_t scrollY_ = 0;
};

// The hunting ground's strip, top to bottom: pictures 148, 147, 146.
uint16_t GroundTileId(int16_t column, int16_t row);
constexpr int16_t kGroundColumns = 1;
constexpr int16_t kGroundRows = 3;

// The program's scene, set by whoever creates it.
extern Scene* g_scene;

}  // namespace gfx
