#include "park/GameBackground3D.h"

#include "core/ControlMngr.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "park/GameCamera.h"
#include "park/PublicManager.h"
#include "park/SlideCamera.h"
#include "park/TeachTrick.h"
#include "source_menu/Cursors.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"

#include <cstdio>
#include <cstring>
#include <set>

// Index: layer flags - the screen - slide shows

namespace {

const int kScenePriority = 100;
// Transition of the HUD hidden and shown around a slide show.
const char* const kTransition = "game";
// Fade steps of a slide show: up to the backdrop, then away from it.
const float kFadeInStep = 0.025f;
const float kFadeOutStep = 0.04f;
// Longest walk of the pointer's ray down to a marker's height.
const int kMaxRaySteps = 250;

CRender::Object* requestScene(const char* path)
{
    return requestObject(path);
}

} // namespace

// ---- layer flags

LayerFlags::LayerFlags()
{
    std::memset(mFlags, '0', kCount);
    mFlags[kCount] = '\0';
}

char* LayerFlags::at(int layer)
{
    if (layer >= 0 && layer < kCount)
        return &mFlags[layer];
    static std::set<int> reported;
    if (reported.insert(layer).second)
        std::printf("Warning: park layer %d lies outside 0..%d and is ignored\n", layer, kCount - 1);
    return nullptr;
}

void LayerFlags::show(int layer)
{
    if (char* c = at(layer))
        *c = '1';
}

bool LayerFlags::isOn(int layer) const
{
    return layer >= 0 && layer < kCount && mFlags[layer] == '1';
}

void LayerFlags::apply(const std::vector<std::pair<int, std::vector<int>>>& rules)
{
    for (const auto& rule : rules) {
        bool met = true;
        for (int condition : rule.second) {
            if (!(condition >= 0 && condition < kCount)) {
                at(condition);
                met = false;
            } else if (mFlags[condition] != '1') {
                met = false;
            }
            if (!met)
                break;
        }
        if (!met)
            continue;
        if (rule.first >= 1) {
            show(rule.first);
        } else if (char* c = at(-rule.first)) {
            *c = '0';
        }
    }
}

// ---- the screen

void GameBackground3D::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _GameBackground3D::init(path);
    // Loading a saved game constructs the camera again in place, so pointers to it stay valid.
    if (mCamera)
        *mCamera = GameCamera();
    else
        mCamera = new GameCamera();
    mBackground3D = requestScene("data/3dn/main3D.3dn");
    mBackground3DLight = requestScene("data/3dn/mBackground3DLight.3dn");
    mBackground3DFX = requestScene("data/3dn/mBackground3DFX.3dn");
    mBuildingsHelpers = requestScene("data/3dn/Buildings_Helpers.3dn");
    mSlideCameras = requestScene("data/3dn/Slide_cameras.3dn");
}

void GameBackground3D::load()
{
    _GameBackground3D::load();
}

void GameBackground3D::unload()
{
    _GameBackground3D::unload();
}

void GameBackground3D::onFrame()
{
    _GameBackground3D::onFrame();
}

void GameBackground3D::reset()
{
    _GameBackground3D::reset();
    mBackgroundTime = mFXTime = 0.0f;
}

void GameBackground3D::stepAnimationTime()
{
    if (mBackground3D && mBackground3D->is_loaded())
        mBackgroundTime += mBackground3D->get_fps() * 0.01f;
    if (mBackground3DFX && mBackground3DFX->is_loaded())
        mFXTime += mBackground3DFX->get_fps() * 0.01f;
}

