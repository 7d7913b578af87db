#include "game/hunt_text.h"

#include "platform/platform.h"

namespace {

constexpr uint16_t kFontPicture = 255;
constexpr uint8_t kFontHeight = 22;
constexpr int32_t kFontLength = 700;
constexpr uint16_t kFontBase = 48;

}  // namespace

bool HuntText::init(int32_t x, int32_t y, uint8_t maxLength, const char* text, gfx::Scene* scene) {
    if (scene == nullptr) return false;
    x_ = x;
    y_ = y;
    scene_ = scene;
    if (m_editField != nullptr) scene_->RemoveSprite(m_editField->sprite);
    field_.ReleaseTextField();
    m_editField = nullptr;
    m_font = nullptr;
    if (font_.load(kFontPicture, kFontHeight, kFontLength, kFontBase) != 0) return false;
    m_font = &font_;
    m_editField = &field_;
    m_editField->InitTextField(scene_->GetScrollX() + x, scene_->GetScrollY() + y, m_font, maxLength, true, false);
    scene_->AddSprite(m_editField->sprite, kLayer);
    m_editField->SetTextAndMark(text, *scene_);
    return true;
}

void HuntText::setText(const char* text) {
    if (m_editField != nullptr) m_editField->SetTextAndMark(text, *scene_);
}

void HuntText::reposition() {
    if (m_editField == nullptr) return;
    m_editField->sprite.x = scene_->GetScrollX() + x_;
    m_editField->sprite.y = scene_->GetScrollY() + y_;
    scene_->MarkSpriteDirty(m_editField->sprite);
}

void HuntText::hide() {
    if (m_editField != nullptr) scene_->RemoveSprite(m_editField->sprite);
}

void HuntText::show(const char* text) {
    if (m_editField == nullptr) return;
    scene_->RemoveSprite(m_editField->sprite);  // never twice in the list
    scene_->AddSprite(m_editField->sprite, kLayer);
    m_editField->SetTextAndMark(text, *scene_);
}

void HuntText::release() {
    if (m_editField != nullptr && scene_ != nullptr) scene_->RemoveSprite(m_editField->sprite);
    if (m_font == nullptr) plat::MessageBox("m_font = NULL", "", plat::kMbOk);
    font_.release();
    m_font = nullptr;
    if (m_editField == nullptr) plat::MessageBox("m_editField = NULL", "", plat::kMbOk);
    field_.ReleaseTextField();
    m_editField = nullptr;
}
