#include "source_menu/MenuIngame.h"

// Index: screen - update - fold and camera buttons - draw - notices - edges

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/TextFormat.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "render/CRender.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/Happiness.h"
#include "source_menu/MenuBuildings1.h"
#include "source_menu/MenuBuildings2.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuManager.h"
#include "source_menu/MenuPetsList1.h"
#include "source_menu/Popup.h"
#include "source_menu/Progress.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <cmath>

namespace {

const int kTopLevel = 7;               // full hunger, health, cleanness, condition
const int kFoldMs = kTransitionMs;
const float kAllButtonsFade = 0.03f;   // per update: a fade of about 34 updates
const float kNoticeTimerStep = 0.024f;
const float kNoticeBlinkStep = 0.025f;
const float kNoticeBlinkAfter = 1.57075f;
const double kTwoPi = 6.283185307179586;

// The park camera; null until the park screen has made it.
GameCamera* camera()
{
    return Singleton<GameBackground3D>::get()->mCamera;
}

DataAnimal* focusedAnimal()
{
    GameCamera* cam = camera();
    return cam ? cam->mFollowAnimal : nullptr;
}

OnePerson* followedVisitor()
{
    GameCamera* cam = camera();
    return cam ? cam->mFollowPerson : nullptr;
}

bool isInTransition(const WidgetBase* screen)
{
    const int state = screen->getShowStates().second;
    return state == kShowAppearing || state == kShowDisappearing;
}

// Image i of the widget at x = edge + its layout x, its y kept.
void pinImage(WidgetBase* widget, size_t i, float edge)
{
    std::vector<MyImage*>& images = widget->getImages();
    if (i >= images.size())
        return;
    images[i]->setPosition(edge + images[i]->getInitialRect().x, images[i]->getRect().y);
}

void drawInto(CRender::Image* picture, const WidgetBaseBase* place, float alpha)
{
    if (!picture)
        return;
    const float4 r = place->getRect();
    picture->draw(r.x, r.y, r.z, r.w, 1.0f, 1.0f, 1.0f, alpha, 1);
}

bool isParkAnimal(const DataAnimal* animal)
{
    const std::vector<DataAnimal*>& animals = Singleton<DataStorage>::get()->mParkAnimals;
    return std::find(animals.begin(), animals.end(), animal) != animals.end();
}

} // namespace

float MenuIngame::noticeBlinkPhase = 0.0f;

// ---- screen

void MenuIngame::init(const char* path)
{
    _MenuIngame::init(path);
    mAllButtonsAlpha = 0.0f;
    mPetHappiness = new Happiness(mHelper7);
    mVisitorHappiness = new Happiness(mHelper9);
    mHungerGauge = new Progress(mHelper5);
    mHealthGauge = new Progress(mHelper6);
    mFeedButton = new Button(mHelper4, 3, 6);
    mFeedButton->setText(textsManager.get(L"Feed"));
    mTreatButton = new Button(mHelper3, 3, 6);
    mTreatButton->setText(textsManager.get(L"Treat"));
    mCleanAllButton = new Button(mHelper0, 2, 6);
    mCleanAllButton->setText(textsManager.get(L"cleanall"));
    mRepairAllButton = new Button(mHelper2, 2, 6);
    mRepairAllButton->setText(textsManager.get(L"repairall"));
    mFeedAllButton = new Button(mHelper1, 2, 6);
    mFeedAllButton->setText(textsManager.get(L"feedall"));
}

void MenuIngame::reset()
{
    _MenuIngame::reset();
    mOpenFold = 0;
    for (WidgetButton* notice : mButtons2)
        notice->setVisible(0);
    mTreatAnswer = -1;
    mTreatCost = 0;
    mTreatAnimal = nullptr;
}

