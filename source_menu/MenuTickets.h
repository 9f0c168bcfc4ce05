#pragma once

// The tickets and prices screen, tab 0 of the finance frame: the park's eight prices, each
// changed by ticking one of its five presets in the value-choice popup, which writes the chosen
// preset straight into the park's rules. The restaurant's four prices are offered only while
// the park owns the restaurant, the owners' hotel price only with the hotel; their rows then
// show "-". A new teaching or accommodation price renews the animals offered for a stay.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuTickets.h"

#include <string>
#include <vector>

class Button;
class GlobalSettings;
class TextTable;

class MenuTickets : public Singleton<MenuTickets>, public _MenuTickets {
public:
    static constexpr int kPrices = 8;

    // One price of the screen, in the order of its Change buttons.
    struct Price {
        const wchar_t* rowKey;
        int GlobalSettings::*field;
        const wchar_t* scrollKey;   // its five presets in "[scroll values]"
        const wchar_t* titleKey;
        int mode;                   // of the value-choice popup: 1 with amounts, 2 without
        int venue;                  // 0 always offered, 1 with the restaurant, 2 with the hotel
    };
    static const Price kPriceList[kPrices];

    MenuTickets() = default;
    ~MenuTickets() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the price table (after Ok in the popup and every new day too).
    void reset() override;

    // Close button.
    void onWidget0(int previous, int current) override;

    // Whether price i can be changed now: its venue is owned and its presets are usable.
    static bool isOffered(int i);

    std::vector<Button*> changeButtons;
    int shownAccomodationPrice = 0;
    int shownTeachingPrice = 0;
    TextTable* priceTable = nullptr;

private:
    void openPopup(int i);
};
