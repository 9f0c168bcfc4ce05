#include "source_menu/Button.h"

#include "core/ControlMngr.h"
#include "render/external/Sounds.h"
#include "source_menu/ButtonBar.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

bool hasLabel(int kind)
{
    return kind != 11 && kind != 12;
}

// Font style of a disabled button's text ("data/dat/fonts.dat" line): light, for the panel
// behind the button.
const int kStatusStyle = 15;

} // namespace

int Button::sLayers = 0;

Button::Button(WidgetBaseBase* anchor, int kind, int index) : kind(kind), index(index)
{
    const float4 place = anchor->getRect();
    x = place.x;
    y = place.y + 0.5f * place.w;
    if (!hasLabel(kind))
        return;
    // The name's pieces give the label its first text key ("name") and its font style.
    const std::wstring name = L"LABEL_name_" + std::to_wstring(index) + L"_o";
    const float4 box = Singleton<ButtonBar>::get()->getIconImage(kind, 2)->getRect();
    label = new WidgetLabel(name, box.x, box.y, box.z, box.w);
    label->setVisible(1);
    if (Singleton<FontStylesMgr>::get()->hasStyle(kStatusStyle)) {
        statusLabel = new WidgetLabel(L"LABEL_name_" + std::to_wstring(kStatusStyle) + L"_o", box.x, box.y, box.z,
                                      box.w);
        statusLabel->setVisible(1);
    }
}

Button::~Button()
{
    delete label;
    delete statusLabel;
}

int Button::isClicked(float offsetX, float offsetY, int playSound)
{
    if (label)
        label->update();
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(kind, 0)->getRect();
    ControlMngr* input = Singleton<ControlMngr>::get();
    const PointerPosition p = input->getPointer(-1);
    const int down = input->isPointerDown();
    if (layersSeen != sLayers) {
        layersSeen = sLayers;
        wasDown = 0;
    }
    // Each edge computed on its own, so a pointer on the bottom or right edge is never inside
    // by rounding.
    const float left = x + offsetX;
    const float centre = y + offsetY;
    const bool inside = left < p.x && p.x < left + picture.z && centre - 0.5f * picture.w < p.y
                        && p.y < centre + 0.5f * picture.w;
    if (!inside || down) {
        hover = 0;
        wasDown = down;
        return 0;
    }
    if (wasDown == 1) {
        wasDown = 0;
        hover = 0;
        if (playSound)
            Singleton<Sounds>::get()->play("click");
        return 1;
    }
    hover = 1;
    wasDown = down;
    return 0;
}

void Button::draw(float alpha, float offsetX, float offsetY, int wrap)
{
    ButtonBar* bank = Singleton<ButtonBar>::get();
    MyImage* normal = bank->getIconImage(kind, 0);
    const float4 size0 = normal->getRect();
    const float left = x + offsetX;
    const float top = y - 0.5f * size0.w + offsetY;
    if (enabled) {
        MyImage* picture = bank->getIconImage(kind, hover == 1 ? 1 : 0);
        float dx = left;
        float dy = top;
        if (hover == 1) {
            const float4 size1 = picture->getRect();
            dx += (size0.z - size1.z) * 0.5f;
            dy += (size0.w - size1.w) * 0.5f;
        }
        picture->draw(1.0f, 1.0f, 1.0f, alpha, dx, dy, 1.0f, 1.0f);
    }
    WidgetLabel* shown = enabled || !statusLabel ? label : statusLabel;
    if (shown) {
        shown->setText(text, 0, wrap);
        shown->setTransform(left, top, 1.0f, 1.0f);
        shown->setColor(1.0f, 1.0f, 1.0f, alpha);
        shown->draw();
    }
}