MenuIngame::~MenuIngame()
{
    delete mPetHappiness;
    delete mVisitorHappiness;
    delete mHungerGauge;
    delete mHealthGauge;
    delete mFeedButton;
    delete mTreatButton;
    delete mCleanAllButton;
    delete mRepairAllButton;
    delete mFeedAllButton;
    for (Achievement* notice : mNotices)
        delete notice;
}

Container* MenuIngame::fold(int n) const
{
    switch (n) {
    case 1:
        return Singleton<MenuIngameFold1>::get();
    case 2:
        return Singleton<MenuIngameFold2>::get();
    case 3:
        return Singleton<MenuIngameFold3>::get();
    default:
        return nullptr;
    }
}

bool MenuIngame::isFold3ButtonActive() const
{
    return mWidget2 && mWidget2->getLayerStates().second != kLayerNormal;
}

float MenuIngame::getAlpha() const
{
    // Before the layout is bound (tests of the park data) the HUD counts as opaque.
    return mWidget0 ? mWidget0->getColor().w : 1.0f;
}

// ---- update

void MenuIngame::update()
{
    if (!isEnabled())
        return;
    MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    if (dateBar->paused || dateBar->modal)
        return;
    _MenuIngame::update();
    const std::pair<int, int> show = getShowStates();
    if (show.second == kShowAppearing && show.first == kShowHidden)
        Container::setVisible(1);
    // A HUD that has not read its layout (tests of other screens) has nothing to act on.
    if (show.second != kShowShown || !mWidget0)
        return;

    stepNotices();
    updateParkWideButtons();
    if (DataAnimal* animal = focusedAnimal())
        updateAnimalPanel(animal);
}

// Repair, clean and feed the whole park, while fold 1 or 2 is out and the park has assistants.
void MenuIngame::updateParkWideButtons()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    const bool foldOut = Singleton<MenuIngameFold1>::get()->getShowStates().second != kShowHidden ||
                         Singleton<MenuIngameFold2>::get()->getShowStates().second != kShowHidden;
    if (!foldOut || !storage->hasAssistants()) {
        mAllButtonsAlpha = std::max(0.0f, mAllButtonsAlpha - kAllButtonsFade);
        return;
    }
    const float offsetX = rightEdge() - 1.0f;
    // A building whose order is already placed is not ordered (and charged) again.
    if (mRepairAllButton->isClicked(offsetX, 0.0f, 1)) {
        storage->repairAll();
        Singleton<MenuBuildings1>::get()->reset();
        Singleton<MenuBuildings2>::get()->reset();
    }
    if (mCleanAllButton->isClicked(offsetX, 0.0f, 1)) {
        storage->cleanAll();
        Singleton<MenuBuildings1>::get()->reset();
        Singleton<MenuBuildings2>::get()->reset();
    }
    if (mFeedAllButton->isClicked(offsetX, 0.0f, 1)) {
        storage->feedAll();
        Singleton<MenuPetsList1>::get()->reset();
    }
    mAllButtonsAlpha = std::min(1.0f, mAllButtonsAlpha + kAllButtonsFade);
}

void MenuIngame::updateAnimalPanel(DataAnimal* animal)
{
    MenuManager* router = Singleton<MenuManager>::get();
    if (animal->mHunger < kTopLevel && mFeedButton->isClicked(0.0f, 0.0f, 1)) {
        animal->feed();
        router->closeAllPanels();
    }
    if (mTreatAnswer == 1) {
        // The treatment the player agreed to pay for is given to that animal only.
        if (animal == mTreatAnimal && isParkAnimal(animal)) {
            animal->treat(mTreatCost);
            router->closeAllPanels();
        }
        mTreatAnswer = -1;
        mTreatAnimal = nullptr;
    } else if (animal->mHealth < kTopLevel && mTreatButton->isClicked(0.0f, 0.0f, 1)) {
        askForTreatment(animal);
    }
}

