#include "source_menu/ScreenParkEvents.h"

#include "game/DataStorage.h"

#include "park/AnimalAvatar.h"
#include "park/FX.h"
#include "park/FXManager.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "park/SlideCamera.h"
#include "source_menu/MenuAchievements.h"
#include "source_menu/MenuBank.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuManager.h"
#include "source_menu/MenuPetBuySell1.h"
#include "source_menu/MenuPetsList1.h"
#include "source_menu/MenuRanking.h"
#include "source_menu/MenuStatistics.h"
#include "source_menu/MenuTickets.h"
#include "source_menu/Popup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/misc.h"

#include <algorithm>
#include <cstdlib>

// Index: messages and the end - notices and screens - the tutorial - the park view

// ---- messages and the end

void ScreenParkEvents::showPopup(int buttons, int variant, const std::wstring& title, const std::wstring& text,
                                 int* result)
{
    Popup* popup = Singleton<Popup>::get();
    popup->setMode(buttons, variant);
    popup->setTitle(title);
    popup->setText(text);
    popup->setResult(result);
    Singleton<MenuManager>::get()->runCommand(L"popupstart");
}

void ScreenParkEvents::endGame()
{
    Singleton<MenuManager>::get()->runCommand(L"gameover");
}

// ---- notices and screens

void ScreenParkEvents::queueAchievementNotice(DataAchievement* achievement)
{
    Singleton<MenuIngame>::get()->mNotices.push_back(new Achievement(achievement));
}

void ScreenParkEvents::refillFinanceScreens()
{
    Singleton<MenuStatistics>::get()->reset();
    Singleton<MenuBank>::get()->reset();
    Singleton<MenuTickets>::get()->reset();
    Singleton<MenuRanking>::get()->reset();
    Singleton<MenuAchievements>::get()->reset();
}

void ScreenParkEvents::refillPetScreens()
{
    Singleton<MenuPetBuySell1>::get()->reset();
    Singleton<MenuPetsList1>::get()->reset();
}

void ScreenParkEvents::rebuildOfferCards()
{
    Singleton<MenuPetBuySell1>::get()->rebuildOffers();
}

void ScreenParkEvents::showRanking()
{
    Singleton<MenuRanking>::get()->showRanking();
}

WidgetLabel* ScreenParkEvents::cashLabel()
{
    return Singleton<MenuIngame>::get()->mWidget10;
}

float ScreenParkEvents::hudAlpha() const
{
    return Singleton<MenuIngame>::get()->getAlpha();
}

void ScreenParkEvents::dropNotices()
{
    std::vector<Achievement*>& notices = Singleton<MenuIngame>::get()->mNotices;
    for (Achievement* notice : notices)
        delete notice;
    notices.clear();
}

std::vector<DataAchievement*> ScreenParkEvents::waitingNotices() const
{
    // An opened notice leaves the queue at once: every entry still waits. Notices of a park no
    // longer loaded (the game data read again, as for a new profile) are not this park's.
    const std::vector<DataAchievement*>& current = Singleton<DataStorage>::get()->mAchievements;
    std::vector<DataAchievement*> waiting;
    for (const Achievement* notice : Singleton<MenuIngame>::get()->mNotices)
        if (std::find(current.begin(), current.end(), notice->item) != current.end())
            waiting.push_back(notice->item);
    return waiting;
}

// ---- the tutorial

TutorialProgress ScreenParkEvents::tutorialProgress() const
{
    const Tutorial* tutorial = Singleton<Tutorial>::get();
    TutorialProgress progress;
    progress.step = tutorial->step;
    progress.pointerTarget = tutorial->pointerTarget;
    progress.buildingBought = tutorial->buildingBought;
    progress.petAccepted = tutorial->petAccepted;
    progress.foodBought = tutorial->foodBought;
    return progress;
}

void ScreenParkEvents::restoreTutorial(const TutorialProgress& progress)
{
    Tutorial* tutorial = Singleton<Tutorial>::get();
    tutorial->step = progress.step;
    tutorial->pointerTarget = progress.pointerTarget;
    tutorial->buildingBought = progress.buildingBought;
    tutorial->petAccepted = progress.petAccepted;
    tutorial->foodBought = progress.foodBought;
}

