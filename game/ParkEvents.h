#pragma once

// ParkEvents: everything the park rules tell the layers above them, the screens and the 3D park
// view, and the little they ask back. The rules sit below the screens and include none of them:
// a rule that pops up a message, resets a finance screen or makes an animal's figure calls this
// interface, and the one implementation that knows the screens and the view is installed by the
// program's entry before the game data loads. Until then a silent default answers (nothing is
// shown, no figure is made), so the rules also run on their own. Every call is synchronous and
// made at the point where the rule needs it, so the order of a game day stays as it is.
// Main thread only.
//
// Index: messages and the end - notices and screens - the tutorial - the park view - installing

#include "render/CRender.h"

#include <climits>
#include <string>
#include <vector>

class AnimalAvatar;
class DataAchievement;
class SlideCamera;
class WidgetLabel;

// The tutorial's progress as a profile stores it.
struct TutorialProgress {
    int step = 0;
    int pointerTarget = -1;
    int buildingBought = 0;
    int petAccepted = 0;
    int foodBought = 0;
};

class ParkEvents {
public:
    virtual ~ParkEvents() = default;

    // ---- messages and the end
    // A message popup (buttons and variant as the popup takes them, title, text) is opened;
    // result, when given, receives the player's answer.
    virtual void popupShown(int buttons, int variant, const std::wstring& title, const std::wstring& text,
                            int* result) {}
    // The game-over answer was given: the game ends.
    virtual void gameOver() {}

    // ---- notices and screens
    // An achievement was reached: its notice is queued on the in-game screen.
    virtual void achievementNoticed(DataAchievement* achievement) {}
    // The finance screens refill (statistics, bank, tickets, ranking, achievements, in that order).
    virtual void financeScreensReset() {}
    // The pet screens refill (the offers and the pets list).
    virtual void petScreensReset() {}
    // A new set of animals is offered: the offers screen rebuilds its cards.
    virtual void offersRebuilt() {}
    // The ranking of the parks was made again: the ranking screen shows it.
    virtual void rankingRebuilt() {}
    // The in-game screen's cash label, which the cash account draws into; null without screens.
    virtual WidgetLabel* cashLabel() { return nullptr; }
    // The in-game screen's current alpha, which the cash figure follows.
    virtual float hudAlpha() const { return 1.0f; }
    // A saved game is loading: the queued achievement notices are dropped.
    virtual void noticesCleared() {}
    // The park's achievements whose notices still wait to be opened, oldest first. A notice pays
    // its reward when opened, so a saved game keeps them (and gives them back through
    // achievementNoticed when it loads).
    virtual std::vector<DataAchievement*> noticesWaiting() const { return std::vector<DataAchievement*>(); }

    // ---- the tutorial
    // The tutorial's progress, to be saved with the profile.
    virtual TutorialProgress tutorialProgress() const { return TutorialProgress(); }
    // The progress read from a profile.
    virtual void tutorialRestored(const TutorialProgress& progress) {}

    // ---- the park view
    // Whether the game camera is gliding somewhere (achievements wait for it).
    virtual bool cameraBusy() const { return false; }
    // The camera leaves what it follows and returns to its place.
    virtual void cameraReset() {}
    // A saved game is loading: the camera starts afresh.
    virtual void cameraRenewed() {}
    // The scene of the animals' places was requested.
    virtual void animalPlacesRequested(CRender::Object* scene) {}
    // An animal's figure is made for the species' scene, standing at a place node (placeIndex in
    // the species' places) of the animal places, with the coat variant and a first animation.
    // Null when there is no park view.
    virtual AnimalAvatar* animalFigureMade(const std::wstring& species, const std::string& placeName, int placeIndex,
                                           int variant, const std::wstring& animation)
    {
        return nullptr;
    }
    // The place node a figure stands at and its place index (as saved with the animal).
    virtual std::string figurePlaceName(const AnimalAvatar* figure) const { return std::string(); }
    virtual int figurePlaceIndex(const AnimalAvatar* figure) const { return -1; }
    // The figure's current animation.
    virtual std::wstring figureAnimation(const AnimalAvatar* figure) const { return std::wstring(); }
    // The figure plays an animation once, then returns to the current one.
    virtual void figurePlaysOnce(AnimalAvatar* figure, const std::wstring& animation) {}
    // The figure is queued for drawing.
    virtual void figureDrawn(AnimalAvatar* figure) {}
    // A "[slide camera]" entry of a building is made; the building owns it and removes it with
    // slideCameraRemoved. Null when there is no park view.
    virtual SlideCamera* slideCameraMade(const std::wstring& nodeName, const std::wstring& cameraName, int frames,
                                         const std::wstring& layers, const std::wstring& hoverText)
    {
        return nullptr;
    }
    virtual void slideCameraRemoved(SlideCamera* slide) {}
    // The park's visitors live their day.
    virtual void visitorsDay() {}
    // The park's visitor count.
    virtual int visitorCount() const { return 0; }
    // A saved game is loading: the visitors' settings are read again and the walkers leave.
    virtual void visitorsReloaded() {}
    virtual void walkersCleared() {}
    // The walkers' progress along their paths, as saved.
    virtual std::vector<float> walkerProgress() const { return std::vector<float>(); }
    // A saved walker comes back on a random path; false when the park has no path for it.
    virtual bool walkerRestored(float progress) { return true; }
    // A saved game has loaded: the cars are placed.
    virtual void carsSetUp() {}
    // The effects are dropped before the game data loads, then added one by one.
    virtual void effectsCleared() {}
    virtual void effectAdded(const std::wstring& name, const std::string& path) {}
};

// ---- installing

// The installed implementation, or the silent default.
ParkEvents& parkEvents();
// Installs the implementation (not owned); null installs the silent default again.
void installParkEvents(ParkEvents* events);