// Free at once with the park's vet; otherwise a question with the price for the animal's health.
void MenuIngame::askForTreatment(DataAnimal* animal)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    if (storage->hasVet()) {
        mTreatCost = 0;
        mTreatAnswer = 1;
        mTreatAnimal = animal;
        return;
    }
    const int fullPrice = storage->mGlobalSettings->mAnimalTreatCost;
    Popup* popup = Singleton<Popup>::get();
    if (!storage->mGlobalSettings->mCashAccount->canPay(fullPrice)) {
        popup->setMode(0, 0);
        popup->setTitle(textsManager.get(L"treatpopup"));
        popup->setText(textsManager.get(L"nocashfortreat"));
        popup->setResult(nullptr);
        Singleton<MenuManager>::get()->runCommand(L"popupstart");
        mTreatCost = 0;
        return;
    }
    mTreatCost = animal->treatmentCost();
    mTreatAnimal = animal;
    popup->setMode(1, 0);
    popup->setTitle(textsManager.get(L"treatpopup"));
    popup->setText(formatWithNumberAndText(textsManager.get(L"wantpaytreat"), mTreatCost,
                                           textsManager.get(L"currency")));
    popup->setResult(&mTreatAnswer);
    Singleton<MenuManager>::get()->runCommand(L"popupstart");
}

// ---- fold and camera buttons

void MenuIngame::onFoldButton(int n, int current)
{
    if (current != kLayerReleased)
        return;
    for (int k = 1; k <= 3; ++k)
        if (isInTransition(fold(k)))
            return;
    Singleton<Sounds>::get()->play("click");
    if (Container* open = fold(mOpenFold))
        open->setStateAll(name, kShowHidden, kFoldMs);
    Container* target = fold(n);
    if (mOpenFold != n && target->getShowStates().second == kShowHidden) {
        target->setStateAll(name, kShowShown, kFoldMs);
        mOpenFold = n;
        if (GameCamera* cam = camera())
            cam->reset();
    } else {
        mOpenFold = 0;
    }
}

void MenuIngame::onWidget2(int previous, int current)
{
    onFoldButton(3, current);
}

void MenuIngame::onWidget3(int previous, int current)
{
    onFoldButton(2, current);
}

void MenuIngame::onWidget4(int previous, int current)
{
    onFoldButton(1, current);
}

void MenuIngame::onWidget5(int previous, int current)
{
    if (current == kLayerClick && camera())
        camera()->rotateStepMinus();
    else if (current == kLayerReleased)
        Singleton<Sounds>::get()->play("click");
}

void MenuIngame::onWidget6(int previous, int current)
{
    if (current == kLayerClick && camera())
        camera()->rotateStepPlus();
    else if (current == kLayerReleased)
        Singleton<Sounds>::get()->play("click");
}

void MenuIngame::onWidget7(int previous, int current)
{
    if (current == kLayerClick && camera())
        camera()->zoomStepA(1.0f);
}

void MenuIngame::onWidget8(int previous, int current)
{
    if (current == kLayerClick && camera())
        camera()->zoomStepB(1.0f);
    else if (current == kLayerReleased)
        Singleton<Sounds>::get()->play("click");
}

void MenuIngame::onWidget16(int previous, int current)
{
    if (current == kLayerClick && focusedAnimal()) {
        Singleton<Sounds>::get()->play("click");
        camera()->reset();
    }
}

void MenuIngame::onWidget22(int previous, int current)
{
    if (current == kLayerClick && followedVisitor()) {
        Singleton<Sounds>::get()->play("click");
        camera()->reset();
    }
}

// ---- draw