void GameBackground3D::update()
{
    if (mCamera)
        mCamera->trackPress();
    if (!isEnabled())
        return;
    _GameBackground3D::update();
    // The park draws through the whole show transition, from its first step.
    std::pair<int, int> show = getShowStates();
    if (show.second == kShowAppearing && show.first == kShowHidden)
        setVisible(1);

    if (show.second == kShowShown) {
        MenuManager* menus = Singleton<MenuManager>::get();
        Cursors* cursors = Singleton<Cursors>::get();
        DataStorage* storage = Singleton<DataStorage>::get();
        mSlidePlaying = 0;
        menus->mExitBlocked = 0;
        SlideCamera* nearest = nullptr;
        for (DataBuilding* building : storage->mParkBuildings) {
            for (SlideCamera* entry : building->mSlideCameras) {
                stepSlideEntry(entry);
                if (entry->mHovered)
                    cursors->hoverFlag = 1;
                if (entry->mPlaying)
                    mSlidePlaying = 1;
                if (!nearest || entry->mHoverDistance < nearest->mHoverDistance)
                    nearest = entry;
                if (entry->mFadingIn || entry->mFadingOut)
                    menus->mExitBlocked = 1;
            }
        }
        if (mSlidePlaying) {
            stepAnimationTime();
            menus->mExitBlocked = 1;
        }
        float r = storage->mGlobalSettings ? storage->mGlobalSettings->mMouseRadiusAccuracy : 0.0f;
        // Pointing into the park is ignored while a panel is open, as for the animals and the
        // visitors: a click on the panel must not start the show of the building behind it. A
        // press is also refused while the game is paused or a popup is up, when the visitors wait
        // too: the HUD stands still then, and the show's end would find its hide still under way
        // and not bring it back.
        const MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
        if (nearest && nearest->mHoverDistance < r * r && mCamera && !mCamera->isPointerOverHud() &&
            !menus->isAnyPanelOpen()) {
            nearest->mHovered = 1;
            cursors->hoverFlag = 1;
            cursors->hoverText = nearest->mHoverText;
            if (Singleton<ControlMngr>::get()->isPointerDown() && !dateBar->paused && !dateBar->modal) {
                nearest->mFadingIn = 1;
                Singleton<MenuDateBar>::get()->setStateAll(kTransition, 0, 0);
                Singleton<MenuIngame>::get()->setStateAll(kTransition, 0, kTransitionMs);
                Singleton<Cursors>::get()->setStateAll(kTransition, 0, kTransitionMs);
                Singleton<MenuIngameFold1>::get()->setStateAll(kTransition, 0, kTransitionMs);
                Singleton<MenuIngameFold2>::get()->setStateAll(kTransition, 0, kTransitionMs);
                Singleton<MenuIngameFold3>::get()->setStateAll(kTransition, 0, kTransitionMs);
            }
        }
    }

    Singleton<PublicManager>::get()->update();
    if (!mSlidePlaying && mCamera)
        mCamera->control();
}

void GameBackground3D::buildLayerFlags(LayerFlags& flags) const
{
    DataStorage* storage = Singleton<DataStorage>::get();
    GlobalSettings* settings = storage->mGlobalSettings;
    if (settings)
        for (int layer : settings->mStartingLayers)
            flags.show(layer);
    for (DataBuilding* building : storage->mParkBuildings)
        for (int layer : building->mLayersShow)
            flags.show(layer);
    if (settings)
        flags.apply(settings->mLayerRules);
}

void GameBackground3D::draw()
{
    if (!isVisible())
        return;
    // The layout's one picture is never shown: the park is the screen.
    if (!mChildren.empty())
        mChildren[0]->setVisible(0);
    _GameBackground3D::draw();

    DataStorage* storage = Singleton<DataStorage>::get();
    if (!Singleton<TeachTrick>::get()->isOpen())
        for (DataAnimal* animal : storage->mParkAnimals)
            animal->drawAvatar();
    Singleton<PublicManager>::get()->draw();
    if (mCamera)
        mCamera->applyView();

    LayerFlags flags;
    buildLayerFlags(flags);
    const float4 white(1, 1, 1, 1);
    if (mBackground3D)
        mBackground3D->draw_rotated(0, 0, 0, 0, 0, 0, mBackgroundTime, nullptr, 0, flags.c_str(), nullptr, 0, &white);
    if (mBackground3DLight)
        mBackground3DLight->draw_rotated(0, 0, 0, 0, 0, 0, 0.0f, nullptr, 0, "", nullptr, 0, &white);
    if (mBackground3DFX)
        mBackground3DFX->draw_rotated(0, 0, 0, 0, 0, 0, mFXTime, nullptr, 0, flags.c_str(), nullptr, 0, &white);

    for (DataBuilding* building : storage->mParkBuildings)
        for (SlideCamera* entry : building->mSlideCameras)
            drawSlideEntry(entry);
}

