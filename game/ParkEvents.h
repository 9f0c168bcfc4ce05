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
    // Opens a message popup (buttons and variant as the popup takes them, title, text); result,
    // when given, receives the player's answer.
    virtual void showPopup(int buttons, int variant, const std::wstring& title, const std::wstring& text,
                           int* result) {}
    // Ends the game (the game-over answer was given).
    virtual void endGame() {}

    // ---- notices and screens
    // Queues a reached achievement's notice on the in-game screen.
    virtual void queueAchievementNotice(DataAchievement* achievement) {}
    // Refills the finance screens (statistics, bank, tickets, ranking, achievements, in that order).
    virtual void refillFinanceScreens() {}
    // Refills the pet screens (the offers and the pets list).
    virtual void refillPetScreens() {}
    // Rebuilds the offers screen's cards for a new set of offers.
    virtual void rebuildOfferCards() {}
    // Shows the ranking the rules made again (DataStorage::mRanking) on the ranking screen.
    virtual void showRanking() {}
    // The in-game screen's cash label, which the cash account draws into; null without screens.
    virtual WidgetLabel* cashLabel() { return nullptr; }
    // The in-game screen's current alpha, which the cash figure follows.
    virtual float hudAlpha() const { return 1.0f; }
    // Drops the queued achievement notices (a saved game is loading).
    virtual void dropNotices() {}
    // The park's achievements whose notices still wait to be opened, oldest first. A notice pays
    // its reward when opened, so a saved game keeps them (and gives them back through
    // queueAchievementNotice when it loads).
    virtual std::vector<DataAchievement*> waitingNotices() const { return std::vector<DataAchievement*>(); }

    // ---- the tutorial
    // The tutorial's progress, to be saved with the profile.
    virtual TutorialProgress tutorialProgress() const { return TutorialProgress(); }
    // Restores the progress read from a profile.
    virtual void restoreTutorial(const TutorialProgress& progress) {}

    // ---- the park view
    // Whether the game camera is gliding somewhere (achievements wait for it).
    virtual bool cameraBusy() const { return false; }
    // Sends the camera back to its place, leaving what it follows.
    virtual void resetCamera() {}
    // Starts the camera afresh (a saved game is loading).
    virtual void renewCamera() {}
    // Gives the view the requested scene of the animals' places.
    virtual void setAnimalPlaces(CRender::Object* scene) {}
    // Makes an animal's figure for the species' scene, standing at a place node (placeIndex in
    // the species' places) of the animal places, with the coat variant and a first animation.
    // Null when there is no park view.
    virtual AnimalAvatar* makeAnimalFigure(const std::wstring& species, const std::string& placeName, int placeIndex,
                                           int variant, const std::wstring& animation)
    {
        return nullptr;
    }
    // The place node a figure stands at and its place index (as saved with the animal).
    virtual std::string figurePlaceName(const AnimalAvatar* figure) const { return std::string(); }
    virtual int figurePlaceIndex(const AnimalAvatar* figure) const { return -1; }
    // The figure's current animation.
    virtual std::wstring figureAnimation(const AnimalAvatar* figure) const { return std::wstring(); }
    // Plays an animation of the figure once, then returns to the current one.
    virtual void playFigureOnce(AnimalAvatar* figure, const std::wstring& animation) {}
    // Queues the figure for drawing.
    virtual void drawFigure(AnimalAvatar* figure) {}
    // Makes a "[slide camera]" entry of a building; the building owns it and removes it with
    // removeSlideCamera. Null when there is no park view.
    virtual SlideCamera* makeSlideCamera(const std::wstring& nodeName, const std::wstring& cameraName, int frames,
                                         const std::wstring& layers, const std::wstring& hoverText)
    {
        return nullptr;
    }
    virtual void removeSlideCamera(SlideCamera* slide) {}
    // Lets the park's visitors live their day.
    virtual void runVisitorsDay() {}
    // The park's visitor count.
    virtual int visitorCount() const { return 0; }
    // Reads the visitors' settings again and sends the walkers away (a saved game is loading).
    virtual void reloadVisitors() {}
    virtual void clearWalkers() {}
    // The walkers' progress along their paths, as saved.
    virtual std::vector<float> walkerProgress() const { return std::vector<float>(); }
    // Brings a saved walker back on a random path; false when the park has no path for it.
    virtual bool restoreWalker(float progress) { return true; }
    // Places the cars (a saved game has loaded).
    virtual void placeCars() {}
    // Drops the effects before the game data loads; they are then added one by one.
    virtual void clearEffects() {}
    virtual void addEffect(const std::wstring& name, const std::string& path) {}
};

// ---- installing

// The installed implementation, or the silent default.
ParkEvents& parkEvents();
// Installs the implementation (not owned); null installs the silent default again.
void installParkEvents(ParkEvents* events);