void MenuIngame::pinToEdges(float left, float right)
{
    MyImage* bar = mWidget0->getImages()[0];
    bar->setPosition(left, bar->getRect().y);
    MyImage* backdrop = mWidget1->getImages()[0];
    backdrop->setPosition(right + backdrop->getInitialRect().x - 1.0f, backdrop->getRect().y);
    pinImage(mWidget9, 0, left);
    pinImage(mWidget11, 0, left);
    for (WidgetBase* foldButton : {static_cast<WidgetBase*>(mWidget4), static_cast<WidgetBase*>(mWidget3),
                                   static_cast<WidgetBase*>(mWidget2)})
        for (size_t i = 0; i < 3; ++i)
            pinImage(foldButton, i, left);
    for (WidgetBase* cameraButton : {static_cast<WidgetBase*>(mWidget5), static_cast<WidgetBase*>(mWidget6),
                                     static_cast<WidgetBase*>(mWidget7), static_cast<WidgetBase*>(mWidget8)})
        for (size_t i = 0; i < cameraButton->getImages().size(); ++i)  // the pressed picture too
            pinImage(cameraButton, i, left);
}

void MenuIngame::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    const float left = leftEdge();
    const float right = rightEdge();
    pinToEdges(left, right);
    Singleton<Tutorial>::get()->bandLeft = left;

    mWidget1->setVisible(mAllButtonsAlpha > 0.0f && Singleton<DataStorage>::get()->hasAssistants());
    mWidget1->setColor(1.0f, 1.0f, 1.0f, mAllButtonsAlpha);
    for (WidgetButton* notice : mButtons2)
        notice->setVisible(0);

    OnePerson* visitor = followedVisitor();
    for (WidgetBase* w : {static_cast<WidgetBase*>(mWidget17), static_cast<WidgetBase*>(mWidget18),
                          static_cast<WidgetBase*>(mWidget19), static_cast<WidgetBase*>(mWidget20),
                          static_cast<WidgetBase*>(mWidget21), static_cast<WidgetBase*>(mWidget22)})
        w->setVisible(visitor != nullptr);
    if (visitor) {
        mWidget18->setText(visitor->mName, 0, 1);
        if (visitor->mOpinion) {
            mWidget19->setText(visitor->mOpinion->mTag, 0, 1);
            mWidget21->setText(visitor->mOpinion->mText, 0, 1);
            mVisitorHappiness->setLevel(visitor->mOpinion->mRating);
        } else {
            mWidget19->setText(L"", 0, 1);
            mWidget21->setText(L"", 0, 1);
        }
    }

    DataAnimal* animal = focusedAnimal();
    for (WidgetBase* w : {static_cast<WidgetBase*>(mWidget12), static_cast<WidgetBase*>(mWidget13),
                          static_cast<WidgetBase*>(mWidget14), static_cast<WidgetBase*>(mWidget15),
                          static_cast<WidgetBase*>(mWidget16)})
        w->setVisible(animal != nullptr);
    if (animal) {
        mPetHappiness->setLevel(animal->mHappiness);
        mHungerGauge->setLevel(animal->mHunger);
        mHealthGauge->setLevel(animal->mHealth);
        mWidget13->setText(animal->mName, 0, 1);
    }

    _MenuIngame::draw();
    Singleton<DataStorage>::get()->mGlobalSettings->mCashAccount->draw();

    if (visitor) {
        drawInto(visitor->mAvatarImage, mHelper10, getAlpha());
        mVisitorHappiness->draw(1.0f, 0.0f, 0.0f);
    }
    if (animal) {
        drawInto(animal->mPicture, mHelper8, getAlpha());
        mPetHappiness->draw(1.0f, 0.0f, 0.0f);
        mHungerGauge->draw(1.0f, 0.0f, 0.0f);
        mHealthGauge->draw(1.0f, 0.0f, 0.0f);
        if (animal->mHunger < kTopLevel)
            mFeedButton->draw(1.0f, 0.0f, 0.0f, 1);
        if (animal->mHealth < kTopLevel)
            mTreatButton->draw(1.0f, 0.0f, 0.0f, 1);
    }

    for (size_t i = 0; i < mNotices.size() && i < kShownNotices; ++i)
        drawAchievementNotice(mNotices[i], static_cast<int>(i), mButtons2[i]);

    // The open fold's button shows pressed.
    WidgetButton* openButton = mOpenFold == 1 ? mWidget4 : mOpenFold == 2 ? mWidget3 : mOpenFold == 3 ? mWidget2 : nullptr;
    if (openButton && openButton->getImages().size() > 2) {
        const float4 color = openButton->getColor();
        const float4 transform = openButton->getTransform();
        openButton->getImages()[2]->draw(color.x, color.y, color.z, color.w, transform.x, transform.y, transform.z,
                                         transform.w);
    }

    if (Singleton<MenuIngameFold1>::get()->getShowStates().second != kShowHidden ||
        Singleton<MenuIngameFold2>::get()->getShowStates().second != kShowHidden) {
        const float offsetX = right - 1.0f;
        mRepairAllButton->draw(mAllButtonsAlpha, offsetX, 0.0f, 1);
        mCleanAllButton->draw(mAllButtonsAlpha, offsetX, 0.0f, 1);
        mFeedAllButton->draw(mAllButtonsAlpha, offsetX, 0.0f, 1);
    }
}

