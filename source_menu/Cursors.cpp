#include "source_menu/Cursors.h"

#include "core/ControlMngr.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "render/CRender.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {
constexpr float kHintOffsetX = -0.04f;
constexpr float kHintOffsetY = 0.06f;

// The menu words under which the park camera scrolls at the screen edges.
bool scrollsAtEdges(const std::wstring& menu)
{
    return menu == L"nomenu" || menu == L"popupend" || menu == L"scrollpopupend" || menu == L"returnfromoptions";
}

GameCamera* parkCamera()
{
    return Singleton<GameBackground3D>::get()->mCamera;
}
} // namespace

Cursors::~Cursors()
{
    for (CursorImage* record : cursorImages)
        delete record;
}

void Cursors::initCursor(CursorImage* record, WidgetBase* widget, WidgetBaseBase* helper)
{
    record->widget = widget;
    const float4 spot = helper->getRect();
    const float4 picture = widget->getRect();
    record->hotspotX = spot.x + spot.z * 0.5f - picture.x;
    record->hotspotY = spot.y + spot.w * 0.5f - picture.y;
    if (!widget->getImages().empty())
        widget->getImages()[0]->setPosition(0.0f, 0.0f);
}

void Cursors::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _Cursors::init(path);
    hoverFlag = 0;
    WidgetBase* const widgets[kCursorCount] = {mWidget4, mWidget6, mWidget11, mWidget7, mWidget8, mWidget9,
                                               mWidget10, mWidget2, mWidget0, mWidget3, mWidget1};
    WidgetBaseBase* const helpers[kCursorCount] = {mHelper4, mHelper5, mHelper10, mHelper6, mHelper7, mHelper8,
                                                   mHelper9, mHelper2, mHelper0, mHelper3, mHelper1};
    for (int i = 0; i < kCursorCount; ++i) {
        cursorImages[i] = new CursorImage;
        initCursor(cursorImages[i], widgets[i], helpers[i]);
    }
    if (!mWidget5->getImages().empty())
        mWidget5->getImages()[0]->setPosition(0.0f, 0.0f);
    hoverText.clear();
    cursorKind = 0;
}

void Cursors::reset()
{
    _Cursors::reset();
    Container::setEnabled(1);
    hoverText.clear();
}

bool Cursors::zone(float px, float py, float b, float r, bool overFold3Button, int& kind, int& direction)
{
    const float left = b + (0.5f - kBandHalfWidth * r);
    const float right = (0.5f + kBandHalfWidth * r) - b;
    const bool atLeft = px < left;
    const bool atRight = px > right;
    const bool atTop = py < b;
    const bool atBottom = py > 1.0f - b;
    if (atLeft && atTop) {
        kind = 6, direction = 5;
    } else if (atLeft && atBottom) {
        kind = 7, direction = 6;
    } else if (atRight && atTop) {
        kind = 8, direction = 7;
    } else if (atRight && atBottom) {
        kind = 9, direction = 8;
    } else if (atLeft) {
        kind = 2, direction = 1;
    } else if (atRight) {
        kind = 3, direction = 2;
    } else if (atTop) {
        kind = 4, direction = 3;
    } else if (atBottom) {
        if (overFold3Button)
            return false;
        kind = 5, direction = 4;
    } else {
        kind = 0, direction = 0;
    }
    return true;
}

void Cursors::update()
{
    if (!isEnabled())
        return;
    _Cursors::update();
    const PointerPosition pointer = Singleton<ControlMngr>::get()->getPointer(-1);
    GameCamera* camera = parkCamera();
    const float border = camera ? camera->getScrollBorder() : 0.0f;
    if (!scrollsAtEdges(Singleton<MenuManager>::get()->currentMenu())) {
        cursorKind = 0;
        if (camera)
            camera->setScrollDirection(0);
        return;
    }
    int direction = 0;
    if (!zone(pointer.x, pointer.y, border, CRender::get_aspect(),
              Singleton<MenuIngame>::get()->isFold3ButtonActive(), cursorKind, direction))
        return;
    if (camera)
        camera->setScrollDirection(direction);
}

void Cursors::drawCursor(const CursorImage* record, float x, float y)
{
    if (record->widget->getImages().empty())
        return;
    record->widget->getImages()[0]->draw(1.0f, 1.0f, 1.0f, 1.0f, x - record->hotspotX, y - record->hotspotY, 1.0f,
                                         1.0f);
}

void Cursors::draw()
{
    // Nothing before the pictures are bound.
    if (!isVisible() || !cursorImages[0])
        return;
    const PointerPosition pointer = Singleton<ControlMngr>::get()->getPointer(-1);
    if (cursorKind == 0) {
        if (!hoverFlag) {
            drawCursor(cursorImages[0], pointer.x, pointer.y);
            return;
        }
        drawCursor(cursorImages[1], pointer.x, pointer.y);
        mWidget5->setText(hoverText, 0, 1);
        if (!mWidget5->getImages().empty())
            mWidget5->getImages()[0]->setPosition(pointer.x + kHintOffsetX, pointer.y + kHintOffsetY);
        mWidget5->draw();
        return;
    }
    // Kinds 2 to 9 are the edge arrows of records 3 to 10.
    if (cursorKind >= 2 && cursorKind <= 9)
        drawCursor(cursorImages[cursorKind + 1], pointer.x, pointer.y);
}
