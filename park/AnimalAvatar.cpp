#include "park/AnimalAvatar.h"

#include "core/ControlMngr.h"
#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/TeachTrick.h"
#include "source_menu/Cursors.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/misc.h"

#include <algorithm>
#include <cstdio>

namespace {

// The coat is the diffuse map of the figure's body material.
const char* const kCoatMaterial = "Pingwin";
const char* const kCoatSlot = "slot_1_0";
// Figure layers of the markers, and the shortest mask that holds both.
const int kUnwellLayer = 2;
const int kHungryLayer = 3;
const size_t kMarkerMaskLength = 4;
// Levels (0..7) at or below which the markers show.
const int kHungryLevel = 3;
const int kUnwellLevel = 6;
// Place frames per 10 ms step: the walk along the place path.
const float kPlaceStep = 0.2f;
// Longest walk of the pointer's ray down to the figure's height.
const int kMaxRaySteps = 250;
// The figure can be pointed at only with the camera's wide, free view.
const float kPointingFov = 50.0f;

// The species' animation of that (lower-case) name; 0..0 for a name the species lacks.
Animation animationOf(const std::wstring& species, const std::wstring& name)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    auto table = storage->mAnimations.find(species);
    if (table == storage->mAnimations.end())
        return Animation();
    auto found = table->second.find(name);
    return found == table->second.end() ? Animation() : found->second;
}

bool isEating(const std::wstring& animation)
{
    return animation == L"jedzenie" || animation == L"jedzenie_chodzac";
}

} // namespace

AnimalAvatar::AnimalAvatar(const std::string& scenePath, const std::string& placeName, int creatorWord,
                           CRender::Object* placeScene, const std::wstring& species, int variant)
    : mFigure(requestObject(scenePath)), mPlaceScene(placeScene), mType(species), mVariant(variant),
      mPlaceNodeName(placeName), mCreatorWord(creatorWord)
{
    mMixer.material = kCoatMaterial;
    mMixer.slot = kCoatSlot;
    mMixer.image = nullptr;
    const auto& skins = Singleton<DataStorage>::get()->mSkins[species];
    if (variant >= 0 && variant < static_cast<int>(skins.size())) {
        mMixer.image = skins[size_t(variant)].first;
        mLayerMask = skins[size_t(variant)].second;
    } else {
        std::printf("Warning: %s has no coat %d, the figure keeps its own\n", wideToString(species).c_str(), variant);
    }
}

// ---- animations

void AnimalAvatar::setAnimation(const std::wstring& name)
{
    mAnimation = toLowerWide(name);
    mAnimTime = static_cast<float>(animationOf(mType, mAnimation).mStart);
}

void AnimalAvatar::playThen(const std::wstring& name)
{
    mNextAnimation = mAnimation;
    setAnimation(name);
}

bool AnimalAvatar::isPlaying(const std::wstring& name) const
{
    Animation a = animationOf(mType, toLowerWide(name));
    return static_cast<float>(a.mStart) <= mAnimTime && mAnimTime <= static_cast<float>(a.mEnd);
}

// ---- the logic step

void AnimalAvatar::update(DataAnimal* animal)
{
    if (mFigure->is_loaded())
        mAnimTime += mFigure->get_fps() * 0.01f;

    if (!animal || Singleton<TeachTrick>::get()->isOpen()) {
        mHungry = mUnwell = 0;
    } else {
        mHungry = animal->mHunger <= kHungryLevel;
        mUnwell = animal->mHealth <= kUnwellLevel;
    }

    Animation current = animationOf(mType, mAnimation);
    if (mAnimTime > static_cast<float>(current.mEnd)) {
        if (!mNextAnimation.empty()) {
            mAnimation = mNextAnimation;
            mNextAnimation.clear();
            current = animationOf(mType, mAnimation);
        }
        mAnimTime = static_cast<float>(current.mStart);
    }

    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    if (animal && camera && !camera->mFollowAnimal && !camera->mFollowPerson && camera->mFov > kPointingFov &&
        mPlaceNode != -1 && !Singleton<MenuManager>::get()->isAnyPanelOpen() && !camera->isPointerOverHud()) {
        ControlMngr* input = Singleton<ControlMngr>::get();
        PointerPosition pointer = input->getPointer(-1);
        float3 d = camera->mouseRay(pointer.x, pointer.y);
        float3 p = camera->mPosition;
        for (int i = 0; i < kMaxRaySteps && p.z > mPosition.z; ++i)
            p = float3(p.x + d.x, p.y + d.y, p.z + d.z);
        float dx = mPosition.x - p.x, dy = mPosition.y - p.y;
        float r = Singleton<DataStorage>::get()->mGlobalSettings->mMouseRadiusAccuracy;
        int down = input->isPointerDown();
        if (dx * dx + dy * dy < r * r) {
            Cursors* cursors = Singleton<Cursors>::get();
            cursors->hoverFlag = 1;
            cursors->hoverText = animal->mName;
            if (down && !mClickLatch) {
                mClickLatch = 1;
                camera->focusOn(animal);
                Singleton<MenuIngameFold1>::get()->setStateAll("game", 0, kTransitionMs);
                Singleton<MenuIngameFold2>::get()->setStateAll("game", 0, kTransitionMs);
                Singleton<MenuIngameFold3>::get()->setStateAll("game", 0, kTransitionMs);
                Singleton<MenuIngame>::get()->mOpenFold = 0;
            }
        }
        if (!down)
            mClickLatch = 0;
    }

    if (!isEating(mAnimation))
        mPlaceTime += kPlaceStep;
}

void AnimalAvatar::updateInPark(DataAnimal* animal)
{
    animal->mHappiness = DataAnimal::happinessOf(animal->mHunger, animal->mHealth);
    if (!animal->mAtDoctor && animal->mAvatar)
        animal->mAvatar->update(animal);
    if (animal->mFed && !(animal->mAvatar && animal->mAvatar->isPlaying(L"jedzenie")))
        animal->mFed = 0;
}

// ---- drawing

void AnimalAvatar::draw()
{
    if (!mPlaceScene || !mFigure || !mPlaceScene->is_loaded() || !mFigure->is_loaded())
        return;
    if (mPlaceNode == -1)
        mPlaceNode = mPlaceScene->find_node(mPlaceNodeName.c_str());
    if (mPlaceNode == -1)
        return;

    // A mask shorter than the marker layers is padded, so the markers never end it early.
    char mask[256];
    size_t n = std::min(mLayerMask.size(), sizeof mask - 1);
    for (size_t i = 0; i < n; ++i)
        mask[i] = static_cast<char>(mLayerMask[i]);
    for (; n < kMarkerMaskLength; ++n)
        mask[n] = '0';
    mask[n] = '\0';
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    if (!camera || !camera->mFollowAnimal) {
        if (mUnwell)
            mask[kUnwellLayer] = '1';
        else if (mHungry)
            mask[kHungryLayer] = '1';
    }

    float4x3 m;
    mPlaceScene->get_node_matrix(mPlaceNode, mPlaceTime, &m);
    const float4 colour(1, 1, 1, 1);
    mFigure->draw(&m, mAnimTime, nullptr, 0, mask, &mMixer, mMixer.image ? 1 : 0, &colour);
    mPosition = float3(m.m[0][3], m.m[1][3], m.m[2][3]);
    mDrawn = 1;
}
