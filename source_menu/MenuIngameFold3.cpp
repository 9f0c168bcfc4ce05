#include "source_menu/MenuIngameFold3.h"

#include "game/DataStorage.h"
#include "game/Profiles.h"
#include "source_menu/Button.h"
#include "source_menu/HudFold.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

MenuIngameFold3::~MenuIngameFold3()
{
    delete mOptionsButton;
    delete mTutorialButton;
    delete mExitButton;
}

void MenuIngameFold3::init(const char* path)
{
    _MenuIngameFold3::init(path);
    mOptionsButton = new Button(mHelper0, 0, 6);
    mOptionsButton->setText(textsManager.get(L"options"));
    mTutorialButton = new Button(mHelper1, 0, 6);
    mTutorialButton->setText(textsManager.get(L"TurnTutorialOn"));
    mExitButton = new Button(mHelper2, 0, 6);
    mExitButton->setText(textsManager.get(L"exit"));
}

void MenuIngameFold3::update()
{
    if (!hudfold::acceptsInput(*this))
        return;
    _MenuIngameFold3::update();
    if (!hudfold::settleShowState(*this))
        return;
    const std::pair<float, float> offset = hudfold::offsetOf(mWidget0);
    MenuManager* router = Singleton<MenuManager>::get();
    if (mOptionsButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"options");
    if (mTutorialButton->isClicked(offset.first, offset.second, 1))
        restartTutorial();
    if (mExitButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"exit");
}

void MenuIngameFold3::restartTutorial()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    if (storage->mCurrentProfile < 0 || storage->mCurrentProfile >= static_cast<int>(storage->mProfiles.size()))
        return;
    storage->mProfiles[storage->mCurrentProfile]->mTutorial = 1;
    Tutorial* tutorial = Singleton<Tutorial>::get();
    tutorial->step = 0;
    tutorial->pointerTarget = -1;
    for (TutMessage* message : tutorial->messages)
        message->shown = 0;
}

void MenuIngameFold3::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    MyImage* panel = mWidget0->getImages()[0];
    panel->setPosition(MenuIngame::leftEdge(), panel->getRect().y);

    _MenuIngameFold3::draw();

    const float alpha = mWidget0->getColor().w;
    const std::pair<float, float> offset = hudfold::offsetOf(mWidget0);
    mOptionsButton->draw(alpha, offset.first, offset.second, 0);
    mTutorialButton->setText(textsManager.get(L"TurnTutorialOn"));
    mTutorialButton->draw(alpha, offset.first, offset.second, 0);
    mExitButton->draw(alpha, offset.first, offset.second, 0);
}
