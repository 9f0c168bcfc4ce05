#include "game/CashAccount.h"

#include "core/StepSchedule.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/ParkEvents.h"
#include "game/Ranges.h"
#include "game/TextFormat.h"
#include "render/CRender.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <cmath>

// Index: amounts and the loan - the negative-balance watch - drawing

namespace {
const int kStepMs = StepSchedule::kStepMs;
const int kAmountLifeMs = 2000;
const int kFadeInMs = 500;
const int kFadeOutMs = 1600;
const double kPi = 3.14159265358979323846;
} // namespace

CashAccount::CashAccount(int cash) : mCash(cash)
{
}

CashAccount::~CashAccount()
{
    for (OneCash* amount : mAmounts)
        delete amount;
}

// ---- amounts and the loan

void CashAccount::addCash(int amount)
{
    if (amount == 0)
        return;
    mCash = moneySum(mCash, amount);
    mAmounts.push_back(new OneCash(amount));
}

void CashAccount::addCashUnshown(int amount)
{
    mCash = moneySum(mCash, amount);
}

bool CashAccount::borrow(int amount)
{
    if (amount <= 0 || mLoan != 0)
        return false;
    amount = std::min(amount, kMaxLoan);
    addCash(amount);
    mLoan += static_cast<int>(amount * kLoanRate);
    return true;
}

int CashAccount::repay(int amount)
{
    amount = std::min({amount, mCash, mLoan});
    if (amount <= 0)
        return 0;
    addCash(-amount);
    mLoan -= amount;
    return amount;
}

std::wstring CashAccount::amountText(int amount)
{
    return amount > 0 ? L"+" + std::to_wstring(amount) : std::to_wstring(amount);
}

// ---- the negative-balance watch

void CashAccount::update()
{
    if (!mLabel)
        return;
    for (size_t i = 0; i < mAmounts.size();) {
        OneCash* amount = mAmounts[i];
        amount->mAge += kStepMs;
        if (amount->mAlpha < 0.0f && amount->mAge > kAmountLifeMs) {
            delete amount;
            mAmounts.erase(mAmounts.begin() + i);
        } else {
            ++i;
        }
    }
    if (mCash > 0)
        mCountdownState = kNoCountdown;
    if (mCash < 0) {
        if (mCountdownState == kNoCountdown) {
            mCountdownState = kCountdown;
            mDaysLeft = Singleton<DataStorage>::get()->mGlobalSettings->mDaysToGameOver;
            parkEvents().showPopup(0, 1, textsManager.get(L"GetLoan"),
                                   formatWithNumber(textsManager.get(L"GetLoanOrGameOver"), mDaysLeft), nullptr);
        } else if (mCountdownState == kCountdown && mDaysLeft < 0) {
            mCountdownState = kGameOverShown;
            parkEvents().showPopup(0, 1, textsManager.get(L"GameOver"), textsManager.get(L"GameOverMessage"),
                                   &mGameOverAnswer);
        }
    }
    if (mGameOverAnswer != 0) {
        parkEvents().endGame();
        mDaysLeft = 0;
        mCountdownState = kNoCountdown;
        mGameOverAnswer = 0;
    }
}

void CashAccount::newDay()
{
    if (mCountdownState == kCountdown)
        --mDaysLeft;
}

// ---- drawing

void CashAccount::setLabel(WidgetLabel* label)
{
    mLabel = label;
    if (mLabel)
        mLabel->setVisible(0);
}

void CashAccount::drawAmount(OneCash* amount)
{
    if (amount->mAge < kFadeInMs)
        amount->mAlpha = static_cast<float>(std::sin(amount->mAge * 0.002 * kPi / 2.0));
    else if (amount->mAge < kFadeOutMs)
        amount->mAlpha = 1.0f;
    else
        amount->mAlpha -= static_cast<float>(1.0 / 85.0);
    mLabel->setOffset(0.0f, -0.04f - amount->mAge * 0.00005f);
    if (amount->mAmount > 0)
        mLabel->setColor(0.0f, 1.0f, 0.0f, amount->mAlpha);
    else
        mLabel->setColor(1.0f, 0.0f, 0.0f, amount->mAlpha);
    mLabel->setText(amountText(amount->mAmount), 0, 1);
    mLabel->draw();
}

void CashAccount::draw()
{
    if (!mLabel)
        return;
    // The figure keeps its place at the left edge of the centred band on any aspect ratio.
    if (!mLabel->getImages().empty() && !mLabel->getRects().empty()) {
        MyImage* image = mLabel->getImages()[0];
        image->setPosition(mLabel->getRects()[0].x + 0.5f - kBandHalfWidth * CRender::get_aspect(), image->getRect().y);
    }
    mLabel->setVisible(1);
    for (OneCash* amount : mAmounts)
        drawAmount(amount);
    mLabel->setOffset(0.0f, 0.0f);
    mLabel->setColor(1.0f, 1.0f, 1.0f, parkEvents().hudAlpha());
    mLabel->setText(std::to_wstring(mCash), 0, 1);
    mLabel->draw();
    mLabel->setVisible(0);
}
