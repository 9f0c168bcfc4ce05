#include "source_menu/Tutorial.h"

#include "game/DataStorage.h"
#include "game/KeyFile.h"
#include "game/Profiles.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/MainMenuBand.h"
#include "source_menu/MenuBuildingBuySell.h"
#include "source_menu/MenuBuildingBuySell1.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuPetBuySell.h"
#include "source_menu/MenuPetsShow.h"
#include "source_menu/MenuTickets.h"
#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <utility>

// Index: messages - the file - the screen - the step machine - the pointer

namespace {

const char* const kTutorialFile = "data/game/tutorial.txt";
const char* const kTransition = "game";
const int kStyle = 9;
const float kPhaseStep = 0.02f;
const float kWobble = 0.008f;
const float kWobbleRateX = 1.1f;
const float kWobbleRateY = 0.5555556f;
const float kMaxBackdropAlpha = 0.4f;
const float kPointerAlpha = 0.99f;

DataProfile* currentProfile()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    const int index = storage->mCurrentProfile;
    if (index < 0 || index >= static_cast<int>(storage->mProfiles.size()))
        return nullptr;
    return storage->mProfiles[index];
}

bool tutorialOn()
{
    DataProfile* profile = currentProfile();
    return profile && profile->mTutorial;
}

template <class T>
bool shown()
{
    return Singleton<T>::get()->getShowStates().second == kShowShown;
}

template <class T>
bool visible()
{
    return Singleton<T>::get()->isVisible() != 0;
}

bool cameraBusy()
{
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    return camera && camera->isBusy();
}

// The message popup's dimming picture over the centred band.
void drawModalBackdrop(float alpha)
{
    WidgetCanvas* backdrop = Singleton<Popup>::get()->mWidget3;
    if (!backdrop || backdrop->getImages().empty())
        return;
    stretchOverBand(backdrop);
    backdrop->getImages()[0]->draw(1.0f, 1.0f, 1.0f, alpha, 0.0f, 0.0f, 1.0f, 1.0f);
}

} // namespace

// ---- messages

TutMessage::TutMessage(int id, int pointer, int withSound, const std::wstring& title, const std::wstring& text)
    : id(id), title(title), text(text), withSound(withSound), pointer(pointer)
{
}

void TutMessage::show()
{
    if (shown)
        return;
    shown = 1;
    Singleton<Tutorial>::get()->setStateAll(kTransition, kShowShown, kTransitionMs);
}

void Tutorial::playedBy(const std::string& path)
{
    if (path == seenBy)
        return;
    std::vector<int> theirs;
    const auto found = seenByOthers.find(path);
    if (found != seenByOthers.end()) {
        theirs = std::move(found->second);
        seenByOthers.erase(found);
    }
    if (!seenBy.empty()) {
        std::vector<int>& kept = seenByOthers[seenBy];
        kept.clear();
        for (const TutMessage* message : messages)
            kept.push_back(message->shown);
    }
    for (size_t i = 0; i < messages.size(); ++i)
        messages[i]->shown = i < theirs.size() ? theirs[i] : 0;
    seenBy = path;
}

void Tutorial::forgetPlayer(const std::string& path)
{
    seenByOthers.erase(path);
    if (path == seenBy)
        seenBy.clear();
}

void Tutorial::playerMoved(const std::string& from, const std::string& to)
{
    forgetPlayer(to);
    if (from == seenBy)
        seenBy = to;
    const auto found = seenByOthers.find(from);
    if (found == seenByOthers.end())
        return;
    seenByOthers[to] = std::move(found->second);
    seenByOthers.erase(from);
}

// ---- the file

std::vector<TutMessage*> readTutorialMessages(const std::string& path)
{
    std::vector<TutMessage*> messages;
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (!r.key(L"[tutorial message]", 5))
            continue;
        int id = 0;
        const bool idRead = r.readInt(id);
        // "<word> <flag>" and "<word> <target>": the word is the file's own wording.
        int withSound = 0;
        std::vector<std::wstring> sound = r.items();
        if (sound.size() < 2)
            r.warn("no sound flag, the message shows silently");
        else if (!r.toInt(sound[1], withSound))
            withSound = 0;
        int pointer = -1;
        std::vector<std::wstring> target = r.items();
        if (target.size() < 2)
            r.warn("no pointer target, none taken");
        else if (!r.toInt(target[1], pointer))
            pointer = -1;
        if (pointer < -1 || pointer >= Tutorial::kPointerCount) {
            r.warn("pointer target outside -1..11, none taken");
            pointer = -1;
        }
        const std::wstring title = r.value();
        const std::wstring text = r.value();
        if (!idRead) {
            r.warn("no message id, message skipped");
            continue;
        }
        messages.push_back(new TutMessage(id, pointer, withSound != 0, title, text));
    }
    if (messages.empty())
        std::fprintf(stderr, "Warning: %s holds no tutorial message; the tutorial shows none\n",
                     path.c_str());
    return messages;
}

// ---- the screen

Tutorial::~Tutorial()
{
    delete okButton;
    delete turnOffButton;
    for (TutMessage* message : messages)
        delete message;
}

