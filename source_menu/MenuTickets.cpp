#include "source_menu/MenuTickets.h"

#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "source_menu/Button.h"
#include "source_menu/FinanceScreen.h"
#include "source_menu/MenuManager.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/TextTable.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <cstdio>
#include <set>

namespace {

const int kButtonKind = 3;
const int kButtonStyle = 6;
const float kRowHeight = 0.03f;
const int kAccommodation = 0;
const int kTeaching = 1;
const int kSalt = 5;
enum Venue { kAlways = 0, kRestaurant = 1, kHotel = 2 };

GlobalSettings* settings()
{
    return Singleton<DataStorage>::get()->mGlobalSettings;
}

// The presets of a price, or null when "[scroll values]" has none for it. Presets below 0 would
// let a price pay the guests: such an item is not offered. Either is told once per item.
const ScrollValues* presetsOf(const MenuTickets::Price& price)
{
    static std::set<std::wstring> told;
    const std::map<std::wstring, ScrollValues>& all = settings()->mScrollValues;
    const auto found = all.find(price.scrollKey);
    const char* problem = nullptr;
    if (found == all.end())
        problem = "has no [scroll values]";
    else
        for (int preset : found->second.mPresets)
            if (preset < 0)
                problem = "has a preset below 0 in [scroll values]";
    if (!problem)
        return &found->second;
    if (told.insert(price.scrollKey).second)
        std::printf("Warning: global.txt: the price %ls %s; it cannot be changed\n", price.scrollKey, problem);
    return nullptr;
}

bool venueOwned(int venue)
{
    const DataStorage* storage = Singleton<DataStorage>::get();
    if (venue == kRestaurant)
        return storage->hasRestaurant() != 0;
    if (venue == kHotel)
        return storage->hasHotel() != 0;
    return true;
}

} // namespace

const MenuTickets::Price MenuTickets::kPriceList[kPrices] = {
    {L"t_accomodationprice", &GlobalSettings::mAccommodationTicketPrice, L"AccomodationTicket", L"GetTicketsTitle", 1,
     kAlways},
    {L"t_teachingprice", &GlobalSettings::mTeachingPrice, L"TeachTrick", L"GetShowTicketsTitle", 1, kAlways},
    {L"t_RestaurantSales", &GlobalSettings::mDinnerPrice, L"Dinner", L"GetCheeseburgerTitle", 1, kRestaurant},
    {L"t_drinks", &GlobalSettings::mDrinksPrice, L"Drinks", L"GetDrinksTitle", 1, kRestaurant},
    {L"t_salad", &GlobalSettings::mSaladPrice, L"Salads", L"GetChipsTitle", 1, kRestaurant},
    {L"t_salt", &GlobalSettings::mSaltInFood, L"Salt", L"GetSaltTitle", 2, kRestaurant},
    {L"t_ownershotelprice", &GlobalSettings::mOwnersAccommodationPrice, L"Hotel", L"GetSouvenirsTitle", 1, kHotel},
    {L"t_car", &GlobalSettings::mCarParkingTicketPrice, L"CarTicket", L"GetCarTicketsTitle", 1, kAlways},
};

bool MenuTickets::isOffered(int i)
{
    return venueOwned(kPriceList[i].venue) && presetsOf(kPriceList[i]) != nullptr;
}

MenuTickets::~MenuTickets()
{
    delete priceTable;
    for (Button* button : changeButtons)
        delete button;
}

void MenuTickets::init(const char* path)
{
    _MenuTickets::init(path);
    priceTable = new TextTable({mWidget4, mWidget5}, mWidget3, mWidget2);
    for (WidgetHelper* place : {mHelper0, mHelper1, mHelper2, mHelper3, mHelper4, mHelper5, mHelper6, mHelper7}) {
        changeButtons.push_back(new Button(place, kButtonKind, kButtonStyle));
        changeButtons.back()->setText(textsManager.get(L"Change"));
    }
}

