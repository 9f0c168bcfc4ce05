#include "source_menu/MenuLoading.h"

#include "park/GameBackground3D.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"

#include <string>
#include <vector>

namespace {

// The loaded share of a scene that is loading, weighted; nothing while its total is unknown.
float sceneShare(CRender::Object* scene)
{
    if (!scene)
        return 0.0f;
    int loaded = 0;
    int total = 0;
    scene->get_counts(&loaded, &total);
    if (total == 0)
        return 0.0f;
    return MenuLoading::kSceneWeight * static_cast<float>(loaded) / static_cast<float>(total);
}
} // namespace

void MenuLoading::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MenuLoading::init(path);
}

void MenuLoading::update()
{
    if (!isEnabled())
        return;
    _MenuLoading::update();
    const std::pair<int, int> states = getShowStates();
    // Every screen's images are requested once, as the loading screen starts to show: the
    // loads run while it fades in instead of after (a screen asked again ignores the ask).
    if (states.second == kShowAppearing && states.first == kShowHidden) {
        Container::setVisible(1);
        Singleton<ContainersMngr>::get()->loadAll();
    }
    if (states.second == kShowHidden && states.first == kShowDisappearing)
        dropPictures();
}

// The loading screen is shown once, at start-up. Its pictures (about 2 MiB of texture) leave
// the loader's cache as its hide ends, instead of staying there unreferenced for the rest of
// the game; a picture another screen also holds stays loaded for that screen.
void MenuLoading::dropPictures()
{
    std::vector<std::string> paths;
    for (WidgetBase* child : mChildren)
        for (MyImage* image : child->getImages())
            if (!image->getFilePath().empty())
                paths.push_back(image->getFilePath());
    Container::unload();
    for (const std::string& path : paths)
        bgLoader.unload(path);
}

float MenuLoading::progress()
{
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    return kScreensWeight * Singleton<ContainersMngr>::get()->loadedFraction() + sceneShare(park->mBackground3D)
           + sceneShare(park->mBuildingsHelpers);
}

void MenuLoading::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    const float p = progress();
    if (!mWidget3->getImages().empty()) {
        const float4 bar = mWidget3->getImages()[0]->getRect();
        mWidget3->setClipRect(0.0f, 0.0f, bar.x + p * bar.z, 1.0f);
    }
    if (!mWidget0->getImages().empty()) {
        const float aspect = CRender::get_aspect();
        mWidget0->getImages()[0]->setRect(0.5f - kBandHalfWidth * aspect, 0.0f, 2.0f * kBandHalfWidth * aspect,
                                          1.0f);
    }
    _MenuLoading::draw();
}
