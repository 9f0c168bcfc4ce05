#include "source_menu/MenuOptions.h"

#include "core/ControlMngr.h"
#include "core/sound.h"
#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"

#include <algorithm>
#include <cstdio>

// Index: set-up - sliders - handlers - update and draw

namespace {

const int kStyle = 9;
// Offered when the display lists no mode at all.
const std::pair<int, int> kFallbackMode(1024, 768);

float4 firstRect(WidgetBase* widget)
{
    return widget->getImages().empty() ? float4() : widget->getImages()[0]->getRect();
}

GameOptions* options()
{
    return Singleton<DataStorage>::get()->mOptions;
}

} // namespace

// ---- set-up

MenuOptions::~MenuOptions()
{
    delete fullscreenButton;
    delete resolutionButton;
    delete okButton;
    delete cancelButton;
}

void MenuOptions::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MenuOptions::init(path);
    int current = -1;
    listDisplayModes(modes, current);
    if (modes.empty())
        modes.push_back(kFallbackMode);
    musicVolume = soundVolume = 0.5f;
    fullscreen = 0;
    resolutionIndex = 0;
    fullscreenButton = new Button(mHelper0, 13, kStyle);
    resolutionButton = new Button(mHelper1, 7, kStyle);
    okButton = new Button(mHelper2, 14, kStyle);
    okButton->setText(textsManager.get(L"ok"));
    cancelButton = new Button(mHelper3, 14, kStyle);
    cancelButton->setText(textsManager.get(L"cancel"));
    measureSliders();
}

void MenuOptions::measureSliders()
{
    soundMin = firstRect(mWidget4).x + firstRect(mWidget4).z;
    soundMax = firstRect(mWidget5).x - firstRect(mWidget3).z;
    musicMin = firstRect(mWidget8).x + firstRect(mWidget8).z;
    musicMax = firstRect(mWidget9).x - firstRect(mWidget7).z;
}

int MenuOptions::modeIndex(int width, int height)
{
    for (size_t i = 0; i < modes.size(); ++i)
        if (modes[i].first == width && modes[i].second == height)
            return static_cast<int>(i);
    if (width <= 0 || height <= 0)
        return 0;
    // A size the display does not list (set by hand, or another display): offered as it is, so
    // cancelling never changes the window.
    const std::pair<int, int> mode(width, height);
    const auto place = modes.insert(std::lower_bound(modes.begin(), modes.end(), mode), mode);
    return static_cast<int>(place - modes.begin());
}

void MenuOptions::reset()
{
    _MenuOptions::reset();
    GameOptions* o = options();
    // Shown before its layout or the options were read (by the tests of other screens) it has
    // nothing to show.
    if (!mWidget3 || !o)
        return;
    resolutionIndex = savedResolutionIndex = modeIndex(o->mWidth, o->mHeight);
    fullscreen = savedFullscreen = o->mFullscreen;
    soundVolume = savedSoundVolume = o->mSoundVolume;
    soundDragging = 0;
    placeKnob(soundSlider());
    musicVolume = savedMusicVolume = o->mMusicVolume;
    musicDragging = 0;
    placeKnob(musicSlider());
}

void MenuOptions::restoreSaved()
{
    GameOptions* o = options();
    o->mWidth = modes[savedResolutionIndex].first;
    o->mHeight = modes[savedResolutionIndex].second;
    o->mFullscreen = savedFullscreen;
    o->mSoundVolume = savedSoundVolume;
    o->mMusicVolume = savedMusicVolume;
    o->apply();
}

// ---- sliders

MenuOptions::Slider MenuOptions::soundSlider()
{
    return Slider{soundVolume, soundMin, soundMax, soundDragging, mWidget3, sound_set_volume};
}

MenuOptions::Slider MenuOptions::musicSlider()
{
    return Slider{musicVolume, musicMin, musicMax, musicDragging, mWidget7, music_set_volume};
}

void MenuOptions::placeKnob(const Slider& slider)
{
    slider.knob->setOffset(slider.volume * (slider.max - slider.min), 0.0f);
}

