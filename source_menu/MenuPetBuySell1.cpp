#include "source_menu/MenuPetBuySell1.h"

#include "toolkit/utils/misc.h"
#include "core/ControlMngr.h"
#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/Happiness.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/MenuPetBuySell.h"
#include "source_menu/Popup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

MenuPetBuySell1::MenuPetBuySell1() = default;
MenuPetBuySell1::~MenuPetBuySell1() = default;

void MenuPetBuySell1::init(const char* path)
{
    _MenuPetBuySell1::init(path);
    mKind = L"dog";
}

void MenuPetBuySell1::setKind(const std::wstring& kind)
{
    mKind = toLowerWide(kind);
}

void MenuPetBuySell1::reset()
{
    _MenuPetBuySell1::reset();
    const std::wstring kind = MenuBlueFolds::kindKey(Singleton<MenuBlueFolds>::get()->getTab());
    if (!kind.empty())
        mKind = kind;
    rebuildOffers();
}

std::vector<DataAnimal*> MenuPetBuySell1::offers() const
{
    std::vector<DataAnimal*> list;
    for (DataAnimal* animal : Singleton<DataStorage>::get()->mAnimalsForSale)
        if (animal->mType == mKind && list.size() < static_cast<size_t>(kRows))
            list.push_back(animal);
    return list;
}

void MenuPetBuySell1::rebuildOffers()
{
    mIndicators.clear();
    mAccommodateButtons.clear();
    mShownSinceRebuild = false;
    mPressOnShownCards = false;
    const size_t rows = std::min(offers().size(), std::min(mHelpers0.size(), mHelpers2.size()));
    const std::wstring text = textsManager.get(L"accomodate");
    for (size_t k = 0; k < rows; ++k) {
        mIndicators.push_back(std::make_unique<Happiness>(mHelpers2[k]));
        mAccommodateButtons.push_back(std::make_unique<Button>(mHelpers0[k], 2, 6));
        mAccommodateButtons.back()->setText(text);
    }
    Singleton<MenuPetBuySell>::get()->refreshParcels();
}

void MenuPetBuySell1::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    _MenuPetBuySell1::update();
    const auto [previous, current] = getShowStates();
    if (current == kShowAppearing && previous == kShowHidden)
        Container::setVisible(1);
    if (current != kShowShown)
        return;

    for (const std::unique_ptr<Happiness>& indicator : mIndicators)
        indicator->update();
    const bool down = Singleton<ControlMngr>::get()->isPointerDown() != 0;
    if (down && !mPointerWasDown)
        mPressOnShownCards = mShownSinceRebuild;
    mPointerWasDown = down;
    for (size_t i = 0; i < mAccommodateButtons.size(); ++i) {
        if (!mAccommodateButtons[i]->isClicked(0, 0, 0))
            continue;
        if (DataAnimal* offer = mPressOnShownCards ? shownOffer(i) : nullptr)
            accommodate(offer);
        // The cards may have been rebuilt: the click is the update's last.
        return;
    }
}

DataAnimal* MenuPetBuySell1::shownOffer(size_t i) const
{
    if (i >= mShownOffers.size())
        return nullptr;
    // Offers that left the list are retired, never freed: a pointer names one animal only.
    const std::vector<DataAnimal*>& forSale = Singleton<DataStorage>::get()->mAnimalsForSale;
    DataAnimal* offer = mShownOffers[i];
    return std::find(forSale.begin(), forSale.end(), offer) != forSale.end() ? offer : nullptr;
}

void MenuPetBuySell1::accommodate(DataAnimal* offer)
{
    DataAnimal* animal = Singleton<DataStorage>::get()->hostAnimal(offer);
    if (!animal) {
        // No building of the kind is free (or no place of the kind is left in the park):
        // nothing is booked.
        Popup* popup = Singleton<Popup>::get();
        popup->setMode(0, 0);
        popup->setTitle(textsManager.get(L"NoPlaceForPet"));
        popup->setText(textsManager.get(L"NoPlaceForPetText"));
        popup->setResult(nullptr);
        Singleton<MenuManager>::get()->runCommand(L"popupstart");
        return;
    }
    rebuildOffers();
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    if (park->mCamera && animal->mAvatar)
        park->mCamera->moveToHelper(animal->mAvatar->mPlaceNodeName, park->mAnimalPlaces);
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("buy");
    Singleton<Tutorial>::get()->petAccepted = 1;
}

void MenuPetBuySell1::draw()
{
    if (!isVisible() || !mWidget31)
        return;
    for (int k = 0; k < kRows && k < static_cast<int>(mLabels0.size()); ++k) {
        mLabels0[k]->setVisible(0);
        mLabels1[k]->setVisible(0);
        mLabels2[k]->setVisible(0);
    }
    const std::vector<DataAnimal*> list = offers();
    const std::wstring currency = textsManager.get(L"currency");
    const std::wstring days = textsManager.get(L"day(s)");
    for (size_t k = 0; k < list.size() && k < mLabels0.size() && k < mIndicators.size(); ++k) {
        const DataAnimal* offer = list[k];
        mLabels1[k]->setVisible(1);
        mLabels0[k]->setVisible(1);
        mLabels2[k]->setVisible(1);
        mLabels0[k]->setText(std::to_wstring(offer->mAccommodationFee) + L" " + currency, 0, 0);
        mLabels2[k]->setText(std::to_wstring(offer->mStayDays) + L" " + days, 0, 0);
        mLabels1[k]->setText(offer->mName, 0, 0);
        mIndicators[k]->setLevel(offer->mHappiness);
        if (offer->mPicture) {
            const float4 rect = mHelpers1[k]->getRect();
            offer->mPicture->draw(rect.x, rect.y, rect.z, rect.w, 1, 1, 1, mLabels1[k]->getColor().w, 1);
        }
    }
    const size_t drawn = std::min(list.size(), std::min(mLabels0.size(), mIndicators.size()));
    mShownOffers.assign(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(drawn));
    mShownSinceRebuild = true;
    mWidget31->setText(L"Period", 1, 0);
    _MenuPetBuySell1::draw();
    for (size_t k = 0; k < mIndicators.size() && k < mLabels1.size(); ++k) {
        const float alpha = mLabels1[k]->getColor().w;
        mIndicators[k]->draw(alpha, 0, 0);
        mAccommodateButtons[k]->draw(alpha, 0, 0, 1);
    }
}
