#include "park/TeachTrick.h"

#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/Ranges.h"
#include "game/TextFormat.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "source_menu/Button.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "source_menu/Progress.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <cstdio>
#include <cstdlib>

// Index: screen - tricks - drawing - trick file

namespace {
const int kShowMs = 30000;
const int kStepMs = StepSchedule::kStepMs;
const int kTopLevel = 7;
const float kAmountFade = 0.006666667f; // the money label fades out in 1.5 s
const size_t kMessageLimit = 100;
const size_t kTricks = 3;
const char* const kShowScene = "data/3dn/Trick_cameras.3dn";

// The text IDs of the three trick names, by species.
struct TrickNames {
    const wchar_t* species;
    const wchar_t* names[3];
};
const TrickNames kTrickNames[] = {
    {L"dog", {L"DogTrick1", L"DogTrick2", L"DogTrick3"}},
    {L"cat", {L"CatTrick1", L"CatTrick2", L"CatTrick3"}},
    {L"dino", {L"DinoTrick1", L"DinoTrick2", L"DinoTrick3"}},
    {L"horse", {L"HorseTrick1", L"HorseTrick2", L"HorseTrick3"}},
    {L"rabbit", {L"RabbitTrick1", L"RabbitTrick2", L"RabbitTrick3"}},
};

bool allMastered(const DataAnimal* animal)
{
    for (int level : animal->mTrickProgress)
        if (level < kTopLevel)
            return false;
    return true;
}

// A message popup (Ok only) with the title's text and the message's text filled with a number.
void openMessage(const wchar_t* title, const wchar_t* message, int number)
{
    Popup* popup = Singleton<Popup>::get();
    popup->setMode(0, 0);
    popup->setTitle(textsManager.get(title));
    popup->setText(formatWithNumber(textsManager.get(message), number, kMessageLimit));
    popup->setResult(nullptr);
    Singleton<MenuManager>::get()->runCommand(L"popupstart");
}
} // namespace

// ---- screen

void TeachTrick::init(const char* path)
{
    mAvatar = nullptr;
    if (name.empty())
        name = nameFromPath(path);
    _TeachTrick::init(path);
    mSpecies = L"dog";
    mGauge1 = new Progress(mHelper1);
    mGauge2 = new Progress(mHelper2);
    mGauge3 = new Progress(mHelper3);
    mExitButton = new Button(mHelper0, 9, 9);
    mExitButton->setText(textsManager.get(L"exit"));
    mCameraScene = requestObject(kShowScene);
}

void TeachTrick::setSpecies(const std::wstring& species)
{
    mSpecies = toLowerWide(species);
}

void TeachTrick::reset()
{
    _TeachTrick::reset();
    mTimeLeft = kShowMs;
    mAllTaughtFlag = 0;
    if (mAnimal)
        mAnimal->mDaysToTeach = Singleton<DataStorage>::get()->mGlobalSettings->mDaysToNextTeaching;
    for (const TrickNames& names : kTrickNames) {
        if (mSpecies != names.species)
            continue;
        for (size_t i = 0; i < mButtons0.size() && i < 3; ++i)
            if (WidgetLabel* label = mButtons0[i]->getLabel())
                label->setText(names.names[i], 1, 1);
    }
    std::string path = "data/game/show/" + wideToString(mSpecies) + ".txt";
    LoadTrick(*this, path.substr(0, kMessageLimit - 1));
    if (mAvatar)
        mAvatar->setAnimation(L"idle");
    mAmount = -1;
    mAmountAlpha = 0.0f;
    mPlayingTrick = -1;
    mFinishedTrick = -1;
}

void TeachTrick::update()
{
    if (Singleton<Popup>::get()->isVisible())
        return;
    _TeachTrick::update();
    if (getShowStates().second != kShowShown)
        return;

    Singleton<GameBackground3D>::get()->stepAnimationTime();
    if (mAvatar)
        mAvatar->update(nullptr);
    if (mPlayingTrick != -1 &&
        !(mAvatar && (mAvatar->isPlaying(L"trick1") || mAvatar->isPlaying(L"trick2") || mAvatar->isPlaying(L"trick3")))) {
        mFinishedTrick = mPlayingTrick;
        mPlayingTrick = -1;
    }

    mTimeLeft -= kStepMs;
    if (mTimeLeft < 0 || mExitButton->isClicked(0.0f, 0.0f, 1)) {
        mTimeLeft = 0;
        Singleton<MenuManager>::get()->runCommand(L"teachend");
        setStateAll("game", kShowHidden, kTransitionMs);
    }

    if (mAmount != -1) {
        mAmountAlpha -= kAmountFade;
        if (mAmountAlpha < 0.0f)
            mAmount = 0;
    }

    // All three tricks mastered: the all-tricks reward, once the trick's message is closed. The
    // confirmation that masters the last trick asks for that message in this very step, and the
    // reward's message would take its place.
    if (mAllTaughtFlag && mAnimal && allMastered(mAnimal) && !Singleton<Popup>::get()->isVisible()) {
        openMessage(L"alltricksteached", L"alltricksteached_message", mAnimal->mAllTricksPrice);
        mAmount = mAnimal->earnAllTricksReward();
        mAllTaughtFlag = 0;
        showAmount();
    }
}

// ---- tricks