// Twelve rows: the prices with separators between the groups; a price of a venue the park
// lacks shows "-".
void MenuTickets::reset()
{
    _MenuTickets::reset();
    if (!priceTable || !settings())
        return;
    priceTable->clear();
    priceTable->rowHeight = kRowHeight;
    const std::vector<std::wstring> separator = {L"", L"0"};
    for (int i = 0; i < kPrices; ++i) {
        const Price& price = kPriceList[i];
        const std::wstring value =
            venueOwned(price.venue) ? std::to_wstring(settings()->*price.field) : std::wstring(L"-");
        priceTable->addRow({price.rowKey, value});
        if (i == kTeaching || i == 3 || i == kSalt || i == 6)
            priceTable->addRow(separator);
    }
}

void MenuTickets::update()
{
    if (FinanceScreen::isHeld(*this) || Singleton<ScrollPopup>::get()->isVisible())
        return;
    _MenuTickets::update();
    FinanceScreen::hasJustAppeared(*this);
    const std::pair<int, int> states = getShowStates();
    // Nothing to offer before the park's data is loaded.
    if (states.second != kShowShown || !priceTable || !settings())
        return;
    GlobalSettings* rules = settings();
    if (states.first == kShowAppearing) {
        shownAccomodationPrice = rules->mAccommodationTicketPrice;
        shownTeachingPrice = rules->mTeachingPrice;
    }
    // A new price renews the offers, which carry the prices they were made with.
    if (rules->mTeachingPrice != shownTeachingPrice) {
        shownTeachingPrice = rules->mTeachingPrice;
        Singleton<DataStorage>::get()->generateAnimalsForSale();
    }
    if (rules->mAccommodationTicketPrice != shownAccomodationPrice) {
        shownAccomodationPrice = rules->mAccommodationTicketPrice;
        Singleton<DataStorage>::get()->generateAnimalsForSale();
    }
    for (int i = 0; i < kPrices; ++i) {
        if (isOffered(i) && changeButtons[i]->isClicked(0.0f, 0.0f, 1)) {
            openPopup(i);
            // The popup now holds every other click.
            return;
        }
    }
}

void MenuTickets::openPopup(int i)
{
    const Price& price = kPriceList[i];
    const ScrollValues* values = presetsOf(price);
    int& current = settings()->*price.field;
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    popup->mode = price.mode;
    const int* p = values->mPresets;
    popup->setPresets(p[0], p[1], p[2], p[3], p[4], current);
    popup->setTitle(textsManager.get(price.titleKey));
    popup->setCaller(this);
    popup->setResult(&current);
    if (i == kSalt)
        popup->setRange(static_cast<int>(current * 0.01), 0, 10);
    else
        popup->setPercent(current * 0.01f);
    Singleton<MenuManager>::get()->runCommand(L"scrollpopupstart");
    if (i == kAccommodation)
        Singleton<Tutorial>::get()->priceChanged = 1;
}

void MenuTickets::onWidget0(int, int current)
{
    FinanceScreen::closeOnRelease(current);
}

void MenuTickets::draw()
{
    if (!isVisible() || !priceTable)
        return;
    // The table's own widgets are drawn by the table only.
    for (WidgetBase* widget : {static_cast<WidgetBase*>(mWidget2), static_cast<WidgetBase*>(mWidget3),
                               static_cast<WidgetBase*>(mWidget4), static_cast<WidgetBase*>(mWidget5)})
        widget->setVisible(0);
    mWidget14->mWrap = 0;
    _MenuTickets::draw();
    if (!settings())
        return;
    priceTable->draw();
    const float alpha = mWidget1->getColor().w;
    for (int i = 0; i < kPrices; ++i)
        if (venueOwned(kPriceList[i].venue) && presetsOf(kPriceList[i]))
            changeButtons[i]->draw(alpha, 0.0f, 0.0f, 1);
}
