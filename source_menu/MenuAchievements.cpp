#include "source_menu/MenuAchievements.h"

#include "game/DataAchievement.h"
#include "game/DataStorage.h"
#include "source_menu/FinanceScreen.h"
#include "source_menu/TextTable.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <string>

namespace {

const int kTutorialMessage = -4;
// The mark sits this far below its row's text.
const float kMarkDrop = 0.0064f;

// The first picture of a mark widget, null when the layout gave it none.
MyImage* firstImage(WidgetBase* widget)
{
    std::vector<MyImage*>& images = widget->getImages();
    return images.empty() ? nullptr : images.front();
}

} // namespace

void MenuAchievements::init(const char* path)
{
    _MenuAchievements::init(path);
    mTable = new TextTable(mLabels0, mWidget6, mWidget7);
    mDefaultTextKey = mWidget2->getText(1);
}

void MenuAchievements::reset()
{
    _MenuAchievements::reset();
    if (!mTable)
        return;
    mTable->alternate = 1;
    mTable->clear();
    mDone.clear();
    for (const DataAchievement* achievement : Singleton<DataStorage>::get()->mAchievements) {
        mTable->addRow({achievement->mName, std::to_wstring(achievement->mReward), L""});
        mDone.push_back(achievement->mDone != 0);
    }
    mDescribedRow = -2;
    FinanceScreen::showCashAndLoan(mWidget10, mWidget11);
}

void MenuAchievements::update()
{
    if (FinanceScreen::isHeld(*this))
        return;
    _MenuAchievements::update();
    if (FinanceScreen::hasJustAppeared(*this))
        Singleton<Tutorial>::get()->showMessage(kTutorialMessage);
}

void MenuAchievements::draw()
{
    if (!isVisible())
        return;
    mWidget12->setVisible(0);
    mWidget13->setVisible(0);
    mTable->hideWidgets();
    mWidget1->mWrap = 0;
    _MenuAchievements::draw();
    const int highlighted = mTable->draw();
    MyImage* done = firstImage(mWidget12);
    MyImage* notDone = firstImage(mWidget13);
    const float alpha = mWidget2->getColor().w;
    for (size_t r = 0; r < mDone.size(); ++r) {
        MyImage* mark = mDone[r] ? done : notDone;
        if (mark)
            mark->draw(1.0f, 1.0f, 1.0f, alpha, 0.0f, kMarkDrop + static_cast<float>(r) * mTable->rowHeight, 1.0f,
                       1.0f);
    }
    showDescription(highlighted);
}

// The label is re-texted only when the row changes: its text is laid out anew at every change.
void MenuAchievements::showDescription(int row)
{
    const std::vector<DataAchievement*>& achievements = Singleton<DataStorage>::get()->mAchievements;
    if (row >= static_cast<int>(achievements.size()))
        row = -1;
    if (row == mDescribedRow)
        return;
    mDescribedRow = row;
    if (row < 0)
        mWidget2->setText(mDefaultTextKey, 1, 1);
    else
        mWidget2->setText(achievements[static_cast<size_t>(row)]->mDescription, 0, 1);
}

void MenuAchievements::onWidget0(int, int current)
{
    FinanceScreen::closeOnRelease(current);
}
