#include "screens/options_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint16_t kBackground = 370;
constexpr uint16_t kMenuMusic = 535;
constexpr uint16_t kEffectTest = 538;
constexpr uint16_t kClick = 540;
constexpr uint8_t kSliderLayer = 10;  // thumbs one above
constexpr uint8_t kControlLayer = 200;
constexpr int8_t kVolumeStep = 6;

Settings& Prefs() { return *theApp.GetSettings(); }
snd::SoundManager& Sound() { return *theApp.Sound(); }

void InitVolumeSlider(Slider& slider, int32_t x, uint16_t track, int32_t volume) {
    slider.InitSlider(0, x, 21, 18, 184, 18, 35, track, track, 377, 378, 0, kVolumeTop, static_cast<int16_t>(volume),
                      kVolumeStep);
}

// The box shows state 0 while its switch is on.
int32_t BoxState(bool on) { return on ? 0 : 1; }

void PlayMenuMusic() {
    Sound().StopAllSounds();
    Sound().PlaySound(kMenuMusic, true, true);
}

}  // namespace

void OptionsView::Enter() {
    gfx::Scene& scene = *GetScene();
    touched_ = false;
    musicMoved_ = false;
    scene.SetScroll(0, 0);
    DrawBackdrop(kBackground, false, false);

    menuAnimation_.InitToggle(kMenuAnimationBox, 144, 31, 26, 24, 375, 376, BoxState(Prefs().MenuAnimation));
    specialEffects_.InitToggle(kSpecialEffectsBox, 144, 154, 26, 24, 375, 376, BoxState(Prefs().SpecialEffects));
    for (ToggleBox* box : {&menuAnimation_, &specialEffects_}) {
        AddControl(box);
        ShowControl(*box, kControlLayer);
    }
    InitVolumeSlider(music_, 71, 380, Prefs().MusicVol);
    InitVolumeSlider(effect_, 110, 379, Prefs().SoundVol);
    music_.ShowSlider(scene, kSliderLayer);
    effect_.ShowSlider(scene, kSliderLayer);
    ok_.InitButton(kOk, 200, 140, 26, 42, 371, 372);
    cancel_.InitButton(kCancel, 200, 14, 26, 112, 373, 374);
    for (Button* button : {&ok_, &cancel_}) {
        AddControl(button);
        ShowControl(*button, kControlLayer);
    }

    snapshot_ = Prefs();
    scene.RedrawDirty();
}

void OptionsView::Leave() {
    ClearControls();
    music_.HideSlider(*GetScene());
    effect_.HideSlider(*GetScene());
    Control* const owned[] = {&music_, &effect_, &menuAnimation_, &specialEffects_, &ok_, &cancel_};
    for (Control* control : owned) control->ReleaseFrames();
}

int OptionsView::Press(uint16_t id) {
    Sound().PlaySound(kClick, false, false);
    Settings& prefs = Prefs();
    if (id == kOk) {
        prefs.Save();
    } else {
        static_cast<SettingsFields&>(prefs) = snapshot_;
        Sound().SetMusicVolume(prefs.MusicVol);
        Sound().SetEffectVolume(prefs.SoundVol);
        // The loop still plays at the slider's volume; a sound keeps the
        // volume it started with.
        if (musicMoved_) PlayMenuMusic();
    }
    theApp.Views()->Back();
    return kConsumed;
}

void OptionsView::SliderMoved(Slider& other, InputEvent& event) {
    touched_ = true;
    gfx::Scene& scene = *GetScene();
    scene.MarkSpriteDirty(other.sprite);
    scene.MarkSpriteDirty(other.thumb.sprite);
    scene.RedrawDirty();
    event.type = kEventIdle;
}

int OptionsView::HandleEvent(InputEvent& event) {
    if (event.type == kEventCharacter && event.payload[0] == kCharEscape) return Press(kCancel);
    if (RouteToControls(event) != 0) {
        touched_ = true;
        // Only OK and Cancel click.
        if (event.type == kEventControlClicked) return Press(static_cast<uint16_t>(event.payload[kSlotControlId]));
    }
    if (event.type == kEventControlToggled) {
        touched_ = true;
        if (event.payload[kSlotControlId] == kMenuAnimationBox) Prefs().MenuAnimation = !Prefs().MenuAnimation;
        if (event.payload[kSlotControlId] == kSpecialEffectsBox) Prefs().SpecialEffects = !Prefs().SpecialEffects;
    }

    if (music_.HandleEvent(event) != 0) {
        if (event.type == kEventSliderChanged) {
            const int16_t volume = ReadSliderChange(event).value;
            Sound().SetMusicVolume(volume);
            PlayMenuMusic();
            Prefs().MusicVol = volume;
            musicMoved_ = true;
        }
        SliderMoved(effect_, event);
        return kNotConsumed;
    }
    // The first tap no control above took only wakes the screen up, even on
    // the effect slider.
    if (event.type == kEventPenDown && !touched_) {
        event.type = kEventIdle;
        touched_ = true;
        return kNotConsumed;
    }
    if (effect_.HandleEvent(event) != 0) {
        if (event.type == kEventSliderChanged) {
            const int16_t volume = ReadSliderChange(event).value;
            Sound().SetEffectVolume(volume);
            Sound().PlaySound(kEffectTest, false, false);
            Prefs().SoundVol = volume;
        }
        SliderMoved(music_, event);
    }
    return kNotConsumed;
}
