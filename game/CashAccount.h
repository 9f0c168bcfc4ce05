#pragma once

// The park's money: cash, the bank loan, the watch over a negative balance that ends in game
// over, and the amounts that float up beside the cash figure after every transaction.
// Every payment and income goes through addCash; the park's actions (DataStorage::transaction)
// book it in the month records.

#include <string>
#include <vector>

class WidgetLabel;

// One floating amount shown after a transaction.
struct OneCash {
    OneCash(int amount) : mAmount(amount) {}
    int mAmount;
    int mAge = 0;       // ms of game time, +10 per logic step
    float mAlpha = 0.0f;
};

class CashAccount {
public:
    // Countdown states.
    enum { kNoCountdown = -1, kCountdown = 0, kGameOverShown = 1 };
    static constexpr int kMaxLoan = 25000;   // the most one loan can borrow
    static constexpr double kLoanRate = 1.2; // the loan owed per unit borrowed

    explicit CashAccount(int cash);
    ~CashAccount();
    CashAccount(const CashAccount&) = delete;
    CashAccount& operator=(const CashAccount&) = delete;

    // Keeps the in-game screen's cash label and hides it: only draw() shows it.
    void setLabel(WidgetLabel* label);
    // cash += amount, shown as a floating amount; 0 does nothing.
    void addCash(int amount);
    // cash += amount without a floating amount (the trick show shows its own).
    void addCashUnshown(int amount);
    // One loan at a time of at most kMaxLoan: the amount paid out, kLoanRate per unit owed.
    // False while a loan runs or for nothing asked.
    bool borrow(int amount);
    // Repays at most the cash and the loan; the amount repaid (0 when nothing could be).
    int repay(int amount);
    // Whether a payment of that amount leaves the cash at 0 or above.
    bool canPay(int amount) const { return mCash >= amount; }
    // One logic step: ages the floating amounts and watches a negative balance (loan warning,
    // then game over). Does nothing without a label.
    void update();
    // One game day: a day less before game over while the countdown runs.
    void newDay();
    // Draws the floating amounts and the cash figure with the kept label.
    void draw();

    // The text and colour of a floating amount: "+250" green, "-250" red.
    static std::wstring amountText(int amount);

    WidgetLabel* mLabel = nullptr;
    int mCash;
    int mLoan = 0;
    int mGameOverAnswer = 0;
    int mCountdownState = kNoCountdown;
    int mDaysLeft = 0;
    std::vector<OneCash*> mAmounts;

private:
    void drawAmount(OneCash* amount);
};
