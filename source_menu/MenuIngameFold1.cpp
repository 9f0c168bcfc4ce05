#include "source_menu/MenuIngameFold1.h"

#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/Happiness.h"
#include "source_menu/HudFold.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Progress.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <string>

namespace {

const wchar_t* const kKindWords[MenuIngameFold1::kKinds] = {L"dog", L"cat", L"dino", L"rabbit", L"horse"};

} // namespace

MenuIngameFold1::~MenuIngameFold1()
{
    delete mFoodButton;
    delete mPetBuySellButton;
    delete mPetsListButton;
    for (int k = 0; k < kKinds; ++k) {
        delete mCareGauges[k];
        delete mMoodIndicators[k];
    }
}

void MenuIngameFold1::init(const char* path)
{
    _MenuIngameFold1::init(path);
    mFoodButton = new Button(mHelper5, 2, 6);
    mFoodButton->setText(textsManager.get(L"buyfoodtitle"));
    mPetBuySellButton = new Button(mHelper6, 0, 6);
    mPetBuySellButton->setText(textsManager.get(L"petbuyselltitle"));
    mPetsListButton = new Button(mHelper7, 1, 6);
    mPetsListButton->setText(textsManager.get(L"petslisttitle"));
    WidgetHelper* careAnchors[kKinds] = {mHelper9, mHelper8, mHelper11, mHelper10, mHelper12};
    WidgetHelper* moodAnchors[kKinds] = {mHelper1, mHelper0, mHelper3, mHelper2, mHelper4};
    for (int k = 0; k < kKinds; ++k) {
        mCareGauges[k] = new Progress(careAnchors[k]);
        mMoodIndicators[k] = new Happiness(moodAnchors[k]);
    }
}

void MenuIngameFold1::update()
{
    if (!hudfold::acceptsInput(*this))
        return;
    _MenuIngameFold1::update();
    if (!hudfold::settleShowState(*this))
        return;
    const std::pair<float, float> offset = hudfold::offsetOf(mWidget0);
    MenuManager* router = Singleton<MenuManager>::get();
    if (mFoodButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"buyfood");
    if (mPetsListButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"petslist");
    if (mPetBuySellButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"petbuysell");
}

void MenuIngameFold1::onWidget7(int previous, int current)
{
    if (current != kLayerReleased)
        return;
    Singleton<Sounds>::get()->play("click");
    Singleton<MenuManager>::get()->runCommand(L"petsshow");
}

MenuIngameFold1::KindSummary MenuIngameFold1::summarize(const std::wstring& kind)
{
    KindSummary summary;
    int levels = 0;
    int happiness = 0;
    for (const DataAnimal* animal : Singleton<DataStorage>::get()->mParkAnimals) {
        if (animal->mType != kind)
            continue;
        ++summary.count;
        levels += animal->mHunger + animal->mHealth;
        happiness += animal->mHappiness;
    }
    if (summary.count > 0) {
        summary.care = levels / summary.count / 2;
        summary.mood = happiness / summary.count;
    }
    return summary;
}

void MenuIngameFold1::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    const float left = MenuIngame::leftEdge();
    MyImage* panel = mWidget0->getImages()[0];
    panel->setPosition(left, panel->getRect().y);
    // Every picture of the button, the pressed one too: a press shows it and hit-tests on it.
    for (size_t i = 0; i < mWidget7->getImages().size(); ++i)
        hudfold::pinImage(mWidget7, i, left);
    if (mWidget7->getLabel())
        hudfold::pinImage(mWidget7->getLabel(), 0, left);
    for (WidgetBase* w : {static_cast<WidgetBase*>(mWidget6), static_cast<WidgetBase*>(mWidget8),
                          static_cast<WidgetBase*>(mWidget5), static_cast<WidgetBase*>(mWidget2),
                          static_cast<WidgetBase*>(mWidget3), static_cast<WidgetBase*>(mWidget4),
                          static_cast<WidgetBase*>(mWidget1)})
        hudfold::pinImage(w, 0, left);

    const std::wstring food = std::wstring(textsManager.get(L"foodstored")) + L" : " +
                              std::to_wstring(Singleton<DataStorage>::get()->mGlobalSettings->mFoodStored);
    mWidget8->setText(food, 0, 1);

    _MenuIngameFold1::draw();

    const float alpha = mWidget0->getColor().w;
    const std::pair<float, float> offset = hudfold::offsetOf(mWidget0);
    KindSummary summaries[kKinds];
    for (int k = 0; k < kKinds; ++k) {
        summaries[k] = summarize(kKindWords[k]);
        if (summaries[k].count == 0)
            continue;
        mCareGauges[k]->setLevel(summaries[k].care);
        mCareGauges[k]->draw(alpha, offset.first, offset.second);
    }
    for (int k = 0; k < kKinds; ++k) {
        if (summaries[k].count == 0)
            continue;
        mMoodIndicators[k]->setLevel(summaries[k].mood);
        mMoodIndicators[k]->draw(alpha, offset.first, offset.second);
    }

    mFoodButton->draw(alpha, offset.first, offset.second, 1);
    mPetBuySellButton->draw(alpha, offset.first, offset.second, 1);
    mPetsListButton->draw(alpha, offset.first, offset.second, 1);
}
