#include "source_menu/MenuPetsShow1.h"

#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "game/TextFormat.h"
#include "park/TeachTrick.h"
#include "source_menu/Button.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

MenuPetsShow1::MenuPetsShow1() = default;
MenuPetsShow1::~MenuPetsShow1() = default;

void MenuPetsShow1::init(const char* path)
{
    _MenuPetsShow1::init(path);
    const std::wstring text = textsManager.get(L"teachtrick");
    for (int k = 0; k < kRows && k < static_cast<int>(mHelpers1.size()); ++k) {
        mTeachButtons[k] = std::make_unique<Button>(mHelpers1[k], 0, 6);
        mTeachButtons[k]->setText(text);
    }
    mKind = L"Dog";
}

void MenuPetsShow1::reset()
{
    _MenuPetsShow1::reset();
    mAnimals = Singleton<DataStorage>::get()->parkAnimalsOfKind(toLowerWide(mKind));
    if (mAnimals.size() > static_cast<size_t>(kRows))
        mAnimals.resize(kRows);
}

void MenuPetsShow1::dropDeparted()
{
    const std::vector<DataAnimal*>& park = Singleton<DataStorage>::get()->mParkAnimals;
    mAnimals.erase(std::remove_if(mAnimals.begin(), mAnimals.end(),
                                  [&park](DataAnimal* animal) {
                                      return std::find(park.begin(), park.end(), animal) == park.end();
                                  }),
                   mAnimals.end());
}

void MenuPetsShow1::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    _MenuPetsShow1::update();
    const auto [previous, current] = getShowStates();
    if (current == kShowAppearing && previous == kShowHidden)
        Container::setVisible(1);
    if (current != kShowShown)
        return;

    dropDeparted();
    for (size_t k = 0; k < mAnimals.size() && k < static_cast<size_t>(kRows); ++k) {
        if (mTeachButtons[k] && mTeachButtons[k]->isClicked(0, 0, 1)) {
            teach(mAnimals[k]);
            return;
        }
    }
}

void MenuPetsShow1::teach(DataAnimal* animal)
{
    if (animal->mDaysToTeach <= 0) {
        Singleton<MenuManager>::get()->runCommand(L"teachstart");
        TeachTrick* show = Singleton<TeachTrick>::get();
        show->setSpecies(mKind);
        show->setAnimal(animal);
        show->setStateAll("game", 2, kTransitionMs);
        // Trick values are the fees of the show under way only.
        for (DataAnimal* parkAnimal : Singleton<DataStorage>::get()->mParkAnimals)
            std::fill(parkAnimal->mTrickFees, parkAnimal->mTrickFees + 3, 0);
        return;
    }
    // The message is a text of the texts table: the number goes into its "%d", never through
    // a printf format.
    Popup* popup = Singleton<Popup>::get();
    popup->setMode(0, 0);
    popup->setTitle(textsManager.get(L"daystoteach"));
    popup->setText(formatWithNumber(textsManager.get(L"daystoteach_message"), animal->mDaysToTeach, 99));
    popup->setResult(nullptr);
    Singleton<MenuManager>::get()->runCommand(L"popupstart");
}

void MenuPetsShow1::draw()
{
    if (!isVisible() || !mWidget9)
        return;
    dropDeparted();
    for (size_t k = 0; k < static_cast<size_t>(kRows) && k < mLabels0.size(); ++k) {
        mLabels0[k]->setVisible(0);
        mLabels1[k]->setVisible(0);
        mLabels2[k]->setVisible(0);
    }
    const float alpha = mWidget9->getColor().w;
    for (size_t k = 0; k < mAnimals.size() && k < mLabels0.size(); ++k) {
        const DataAnimal* animal = mAnimals[k];
        if (animal->mPicture && k < mHelpers0.size()) {
            const float4 rect = mHelpers0[k]->getRect();
            animal->mPicture->draw(rect.x, rect.y, rect.z, rect.w, 1, 1, 1, alpha, 1);
        }
        mLabels1[k]->setVisible(1);
        mLabels1[k]->setText(animal->mName, 0, 1);
        mLabels2[k]->setVisible(1);
        mLabels2[k]->setText(std::to_wstring(animal->mStayDays), 0, 1);
        mLabels0[k]->setVisible(1);
        mLabels0[k]->setText(std::to_wstring(animal->mTeachingPrice), 0, 1);
    }
    _MenuPetsShow1::draw();
    for (size_t k = 0; k < mAnimals.size() && k < static_cast<size_t>(kRows); ++k)
        if (mTeachButtons[k])
            mTeachButtons[k]->draw(alpha, 0, 0, 1);
}
