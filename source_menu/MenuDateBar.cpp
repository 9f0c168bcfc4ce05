#include "source_menu/MenuDateBar.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/TextFormat.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/TeachTrick.h"
#include "render/CRender.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/MenuOptions.h"
#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr size_t kTextLimit = 199;

// Puts the image at x0 + the widget's layout x, keeping its y.
void pin(WidgetBase* widget, size_t image, float x0)
{
    std::vector<MyImage*>& images = widget->getImages();
    if (image >= images.size() || widget->getRects().empty())
        return;
    images[image]->setPosition(x0 + widget->getRects()[0].x, images[image]->getPosition().second);
}
} // namespace

void MenuDateBar::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MenuDateBar::init(path);
}

void MenuDateBar::reset()
{
    _MenuDateBar::reset();
    modal = 0;
    paused = 0;
}

void MenuDateBar::checkModal()
{
    // The options count too: they lie over the management panels, which would take the clicks
    // meant for the options' own buttons (a volume arrow buying food, Cancel borrowing money).
    const WidgetBase* layers[] = {Singleton<Popup>::get(), Singleton<ScrollPopup>::get(), Singleton<Tutorial>::get(),
                                  Singleton<MenuOptions>::get()};
    modal = 0;
    int coming = 0;
    for (size_t i = 0; i < std::size(layers); ++i) {
        modal = modal || layers[i]->isVisible();
        if (layers[i]->isComingOrShown())
            coming |= 1 << i;
    }
    // The screens under a layer ask no button: a press they saw must not click once it has gone.
    // Every opening counts, also over another layer still up or fading out.
    if (coming & ~layersComing)
        Button::forgetPresses();
    layersComing = coming;
}

void MenuDateBar::update()
{
    checkModal();
    if (!isEnabled() || modal)
        return;
    _MenuDateBar::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    // Nothing more before the bar has read its layout, and no clock without a park.
    DataStorage* data = Singleton<DataStorage>::get();
    if (!mWidget2 || !data->mGlobalSettings)
        return;
    if (data->mGlobalSettings->mDate)
        mWidget2->setText(data->mGlobalSettings->mDate->toText(), 0, 1);
    if (getShowStates().second != kShowShown)
        return;
    Popup::showPlayerNotice();
    if (!paused && !Singleton<TeachTrick>::get()->isOpen()) {
        data->update();
        for (size_t i = 0; i < data->mParkAnimals.size(); ++i)
            AnimalAvatar::updateInPark(data->mParkAnimals[i]);
        Singleton<GameBackground3D>::get()->stepAnimationTime();
    }
    Singleton<Tutorial>::get()->checkTriggers();
}

void MenuDateBar::onWidget4(int, int current)
{
    if (current != kLayerReleased)
        return;
    paused = 1 - paused;
    Singleton<Sounds>::get()->play("exit");
}

std::wstring MenuDateBar::parcelsText()
{
    int days = -1;
    const int free = Singleton<DataStorage>::get()->freePlaces(&days);
    std::wstring text;
    if (free == 0 && days >= 0) {
        // The text comes from the data: the number goes into its first "%d" only.
        text = formatWithNumber(textsManager.get(L"freeparcelinday(s)"), days);
    } else {
        text = std::to_wstring(free) + L" " + textsManager.get(L"parcel(s)free");
    }
    if (text.size() > kTextLimit)
        text.resize(kTextLimit);
    return text;
}

void MenuDateBar::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    const float aspect = CRender::get_aspect();
    const float x0 = 0.5f - kBandHalfWidth * aspect;
    // Every picture of the button follows the edge, its pressed one too: a press shows it and
    // hit-tests on it.
    for (size_t k = 0; k < mWidget4->getImages().size(); ++k)
        pin(mWidget4, k, x0);
    pin(mWidget0, 0, x0);
    pin(mWidget3, 0, x0);
    pin(mWidget2, 0, x0);
    if (!mWidget1->getImages().empty())
        mWidget1->getImages()[0]->setRect(x0, 0.0f, (0.5f + kBandHalfWidth * aspect) - x0, 1.0f);
    mWidget1->setColor(1.0f, 1.0f, 1.0f, 0.5f);
    mWidget1->setVisible(paused);
    mWidget3->setText(parcelsText(), 0, 1);
    _MenuDateBar::draw();
    Singleton<Tutorial>::get()->updatePointer();
}
