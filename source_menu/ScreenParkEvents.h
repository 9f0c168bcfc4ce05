#pragma once

// The park rules' events (game/ParkEvents.h) carried out on the screens and the 3D park view:
// popups through the menu manager, notices and the cash label on the in-game screen, the daily
// refills of the management screens, the tutorial's progress, and the camera, the animals'
// figures, the visitors and the effects of the park view. The program's entry installs it
// before the game data loads.

#include "core/Singleton.h"
#include "game/ParkEvents.h"

class ScreenParkEvents : public ParkEvents, public Singleton<ScreenParkEvents> {
public:
    ScreenParkEvents() = default;

    void showPopup(int buttons, int variant, const std::wstring& title, const std::wstring& text,
                   int* result) override;
    void endGame() override;

    void queueAchievementNotice(DataAchievement* achievement) override;
    void refillFinanceScreens() override;
    void refillPetScreens() override;
    void rebuildOfferCards() override;
    void showRanking() override;
    WidgetLabel* cashLabel() override;
    float hudAlpha() const override;
    void dropNotices() override;
    std::vector<DataAchievement*> waitingNotices() const override;

    TutorialProgress tutorialProgress() const override;
    void restoreTutorial(const TutorialProgress& progress) override;

    bool cameraBusy() const override;
    void resetCamera() override;
    void renewCamera() override;
    void setAnimalPlaces(CRender::Object* scene) override;
    AnimalAvatar* makeAnimalFigure(const std::wstring& species, const std::string& placeName, int placeIndex,
                                   int variant, const std::wstring& animation) override;
    std::string figurePlaceName(const AnimalAvatar* figure) const override;
    int figurePlaceIndex(const AnimalAvatar* figure) const override;
    std::wstring figureAnimation(const AnimalAvatar* figure) const override;
    void playFigureOnce(AnimalAvatar* figure, const std::wstring& animation) override;
    void drawFigure(AnimalAvatar* figure) override;
    SlideCamera* makeSlideCamera(const std::wstring& nodeName, const std::wstring& cameraName, int frames,
                                 const std::wstring& layers, const std::wstring& hoverText) override;
    void removeSlideCamera(SlideCamera* slide) override;
    void runVisitorsDay() override;
    int visitorCount() const override;
    void reloadVisitors() override;
    void clearWalkers() override;
    std::vector<float> walkerProgress() const override;
    bool restoreWalker(float progress) override;
    void placeCars() override;
    void clearEffects() override;
    void addEffect(const std::wstring& name, const std::string& path) override;
};