void MenuOptions::step(const Slider& slider, int current, float delta)
{
    if (current != kLayerReleased)
        return;
    float volume = slider.volume + delta;
    const char* sound = "click";
    if (volume < 0.0f) {
        volume = 0.0f;
        sound = "wrong_click";
    } else if (volume > 1.0f) {
        volume = 1.0f;
        sound = "wrong_click";
    }
    Singleton<Sounds>::get()->play(sound);
    slider.volume = volume;
    placeKnob(slider);
    slider.apply(volume);
}

void MenuOptions::drag(const Slider& slider, int current)
{
    ControlMngr* input = Singleton<ControlMngr>::get();
    if (current == kLayerClick && !slider.dragging) {
        slider.dragging = 1;
        Singleton<Sounds>::get()->play("click");
    }
    if (!input->isPointerDown())
        slider.dragging = 0;
    if (!slider.dragging)
        return;
    const float p = input->getPointer(-1).x - 0.5f * firstRect(slider.knob).z;
    slider.knob->setOffset(std::min(std::max(p, slider.min), slider.max) - slider.min, 0.0f);
    // A slider without length (a broken layout) stands at its end.
    const float length = slider.max - slider.min;
    const float volume = length > 0.0f ? (p - slider.min) / length : 1.0f;
    slider.volume = std::min(std::max(volume, 0.0f), 1.0f);
    slider.apply(slider.volume);
}

// ---- handlers

void MenuOptions::onWidget1(int previous, int current)
{
    if (current != kLayerReleased)
        return;
    restoreSaved();
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("exit");
}

void MenuOptions::onWidget3(int previous, int current)
{
    drag(soundSlider(), current);
}

void MenuOptions::onWidget4(int previous, int current)
{
    step(soundSlider(), current, -kVolumeStep);
}

void MenuOptions::onWidget5(int previous, int current)
{
    step(soundSlider(), current, kVolumeStep);
}

void MenuOptions::onWidget7(int previous, int current)
{
    drag(musicSlider(), current);
}

void MenuOptions::onWidget8(int previous, int current)
{
    step(musicSlider(), current, -kVolumeStep);
}

void MenuOptions::onWidget9(int previous, int current)
{
    step(musicSlider(), current, kVolumeStep);
}

// ---- update and draw

void MenuOptions::update()
{
    if (!isEnabled())
        return;
    _MenuOptions::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown)
        return;
    if (fullscreenButton->isClicked(0.0f, 0.0f, 1))
        fullscreen = 1 - fullscreen;
    if (resolutionButton->isClicked(0.0f, 0.0f, 1))
        resolutionIndex = resolutionIndex + 1 >= static_cast<int>(modes.size()) ? 0 : resolutionIndex + 1;
    if (okButton->isClicked(0.0f, 0.0f, 1)) {
        GameOptions* o = options();
        o->mWidth = modes[resolutionIndex].first;
        o->mHeight = modes[resolutionIndex].second;
        o->mFullscreen = fullscreen;
        o->mSoundVolume = soundVolume;
        o->mMusicVolume = musicVolume;
        // Options that cannot be written stay in force for the run; the player is told.
        Singleton<DataStorage>::get()->saveOptions(true);
        o->apply();
        Singleton<MenuManager>::get()->runCommand(L"returnfromoptions");
    }
    if (cancelButton->isClicked(0.0f, 0.0f, 1)) {
        restoreSaved();
        Singleton<MenuManager>::get()->runCommand(L"returnfromoptions");
    }
}

void MenuOptions::draw()
{
    if (!isVisible())
        return;
    _MenuOptions::draw();
    fullscreenButton->setText(textsManager.get(fullscreen == 1 ? L"On" : L"Off"));
    wchar_t size[64];
    std::swprintf(size, 64, L"%dx%d", modes[resolutionIndex].first, modes[resolutionIndex].second);
    resolutionButton->setText(size);
    const float alpha = mWidget0->getColor().w;
    fullscreenButton->draw(alpha, 0.0f, 0.0f, 1);
    resolutionButton->draw(alpha, 0.0f, 0.0f, 1);
    okButton->draw(alpha, 0.0f, 0.0f, 1);
    cancelButton->draw(alpha, 0.0f, 0.0f, 1);
}
