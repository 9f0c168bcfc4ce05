#include "source_menu/MenuPetsList1.h"

#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "source_menu/Button.h"
#include "source_menu/Happiness.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Progress.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

namespace {

const wchar_t* titleKey(const std::wstring& kind)
{
    const std::wstring lower = toLowerWide(kind);
    if (lower == L"dog")
        return L"Dogs";
    if (lower == L"cat")
        return L"Cats";
    if (lower == L"dino")
        return L"Dinos";
    if (lower == L"rabbit")
        return L"Rabbits";
    if (lower == L"horse")
        return L"Horses";
    return nullptr;
}

} // namespace

MenuPetsList1::MenuPetsList1() = default;
MenuPetsList1::~MenuPetsList1() = default;

void MenuPetsList1::reset()
{
    _MenuPetsList1::reset();
    const std::wstring kind = MenuBlueFolds::kindKey(Singleton<MenuBlueFolds>::get()->getTab());
    if (!kind.empty())
        mKind = kind;
    mAnimals = Singleton<DataStorage>::get()->parkAnimalsOfKind(toLowerWide(mKind));
    buildCards();
}

void MenuPetsList1::buildCards()
{
    mFeedButtons.clear();
    mTreatButtons.clear();
    mHungerGauges.clear();
    mHealthGauges.clear();
    mIndicators.clear();
    const size_t cards = std::min({mAnimals.size(), mHelpers0.size(), mHelpers1.size(), mHelpers2.size(),
                                   mHelpers4.size(), mHelpers5.size()});
    mAnimals.resize(cards);
    for (size_t k = 0; k < cards; ++k) {
        mHungerGauges.push_back(std::make_unique<Progress>(mHelpers4[k]));
        mHealthGauges.push_back(std::make_unique<Progress>(mHelpers5[k]));
        mFeedButtons.push_back(std::make_unique<Button>(mHelpers0[k], 2, 6));
        mTreatButtons.push_back(std::make_unique<Button>(mHelpers1[k], 2, 6));
        mIndicators.push_back(std::make_unique<Happiness>(mHelpers2[k]));
    }
}

void MenuPetsList1::dropDeparted()
{
    const std::vector<DataAnimal*>& park = Singleton<DataStorage>::get()->mParkAnimals;
    const auto departed = std::remove_if(mAnimals.begin(), mAnimals.end(), [&park](DataAnimal* animal) {
        return std::find(park.begin(), park.end(), animal) == park.end();
    });
    if (departed == mAnimals.end())
        return;
    mAnimals.erase(departed, mAnimals.end());
    buildCards();
}

void MenuPetsList1::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    _MenuPetsList1::update();
    const auto [previous, current] = getShowStates();
    if (current == kShowAppearing && previous == kShowHidden)
        Container::setVisible(1);
    if (current != kShowShown)
        return;

    dropDeparted();
    for (size_t k = 0; k < mAnimals.size(); ++k) {
        DataAnimal* animal = mAnimals[k];
        mHungerGauges[k]->update();
        mHealthGauges[k]->update();
        const bool feed = mFeedButtons[k]->isClicked(0, 0, 1) && animal->mFed == 0;
        const bool treat = mTreatButtons[k]->isClicked(0, 0, 1) && animal->mAtDoctor == 0;
        if (feed || treat) {
            GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
            if (camera)
                camera->focusOn(animal);
            Singleton<MenuManager>::get()->closeAllPanels();
            return;
        }
    }
    for (size_t k = 0; k < mAnimals.size() && k < mLabels1.size(); ++k) {
        mIndicators[k]->setLevel(mAnimals[k]->mHappiness);
        mIndicators[k]->update();
    }
}

void MenuPetsList1::draw()
{
    if (!isVisible() || !mWidget3)
        return;
    dropDeparted();
    const float titleAlpha = mWidget3->getColor().w;
    const std::wstring days = textsManager.get(L"day(s)");
    for (size_t k = 0; k < static_cast<size_t>(kCards) && k < mLabels1.size() && k < mLabels0.size(); ++k) {
        if (k >= mAnimals.size()) {
            mLabels1[k]->setVisible(0);
            mLabels0[k]->setVisible(0);
            continue;
        }
        const DataAnimal* animal = mAnimals[k];
        mLabels1[k]->setText(animal->mName, 0, 1);
        mLabels0[k]->setVisible(1);
        mLabels0[k]->setText(std::to_wstring(animal->mStayDays) + L" " + days, 0, 1);
        mHungerGauges[k]->setLevel(animal->mHunger);
        mHealthGauges[k]->setLevel(animal->mHealth);

        Button& feed = *mFeedButtons[k];
        if (animal->mHunger == 7) {
            feed.setEnabled(0);
            feed.setText(textsManager.get(L"isfeeded"));
        } else if (animal->mFed == 0) {
            feed.setEnabled(1);
            feed.setText(textsManager.get(L"feed"));
        } else {
            feed.setEnabled(0);
            feed.setText(textsManager.get(L"feeding"));
        }
        Button& treat = *mTreatButtons[k];
        const int missing = 7 - animal->mHealth;
        if (missing == 0) {
            treat.setEnabled(0);
            treat.setText(textsManager.get(L"ishealthy"));
        } else {
            const bool atDoctor = animal->mAtDoctor != 0;
            treat.setEnabled(atDoctor ? 0 : 1);
            // The health steps missing, in brackets.
            treat.setText(std::wstring(textsManager.get(atDoctor ? L"treating" : L"treat")) + L" (" +
                          std::to_wstring(missing) + L")");
        }

        mHungerGauges[k]->draw(titleAlpha, 0, 0);
        mHealthGauges[k]->draw(titleAlpha, 0, 0);
        feed.draw(titleAlpha, 0, 0, 1);
        treat.draw(titleAlpha, 0, 0, 1);
        if (animal->mPicture && k < mHelpers3.size()) {
            const float4 rect = mHelpers3[k]->getRect();
            animal->mPicture->draw(rect.x, rect.y, rect.z, rect.w, 1, 1, 1, mLabels1[k]->getColor().w, 1);
        }
    }
    const wchar_t* title = titleKey(mKind);
    if (title)
        mWidget3->setText(title, 1, 1);
    mWidget0->setText(L"Hungry", 1, 1);
    mWidget1->setText(L"Treat", 1, 1);
    mWidget2->setText(L"daysleftcap", 1, 1);
    _MenuPetsList1::draw();
    for (size_t k = 0; k < mAnimals.size() && k < mLabels1.size(); ++k)
        mIndicators[k]->draw(mLabels1[k]->getColor().w, 0, 0);
}