void TeachTrick::playTrick(int n, int current)
{
    if (current != kLayerReleased || !mAvatar || !mAnimal || mAvatar->mAnimation != L"idle" || mPlayingTrick != -1)
        return;
    int level = mAnimal->mTrickProgress[n - 1];
    // Below the top level a try succeeds one time in (7 - level).
    if (level < kTopLevel && std::rand() % (kTopLevel - level) != 0) {
        mPlayingTrick = -1;
        mFinishedTrick = -1;
        mAvatar->playThen(L"notrick");
        return;
    }
    mAvatar->playThen(L"trick" + std::to_wstring(n));
    mPlayingTrick = n;
}

void TeachTrick::onTrickTaught(int previous, int current)
{
    if (current != kLayerReleased || mFinishedTrick == -1 || !mAnimal)
        return;
    bool mastered = false;
    mAmount = mAnimal->teachLesson(mFinishedTrick - 1, mRewardPrice, &mastered);
    if (mastered) {
        openMessage(L"trickteached", L"trickteached_message", mAnimal->mTeachingPrice);
        mAllTaughtFlag = allMastered(mAnimal) ? 1 : 0;
    }
    mFinishedTrick = -1;
    if (mAmount != 0)
        showAmount();
}

void TeachTrick::showAmount()
{
    mWidget1->setTransform(0.0f, 0.0f, 1.0f, 1.0f);
    mAmountAlpha = 1.0f;
}

// ---- drawing

void TeachTrick::draw()
{
    if (!isVisible())
        return;
    std::wstring seconds = std::to_wstring(mTimeLeft / 1000) + L" " + textsManager.get(L"second_unit");
    mWidget4->setText(seconds.substr(0, kMessageLimit - 1), 0, 1);
    mWidget5->setVisible(mFinishedTrick != -1);
    const bool showAmount = mAmount != -1 && !Singleton<Popup>::get()->isVisible();
    if (showAmount) {
        if (mAmount < 1)
            mWidget1->setColor(1.0f, 0.0f, 0.0f, mAmountAlpha);
        else
            mWidget1->setColor(0.0f, 1.0f, 0.0f, mAmountAlpha);
        // The label rises as it fades.
        mWidget1->setTransform(0.0f, (1.0f - mAmountAlpha) * 0.1f, 1.0f, 1.0f);
        mWidget1->setText(std::to_wstring(mAmount), 0, 1);
    }
    // The money lies on the plate of the panels picture, which the layout draws after it: it is
    // left out of the screen's pass and drawn over the plate.
    mWidget1->setVisible(0);
    mWidget0->mWrap = 0;
    _TeachTrick::draw();
    if (showAmount) {
        mWidget1->setVisible(1);
        mWidget1->draw();
    }

    float gaugeAlpha = mWidget5->getColor().w;
    Progress* gauges[3] = {mGauge1, mGauge2, mGauge3};
    for (int i = 0; i < 3; ++i) {
        gauges[i]->setLevel(mAnimal ? mAnimal->mTrickProgress[i] : 0);
        gauges[i]->draw(gaugeAlpha, 0.0f, 0.0f);
    }
    if (mCameraScene && mCameraScene->is_loaded())
        mCameraScene->set_camera(CRender::current(), 0.0f, "");
    mExitButton->draw(mWidget4->getColor().w, 0.0f, 0.0f, 1);
    if (mAvatar)
        mAvatar->draw();
}

// ---- trick file

void LoadTrick(TeachTrick& show, const std::string& path)
{
    show.mIdleRanges.clear();
    show.mTrickRanges.clear();
    // The figure stands at the "[helper]" read before it in this file.
    show.mHelperName.clear();
    KeyFileReader r(path, loadDatFileRequired(path));
    bool sawFigure = false, sawPrice = false;
    auto pair = [&r](std::vector<std::pair<int, int>>& into) {
        std::vector<std::wstring> items = r.items();
        int first = 0, last = 0;
        if (items.size() < 2)
            r.warn("two frame numbers expected");
        else if (r.toInt(items[0], first) && r.toInt(items[1], last))
            into.emplace_back(first, last);
    };
    for (; r.more(); r.advance()) {
        if (r.key(L"[trick]"))
            pair(show.mTrickRanges);
        if (r.key(L"[object 3dn]")) {
            sawFigure = true;
            std::string scene = wideToString(r.value());
            if (show.mHelperName.empty())
                r.warn("\"[helper]\" must come first, the figure has no place");
            delete show.mAvatar;
            DataAnimal* animal = show.mAnimal;
            show.mAvatar = new AnimalAvatar("data/3dn/" + scene + ".3dn", show.mHelperName, 0, show.mCameraScene,
                                            animal ? animal->mType : show.mSpecies, animal ? animal->mPictureIndex : 0);
        }
        if (r.key(L"[reward price]")) {
            sawPrice = true;
            r.readInt(show.mRewardPrice, 0, kMaxPrice);
        }
        if (r.key(L"[helper]"))
            show.mHelperName = wideToString(r.value());
        if (r.key(L"[idle]"))
            pair(show.mIdleRanges);
    }
    // A file cut short or with a key mistyped reads without a word above: what the show lacks
    // is named here.
    auto lacks = [&path](const char* what) { std::printf("Warning: %s: %s\n", path.c_str(), what); };
    if (!sawFigure)
        lacks("no \"[object 3dn]\", the show has no figure");
    if (!sawPrice)
        lacks("no \"[reward price]\", the lesson keeps the last show's price");
    if (show.mIdleRanges.empty())
        lacks("no \"[idle]\" frames");
    if (show.mTrickRanges.size() != kTricks)
        std::printf("Warning: %s: %zu \"[trick]\" frame ranges, the show has %zu tricks\n", path.c_str(),
                    show.mTrickRanges.size(), kTricks);
}
