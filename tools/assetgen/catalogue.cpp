#include "tools/assetgen/catalogue.h"

#include <algorithm>

namespace assetgen {

PictureList BuildPictures() {
    PictureList out;
    out.reserve(320);
    AddHuntScene(out);
    AddCreatures(out);
    AddEffects(out);
    AddFonts(out);
    AddMenus(out);
    AddPages(out);
    std::sort(out.begin(), out.end(), [](const Picture& a, const Picture& b) { return a.id < b.id; });
    return out;
}

}  // namespace assetgen
