#pragma once

// The bank, tab 1 of the finance frame: last and this month's money report, the cash and the
// loan, one loan taken and repaid in parts through the value-choice popup, and three park
// promotions bought after a question in the message popup. A popup's answer waits in its
// result field and is applied once the popup has closed; the park's daily step refills the
// screen (reset).

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBank.h"

#include <string>
#include <vector>

class Button;
class TextTable;

class MenuBank : public Singleton<MenuBank>, public _MenuBank {
public:
    MenuBank() = default;
    ~MenuBank() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the report, the promotions' names and prices, the cash and the loan.
    void reset() override;

    // Close button.
    void onWidget0(int previous, int current) override;

    // The 20 report rows: key, last month, this month (separators have an empty key).
    static std::vector<std::vector<std::wstring>> reportRows();

    TextTable* moneyTable = nullptr;
    Button* borrowButton = nullptr;
    Button* repayButton = nullptr;
    std::vector<Button*> promotionButtons;
    int borrowAmount = 0;
    int repayAmount = 0;
    int promotionAnswer = 0;
    int promotionChoice = 0;

private:
    void applyAnswers();
    // True when a click opened a popup.
    bool askBorrow();
    bool askRepay();
    bool askPromotion();
    // The promotions the screen offers: the first three of the park's list.
    static int promotionCount();
};
