#include "graphics/scene.h"

#include <algorithm>
#include <new>

namespace gfx {

Scene* g_scene = nullptr;

uint16_t GroundTileId(int16_t /*column*/, int16_t row) { return static_cast<uint16_t>(148 - row); }

Scene::Scene(int16_t columns, int16_t rows, uint32_t tileWidth, uint32_t tileHeight)
    : columns_(std::clamp<int16_t>(columns, 0, kMaxGrid)),
      rows_(std::clamp<int16_t>(rows, 0, kMaxGrid)),
      tileWidth_(std::max(tileWidth, 1u)),
      tileHeight_(std::max(tileHeight, 1u)) {}

Scene::~Scene() { DestroyTiles(); }

void Scene::CreateTiles(uint16_t (*pictureId)(int16_t column, int16_t row)) {
    DestroyTiles();
    for (int16_t c = 0; c < columns_; ++c) {
        for (int16_t r = 0; r < rows_; ++r) {
            auto* holder = new (std::nothrow) PictureHolder;
            auto* sprite = new (std::nothrow) Sprite;
            if (holder == nullptr || sprite == nullptr) {
                delete holder;
                delete sprite;
                continue;  // that tile stays blank
            }
            LoadHeldPicture(*holder, pictureId(c, r), static_cast<uint16_t>(tileWidth_),
                            static_cast<uint16_t>(tileHeight_));
            CreateSprite(*sprite, holder, 0, 0, false, false, false, kKeyFromImage);
            tileHolders_[c][r] = holder;
            tileSprites_[c][r] = sprite;
        }
    }
}

void Scene::DestroyTiles() {
    for (int16_t c = 0; c < kMaxGrid; ++c) {
        for (int16_t r = 0; r < kMaxGrid; ++r) {
            delete tileHolders_[c][r];
            delete tileSprites_[c][r];
            tileHolders_[c][r] = nullptr;
            tileSprites_[c][r] = nullptr;
        }
    }
}

void Scene::SetScroll(int32_t x, int32_t y) {
    scrollX_ = x;
    scrollY_ = y;
    displayList_.SetView(x, y);
}

void Scene::ScrollBy(int32_t dx, int32_t dy) {
    scrollX_ += dx;
    scrollY_ += dy;
    displayList_.SetView(displayList_.ViewX() + dx, displayList_.ViewY() + dy);
}

void Scene::RedrawScene() {
    const int32_t firstColumn = scrollX_ / static_cast<int32_t>(tileWidth_);
    const int32_t firstRow = scrollY_ / static_cast<int32_t>(tileHeight_);
    for (int32_t c = firstColumn; c < firstColumn + 1; ++c) {
        for (int32_t r = firstRow; r < firstRow + 2; ++r) {
            // A scroll that shows past the grid leaves that part as it was.
            if (c < 0 || r < 0 || c >= columns_ || r >= rows_) continue;
            Sprite* tile = tileSprites_[c][r];
            if (tile == nullptr) continue;
            tile->x = static_cast<int16_t>(static_cast<int16_t>(tileWidth_ * c) - static_cast<int16_t>(scrollX_));
            tile->y = static_cast<int16_t>(static_cast<int16_t>(tileHeight_ * r) - static_cast<int16_t>(scrollY_));
            DrawSpriteAtScreen(*tile);
        }
    }
    RedrawAll();
}

}  // namespace gfx