void Tutorial::loadMessages(const char* path)
{
    phase = 0.0f;
    assignIfEmpty(name, nameFromPath(path));
    _Tutorial::init(path);
    step = 0;
    pointerTarget = -1;
    bandLeft = 0.0f;
    buildingBought = petAccepted = foodBought = priceChanged = 0;
    turnOffButton = new Button(mHelper0, 16, kStyle);
    turnOffButton->setText(textsManager.get(L"TutorialTurnOff"));
    okButton = new Button(mHelper2, 15, kStyle);
    okButton->setText(textsManager.get(L"Ok"));
    messages = readTutorialMessages(kTutorialFile);
}

void Tutorial::showMessage(int id)
{
    if (!tutorialOn())
        return;
    for (TutMessage* message : messages) {
        if (message->id != id || message->shown)
            continue;
        pointerTarget = message->pointer;
        mWidget13->setText(message->title, 0, 1);
        mWidget14->setText(message->text, 0, 1);
        message->show();
        if (message->withSound)
            Singleton<Sounds>::get()->play("popup");
        return;
    }
}

void Tutorial::update()
{
    phase += kPhaseStep;
    if (!isEnabled())
        return;
    _Tutorial::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown)
        return;
    if (turnOffButton->isClicked(0.0f, 0.0f, 1)) {
        setStateAll(kTransition, kShowHidden, kTransitionMs);
        if (DataProfile* profile = currentProfile())
            profile->mTutorial = 0;
    }
    if (okButton->isClicked(0.0f, 0.0f, 1))
        setStateAll(kTransition, kShowHidden, kTransitionMs);
}

void Tutorial::draw()
{
    if (!isVisible())
        return;
    mWidget15->setVisible(0);
    for (WidgetCanvas* pointer : mCanvases0)
        pointer->setVisible(0);
    const float alpha = mWidget12->getColor().w;
    drawModalBackdrop(std::min(kMaxBackdropAlpha, alpha));
    _Tutorial::draw();
    turnOffButton->draw(alpha, 0.0f, 0.0f, 1);
    okButton->draw(alpha, 0.0f, 0.0f, 1);
    DataProfile* profile = currentProfile();
    if (profile && profile->mAvatar) {
        const float4 r = mHelper1->getRect();
        profile->mAvatar->draw(r.x, r.y, r.z, r.w, 1.0f, 1.0f, 1.0f, alpha, 1);
    }
    mWidget15->setVisible(1);
    mWidget15->draw();
}

// ---- the step machine

bool Tutorial::stepReady() const
{
    switch (step) {
    case 0:
    case 1:
    case 2:
        return shown<MenuDateBar>();
    case 3:
    case 13:
        return shown<MenuIngameFold2>();
    case 4:
    case 5:
        return shown<MenuBuildingBuySell>();
    case 6:
    case 7:
        return buildingBought && !cameraBusy();
    case 8:
    case 11:
        return shown<MenuIngameFold1>();
    case 9:
        return shown<MenuPetBuySell>();
    case 10:
        return petAccepted && !cameraBusy();
    case 12:
        return foodBought != 0;
    case 14:
        return shown<MenuTickets>();
    case 15:
        return priceChanged != 0;
    case 16:
        return shown<MenuPetsShow>();
    default:
        return false;
    }
}

void Tutorial::checkTriggers()
{
    wobbleX = kWobble * std::sin(kWobbleRateX * phase);
    wobbleY = kWobble * std::sin(kWobbleRateY * phase);
    if (getShowStates().second != kShowHidden)
        return;
    if (step >= kLastStep) {
        pointerTarget = -1;
        return;
    }
    if (!stepReady())
        return;
    // Steps 1 to 16 show their message; step 16's condition only ends the tutorial.
    if (step < 16)
        showMessage(step + 1);
    ++step;
}

// ---- the pointer

void Tutorial::updatePointer()
{
    if (!tutorialOn() || pointerTarget < 0 || pointerTarget >= static_cast<int>(mCanvases0.size()))
        return;
    if (getShowStates().second != kShowHidden || cameraBusy())
        return;
    // A popup holds every click until it closes; the pointer, drawn after the screens, would lie
    // over it and point at what cannot be clicked. It shows again once the popup is gone.
    if (visible<Popup>() || visible<ScrollPopup>())
        return;
    bool show = false;
    bool followsBand = true;
    switch (pointerTarget) {
    case 0:
    case 3:
    case 8:
        show = visible<MenuIngame>();
        break;
    case 1:
    case 9:
        show = visible<MenuIngameFold2>();
        break;
    case 2:
        show = visible<MenuBuildingBuySell1>();
        followsBand = false;
        break;
    case 4:
    case 6:
    case 7:
        show = visible<MenuIngameFold1>();
        break;
    case 5:
        show = visible<MenuPetBuySell>();
        followsBand = false;
        break;
    case 10:
        show = visible<MenuTickets>();
        followsBand = false;
        break;
    case 11:
        show = visible<MenuIngameFold1>() || visible<MenuIngameFold2>();
        break;
    }
    WidgetCanvas* pointer = mCanvases0[pointerTarget];
    if (!show || pointer->getImages().empty())
        return;
    const float x = (followsBand ? bandLeft : 0.0f) + wobbleX;
    pointer->getImages()[0]->draw(1.0f, 1.0f, 1.0f, kPointerAlpha, x, wobbleY, 1.0f, 1.0f);
}
