#include "source_menu/Popup.h"

#include "game/DataStorage.h"
#include "game/TextFormat.h"
#include "render/CRender.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

namespace {
constexpr float kMaxBackdropAlpha = 0.4f;
constexpr int kButtonKind = 14;
constexpr int kButtonStyle = 9;
} // namespace

Popup::~Popup()
{
    delete okButton;
    delete cancelButton;
}

void Popup::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _Popup::init(path);
    buttons = 0;
    cancelButton = new Button(mHelper1, kButtonKind, kButtonStyle);
    cancelButton->setText(textsManager.get(L"Cancel"));
    okButton = new Button(mHelper0, kButtonKind, kButtonStyle);
    okButton->setText(textsManager.get(L"Ok"));
}

// The labels exist once the layout is bound; openers may fill the popup before that.
void Popup::setTitle(const std::wstring& title)
{
    this->title = title;
    if (mWidget6)
        mWidget6->setText(title, 0, 1);
}

void Popup::setText(const std::wstring& text)
{
    this->text = text;
    if (mWidget7)
        mWidget7->setText(text, 0, 1);
}

void Popup::update()
{
    // Nothing before the popup has read its layout and made its buttons.
    if (!isEnabled() || !okButton)
        return;
    _Popup::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing) {
        if (states.first == kShowHidden)
            Container::setVisible(1);
        return;
    }
    if (states.second != kShowShown)
        return;
    if (states.first == kShowAppearing)
        Singleton<Sounds>::get()->play("popup");
    if (okButton->isClicked(0.0f, 0.0f, 1)) {
        if (result)
            *result = 1;
        Singleton<MenuManager>::get()->runCommand(L"popupend");
        return;
    }
    if (buttons == 1 && cancelButton->isClicked(0.0f, 0.0f, 1)) {
        if (result)
            *result = 0;
        Singleton<MenuManager>::get()->runCommand(L"popupend");
    }
}

void Popup::draw()
{
    if (!isVisible() || !okButton)
        return;
    drawBackdrop(std::min(mWidget3->getColor().w, kMaxBackdropAlpha));
    mWidget3->setVisible(0);
    mWidget2->setVisible(buttons == 1);
    mWidget4->setVisible(0);
    mWidget5->setVisible(buttons == 0);
    mWidget0->setVisible(variant == 0);
    mWidget1->setVisible(variant == 1);
    _Popup::draw();
    const float alpha = mWidget0->getColor().w;
    okButton->draw(alpha, 0.0f, 0.0f, 1);
    if (buttons == 1)
        cancelButton->draw(alpha, 0.0f, 0.0f, 1);
}

void Popup::drawBackdrop(float alpha)
{
    if (!mWidget3 || mWidget3->getImages().empty())
        return;
    const float aspect = CRender::get_aspect();
    const float left = 0.5f - kBandHalfWidth * aspect;
    const float right = 0.5f + kBandHalfWidth * aspect;
    MyImage* band = mWidget3->getImages()[0];
    band->setRect(left, 0.0f, right - left, 1.0f);
    band->draw(1.0f, 1.0f, 1.0f, alpha, 0.0f, 0.0f, 1.0f, 1.0f);
}

void Popup::showPlayerNotice()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    Popup* popup = Singleton<Popup>::get();
    if (storage->mPlayerNotices.empty() || popup->isVisible())
        return;
    DataStorage::PlayerNotice notice = storage->mPlayerNotices.front();
    storage->mPlayerNotices.erase(storage->mPlayerNotices.begin());
    popup->setMode(0, 1);
    popup->setTitle(textsManager.get(notice.mTitleKey.c_str()));
    popup->setText(formatWithNumberAndText(textsManager.get(notice.mTextKey.c_str()), notice.mNumber, notice.mFile));
    popup->setResult(nullptr);
    Singleton<MenuManager>::get()->runCommand(L"popupstart");
}