// ---- notices

void MenuIngame::stepNotices()
{
    for (size_t i = 0; i < mNotices.size() && i < kShownNotices; ++i)
        mNotices[i]->timer = static_cast<float>(mNotices[i]->timer + static_cast<double>(kNoticeTimerStep));
    noticeBlinkPhase += kNoticeBlinkStep;
}

void MenuIngame::onNoticeButton(size_t position, int current)
{
    if (current != kLayerReleased || position >= mNotices.size())
        return;
    Singleton<Sounds>::get()->play("click");
    showAchievementInfo(mNotices[position]);
    removeAchievementNotice(position);
}

void MenuIngame::onWidget26(int previous, int current)
{
    onNoticeButton(0, current);
}

void MenuIngame::onWidget25(int previous, int current)
{
    onNoticeButton(1, current);
}

void MenuIngame::onWidget24(int previous, int current)
{
    onNoticeButton(2, current);
}

void MenuIngame::onWidget23(int previous, int current)
{
    onNoticeButton(3, current);
}

void MenuIngame::onWidget27(int previous, int current)
{
    onNoticeButton(4, current);
}

void MenuIngame::showAchievementInfo(Achievement* entry)
{
    entry->state = 1;
    entry->item->giveReward();
    Popup* popup = Singleton<Popup>::get();
    popup->setMode(0, 0);
    popup->setTitle(textsManager.get(L"achievementinformation"));
    popup->setText(entry->item->mCongratulations);
    popup->setResult(nullptr);
    Singleton<MenuManager>::get()->runCommand(L"popupstart");
}

// The clicked entry itself goes: two achievements of one name keep their own notices.
void MenuIngame::removeAchievementNotice(size_t position)
{
    if (position >= mNotices.size())
        return;
    delete mNotices[position];
    mNotices.erase(mNotices.begin() + static_cast<std::ptrdiff_t>(position));
}

// Blinks (hidden half of each period) once the notice is old enough, until it is opened or
// the pointer is over it.
void MenuIngame::drawAchievementNotice(Achievement* entry, int position, WidgetButton* button)
{
    button->setVisible(1);
    button->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (entry->timer >= kNoticeBlinkAfter && entry->state == 0 && button->getLayerStates().second == kLayerNormal &&
        noticeBlinkPhase > kTwoPi && std::sin(2.0 * noticeBlinkPhase) > 0.0)
        button->setColor(1.0f, 1.0f, 1.0f, 0.0f);
    button->setOffset(rightEdge() - 1.0f, 0.0f);
    button->draw();
}

// ---- edges

float MenuIngame::leftEdge()
{
    return 0.5f - CRender::get_aspect() * kBandHalfWidth;
}

float MenuIngame::rightEdge()
{
    return 0.5f + CRender::get_aspect() * kBandHalfWidth;
}
