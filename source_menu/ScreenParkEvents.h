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

    void popupShown(int buttons, int variant, const std::wstring& title, const std::wstring& text,
                    int* result) override;
    void gameOver() override;

    void achievementNoticed(DataAchievement* achievement) override;
    void financeScreensReset() override;
    void petScreensReset() override;
    void offersRebuilt() override;
    void rankingRebuilt() override;
    WidgetLabel* cashLabel() override;
    float hudAlpha() const override;
    void noticesCleared() override;
    std::vector<DataAchievement*> noticesWaiting() const override;

    TutorialProgress tutorialProgress() const override;
    void tutorialRestored(const TutorialProgress& progress) override;

    bool cameraBusy() const override;
    void cameraReset() override;
    void cameraRenewed() override;
    void animalPlacesRequested(CRender::Object* scene) override;
    AnimalAvatar* animalFigureMade(const std::wstring& species, const std::string& placeName, int placeIndex,
                                   int variant, const std::wstring& animation) override;
    std::string figurePlaceName(const AnimalAvatar* figure) const override;
    int figurePlaceIndex(const AnimalAvatar* figure) const override;
    std::wstring figureAnimation(const AnimalAvatar* figure) const override;
    void figurePlaysOnce(AnimalAvatar* figure, const std::wstring& animation) override;
    void figureDrawn(AnimalAvatar* figure) override;
    SlideCamera* slideCameraMade(const std::wstring& nodeName, const std::wstring& cameraName, int frames,
                                 const std::wstring& layers, const std::wstring& hoverText) override;
    void slideCameraRemoved(SlideCamera* slide) override;
    void visitorsDay() override;
    int visitorCount() const override;
    void visitorsReloaded() override;
    void walkersCleared() override;
    std::vector<float> walkerProgress() const override;
    bool walkerRestored(float progress) override;
    void carsSetUp() override;
    void effectsCleared() override;
    void effectAdded(const std::wstring& name, const std::string& path) override;
};
