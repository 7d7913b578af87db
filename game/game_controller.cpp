#include "game/game_controller.h"

#include "app/animation_list.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "screens/preview_view.h"

namespace {

constexpr uint32_t kTileWidth = 240;
constexpr uint32_t kTileHeight = 320;

}  // namespace

void GameController::CreateViews() {
    scene_ = new gfx::Scene(gfx::kGroundColumns, gfx::kGroundRows, kTileWidth, kTileHeight);
    gfx::g_scene = scene_;
    scene_->CreateTiles(&gfx::GroundTileId);

    // Stands in for the introduction until the real screens exist.
    preview_ = new PreviewView();
    preview_->SetScene(scene_);
    views_.Add(preview_, kViewIntroduction);

    // Linked before the first view starts, so that its Enter can add animated sprites.
    animations_.SetScene(scene_);
    views_.Start(kViewIntroduction);
    savedScrollX_ = 0;
    savedScrollY_ = 0;
}

// By now the shell has destroyed the view list and the animation list.
void GameController::DestroyViews() {
    delete preview_;
    preview_ = nullptr;
    if (scene_ != nullptr) scene_->DestroyTiles();
    delete scene_;
    scene_ = nullptr;
    gfx::g_scene = nullptr;
}

int GameController::ProcessEvent(InputEvent& /*event*/) { return kNotConsumed; }
