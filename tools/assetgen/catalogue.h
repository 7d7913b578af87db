// Every picture of the game, drawn and converted to its stored form.
#pragma once

#include <vector>

#include "tools/assetgen/picture.h"

namespace assetgen {

using PictureList = std::vector<Picture>;

// All pictures, sorted by id.
PictureList BuildPictures();

// The parts, each adding its pictures to the list.
void AddHuntScene(PictureList& out);     // background tiles, scenery, bonus spot
void AddCreatures(PictureList& out);     // ducks, red birds, decoy, sign ducks
void AddEffects(PictureList& out);       // shells, puffs, feathers, leaves, pop-ups, clock
void AddFonts(PictureList& out);         // the two strip fonts
void AddMenus(PictureList& out);         // backdrops, buttons, popups, introduction
void AddPages(PictureList& out);         // guide pages and credits captions

}  // namespace assetgen
