#include "source_menu/MenuPetShowSummary.h"

#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "source_menu/Button.h"
#include "source_menu/MenuDateBar.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"

MenuPetShowSummary::MenuPetShowSummary() = default;
MenuPetShowSummary::~MenuPetShowSummary() = default;

void MenuPetShowSummary::init(const char* path)
{
    _MenuPetShowSummary::init(path);
    okButton = std::make_unique<Button>(mHelper0, 13, 9);
    okButton->setText(textsManager.get(L"OK"));
    spectators = 0;
    total = 0;
}

void MenuPetShowSummary::reset()
{
    _MenuPetShowSummary::reset();
    const GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    total = settings ? settings->mTeachingPrice * spectators : 0;
}

void MenuPetShowSummary::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    _MenuPetShowSummary::update();
    const auto [previous, current] = getShowStates();
    if (current == kShowAppearing && previous == kShowHidden)
        Container::setVisible(1);
    if (current == kShowShown && okButton && okButton->isClicked(0, 0, 1))
        setStateAll("game", 0, kTransitionMs);
}

void MenuPetShowSummary::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    _MenuPetShowSummary::draw();
    if (okButton)
        okButton->draw(mWidget0->getColor().w, 0, 0, 1);
}
