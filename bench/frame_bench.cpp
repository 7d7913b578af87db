// One incremental frame: 20 moving keyed sprites over the scene's tiles.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "graphics/blit.h"
#include "graphics/scene.h"
#include "platform/testing.h"

namespace {

void BM_RedrawDirtyTwentySprites(benchmark::State& state) {
    plat::testing::Reset();
    gfx::Scene scene(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
    scene.CreateTiles(gfx::GroundTileId);
    scene.SetScroll(0, 200);
    std::vector<std::unique_ptr<gfx::PictureHolder>> holders;
    std::vector<std::unique_ptr<gfx::Sprite>> sprites;
    for (int i = 0; i < 20; ++i) {
        auto holder = std::make_unique<gfx::PictureHolder>();
        holder->picture = new gfx::Picture;
        gfx::CreateBlankPicture(*holder->picture, 32, 24);
        gfx::FillSurface(*holder->picture->surface, 0xF81F);  // key at the top-left
        for (int32_t y = 4; y < 20; ++y) {
            for (int32_t x = 4; x < 28; ++x) holder->picture->surface->Row(y)[x] = static_cast<gfx::Colour>(0x0841 * i);
        }
        auto sprite = std::make_unique<gfx::Sprite>();
        gfx::CreateSprite(*sprite, holder.get(), 10 + (i % 5) * 44, 210 + (i / 5) * 70, true, true, false,
                          gfx::kKeyFromImage);
        scene.AddSprite(*sprite, static_cast<uint8_t>(3 + i % 4));
        holders.push_back(std::move(holder));
        sprites.push_back(std::move(sprite));
    }
    scene.RedrawScene();
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (size_t i = 0; i < sprites.size(); ++i) {
            gfx::Sprite& s = *sprites[i];
            s.x += (step / 40) % 2 == 0 ? 2 : -2;
            s.y += (i % 2 == 0) ? 1 : -1;
            if (step % 40 == 0) s.y -= (i % 2 == 0) ? 40 : -40;
            scene.MarkSpriteDirty(s);
        }
        scene.RedrawDirty();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RedrawDirtyTwentySprites);

}  // namespace