// ---- the park view

// The camera exists once the park view has loaded; before that there is none to move.
bool ScreenParkEvents::cameraBusy() const
{
    const GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    return camera && camera->isBusy() != 0;
}

void ScreenParkEvents::resetCamera()
{
    if (GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera)
        camera->reset();
}

void ScreenParkEvents::renewCamera()
{
    if (GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera)
        *camera = GameCamera();
}

void ScreenParkEvents::setAnimalPlaces(CRender::Object* scene)
{
    Singleton<GameBackground3D>::get()->mAnimalPlaces = scene;
}

AnimalAvatar* ScreenParkEvents::makeAnimalFigure(const std::wstring& species, const std::string& placeName,
                                                 int placeIndex, int variant, const std::wstring& animation)
{
    AnimalAvatar* figure = new AnimalAvatar("data/3dn/" + wideToString(species) + ".3dn", placeName, placeIndex,
                                            Singleton<GameBackground3D>::get()->mAnimalPlaces, species, variant);
    figure->setAnimation(animation);
    return figure;
}

std::string ScreenParkEvents::figurePlaceName(const AnimalAvatar* figure) const
{
    return figure->mPlaceNodeName;
}

int ScreenParkEvents::figurePlaceIndex(const AnimalAvatar* figure) const
{
    return figure->mCreatorWord;
}

std::wstring ScreenParkEvents::figureAnimation(const AnimalAvatar* figure) const
{
    return figure->mAnimation;
}

void ScreenParkEvents::playFigureOnce(AnimalAvatar* figure, const std::wstring& animation)
{
    figure->playThen(animation);
}

void ScreenParkEvents::drawFigure(AnimalAvatar* figure)
{
    figure->draw();
}

SlideCamera* ScreenParkEvents::makeSlideCamera(const std::wstring& nodeName, const std::wstring& cameraName,
                                               int frames, const std::wstring& layers, const std::wstring& hoverText)
{
    return new SlideCamera(nodeName, cameraName, frames, layers, hoverText);
}

void ScreenParkEvents::removeSlideCamera(SlideCamera* slide)
{
    delete slide;
}

void ScreenParkEvents::runVisitorsDay()
{
    Singleton<PublicManager>::get()->newDay();
}

int ScreenParkEvents::visitorCount() const
{
    return Singleton<PublicManager>::get()->mVisitors;
}

void ScreenParkEvents::reloadVisitors()
{
    LoadPublicConfig(*Singleton<PublicManager>::get());
}

void ScreenParkEvents::clearWalkers()
{
    PublicManager* visitors = Singleton<PublicManager>::get();
    for (OnePerson* person : visitors->mWalkers)
        delete person;
    visitors->mWalkers.clear();
}

std::vector<float> ScreenParkEvents::walkerProgress() const
{
    std::vector<float> progress;
    for (const OnePerson* person : Singleton<PublicManager>::get()->mWalkers)
        progress.push_back(person->mProgress);
    return progress;
}

bool ScreenParkEvents::restoreWalker(float progress)
{
    PublicManager* visitors = Singleton<PublicManager>::get();
    if (visitors->mWalkingHelpers.empty())
        return false;
    // The saved game keeps no path: one path is drawn, with its own length.
    const auto& path = visitors->mWalkingHelpers[std::rand() % visitors->mWalkingHelpers.size()];
    const std::string& node = path.first;
    const int length = path.second;
    OnePerson* person = new OnePerson();
    visitors->spawnVisitorC1(person, 0, stringToWide(node), static_cast<float>(length));
    person->mProgress = progress;
    visitors->mWalkers.push_back(person);
    return true;
}

void ScreenParkEvents::placeCars()
{
    Singleton<PublicManager>::get()->setupCars();
}

void ScreenParkEvents::clearEffects()
{
    Singleton<FXManager>::get()->clear();
}

void ScreenParkEvents::addEffect(const std::wstring& name, const std::string& path)
{
    Singleton<FXManager>::get()->add(name, new FX(path));
}