// ---- slide shows

// An entry's life: idle (measuring the pointer's distance to its marker), fading in before the
// flight, fading out over the flight's first frame, playing, fading in over its last frame,
// fading out after it, idle. mPlaying changes only at the top of a fade-in.
void GameBackground3D::stepSlideEntry(SlideCamera* entry)
{
    if (entry->mFadingOut) {
        entry->mFade -= kFadeOutStep;
        if (entry->mFade < 0.0f) {
            entry->mTime = 0.0f;
            entry->mFade = 0.0f;
            entry->mFadingIn = entry->mFadingOut = 0;
        }
        return;
    }
    if (entry->mFadingIn) {
        entry->mFade += kFadeInStep;
        if (entry->mFade > 1.0f) {
            entry->mFade = 1.0f;
            entry->mFadingIn = 0;
            entry->mFadingOut = 1;
            entry->mPlaying = !entry->mPlaying;
        }
        return;
    }
    entry->mHovered = 0;
    if (!mSlideCameras || !mSlideCameras->is_loaded())
        return;
    if (entry->mPlaying) {
        float fps = mSlideCameras->get_fps();
        // A scene without a frame rate has no flight to wait for: it ends at once.
        entry->mTime += fps > 0.0f ? fps * 0.01f : static_cast<float>(entry->mFrames) + 1.0f;
        if (entry->mTime > static_cast<float>(entry->mFrames)) {
            entry->mFadingIn = 1;
            Singleton<MenuDateBar>::get()->setStateAll(kTransition, 2, 0);
            Singleton<MenuIngame>::get()->setStateAll(kTransition, 2, kTransitionMs);
            Singleton<Cursors>::get()->setStateAll(kTransition, 2, kTransitionMs);
        }
        return;
    }
    if (entry->mNodeIndex == -1) {
        entry->mNodeIndex = mSlideCameras->find_node(wideToString(entry->mNodeName).c_str());
        return;
    }
    if (Singleton<MenuManager>::get()->isAnyPanelOpen() || !mCamera)
        return;
    float4x3 m;
    mSlideCameras->get_node_matrix(entry->mNodeIndex, 0.0f, &m);
    entry->mPoint = float3(m.m[0][3], m.m[1][3], m.m[2][3]);
    PointerPosition pointer = Singleton<ControlMngr>::get()->getPointer(-1);
    float3 r = mCamera->mouseRay(pointer.x, pointer.y);
    float3 q = mCamera->mPosition;
    for (int i = 0; i < kMaxRaySteps && q.z > entry->mPoint.z; ++i)
        q = float3(q.x + r.x, q.y + r.y, q.z + r.z);
    float dx = entry->mPoint.x - q.x, dy = entry->mPoint.y - q.y;
    entry->mHoverDistance = dx * dx + dy * dy;
}

void GameBackground3D::drawSlideEntry(SlideCamera* entry)
{
    if (!entry->mPlaying || !mSlideCameras || !mSlideCameras->is_loaded())
        return;
    mSlideCameras->set_camera(CRender::current(), entry->mTime, wideToString(entry->mCameraName).c_str());
    const float4 white(1, 1, 1, 1);
    mSlideCameras->draw_rotated(0, 0, 0, 0, 0, 0, entry->mTime, nullptr, 0, wideToString(entry->mLayers).c_str(),
                                nullptr, 0, &white);
    Singleton<Popup>::get()->drawBackdrop(entry->mFade);
}
