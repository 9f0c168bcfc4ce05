#include "park/GameCamera.h"

#include "core/ControlMngr.h"
#include "core/sdl_layer.h"
#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "game/KeyFile.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuManager.h"
#include "toolkit/widgets/WidgetCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// Index: helpers - settings - per-step control - HUD operations - queries

namespace {

const char* const kCameraFile = "data/game/camera.txt";
const float kHalfPi = 1.5707963267948966f;
// Share of the remaining distance a glide covers per step.
const float kGlideRate = 0.02f;
// Field of view while following an animal or a visitor.
const float kFollowFov = 22.0f;
// Zoom amount per step while the Page keys are held.
const float kKeyZoom = 9.0f;
// The HUD's pointer picture is drawn for a 4:3 canvas, whatever the window.
const float kRayAspect = 1.33f;
// Longest ground walk: far beyond any sensible height over the smallest downward slope.
const int kMaxGroundSteps = 100000;
// Windows virtual-key codes of the arrow keys.
const int kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40;

// Values the camera keeps for a setting that "camera.txt" lacks or gives out of range.
struct Defaults {
    float fov = 55.0f;
    float pitchAtMin = -0.7f, pitchAtMax = -1.05f;
    float scrollBorder = 0.02f;
    float accelerate = 1.05f;
    float moveStep = 0.35f;
    float rotateStep = 0.012f;
    float rotateStart = 1.5708f;
    float zoomStep = 0.12f;
    float zoomStart = 32.0f;
    float zoomMax = 55.0f;
    float zoomMin = 10.0f;
    float rotateMax = 2.25f;
    float rotateMin = 0.89f;
    float smooth = 0.08f;
    GroundPoint startPoint{0.0f, -47.0f};
    GroundPoint boundOffset{0.0f, -2.0f};
    GroundPoint boundRadius{56.0f, 46.0f};
};
const Defaults kDefaults;

// Whether the point lies on a shown widget of the visible screen: on its current picture's
// rectangle, moved and scaled by its transform as the widgets' own input tests it. Boxes and
// backgrounds count whole, so the buttons a screen draws over them count too; except is left out.
bool isOnShownWidget(const Container* screen, PointerPosition p, const WidgetBase* except = nullptr)
{
    if (!screen->isVisible())
        return false;
    for (const WidgetBase* widget : screen->mChildren) {
        if (widget == except || !widget->isVisible() || widget->getCurrentImage() == nullptr)
            continue;
        const float4 r = widget->getCurrentRect();
        const float4 t = widget->getTransform();
        const float left = t.x + r.x, top = t.y + r.y;
        if (left < p.x && p.x < left + r.z * t.z && top < p.y && p.y < top + r.w * t.w)
            return true;
    }
    return false;
}

float3 add(float3 a, float3 b)
{
    return float3(a.x + b.x, a.y + b.y, a.z + b.z);
}

float3 scaled(float3 a, float k)
{
    return float3(a.x * k, a.y * k, a.z * k);
}

// a moved by k of its distance to b.
float approach(float a, float b, float k)
{
    return a + (b - a) * k;
}

float3 approach(float3 a, float3 b, float k)
{
    return float3(approach(a.x, b.x, k), approach(a.y, b.y, k), approach(a.z, b.z, k));
}

// The unit vector of (x, y, 0) of v; zero when v is vertical.
float3 flat(float3 v)
{
    return normalize(float3(v.x, v.y, 0.0f));
}

bool isFinite(float v)
{
    return std::isfinite(v);
}

} // namespace

bool walkToGround(float3& point, float3 dir)
{
    if (point.z <= 0.0f)
        return true;
    if (!(dir.z < 0.0f))
        return false;
    float3 q = point;
    for (int i = 0; q.z > 0.0f; ++i) {
        if (i == kMaxGroundSteps)
            return false;
        q = add(q, dir);
    }
    point = q;
    return true;
}

// ---- settings

GameCamera::GameCamera()
{
    readSettings(kCameraFile);
    mPosition = mTargetPosition = float3(mStartPoint.x, mStartPoint.y, mZoomStart);
    mPitch = mTargetPitch = pitchFor(mZoomStart);
    mForward = mTargetForward = direction(mPitch, mYaw);
    mUp = mTargetUp = upVector(mPitch, mYaw);
    mScrollDirection = 0;
    mMoveSpeed = mMoveStep / 6.0f;
}

// Every key is expected; a missing or malformed value keeps the built-in one with a warning,
// and values that would leave the camera without a ground to look at (a pitch not below 0, an
// empty height range, a zero ellipse) are replaced as a group.
void GameCamera::readSettings(const std::string& path)
{
    const Defaults& d = kDefaults;
    mFovBase = d.fov;
    mPitchAtMin = d.pitchAtMin;
    mPitchAtMax = d.pitchAtMax;
    mScrollBorder = d.scrollBorder;
    mAccelerate = d.accelerate;
    mMoveStep = d.moveStep;
    mRotateStep = d.rotateStep;
    mRotateStart = d.rotateStart;
    mZoomStep = d.zoomStep;
    mZoomStart = d.zoomStart;
    mZoomMax = d.zoomMax;
    mZoomMin = d.zoomMin;
    mRotateMax = d.rotateMax;
    mRotateMin = d.rotateMin;
    mSmooth = d.smooth;
    mStartPoint = d.startPoint;
    mBoundOffset = d.boundOffset;
    mBoundRadius = d.boundRadius;
    mGliding = 0;
    mFollowAnimal = nullptr;
    mFollowPerson = nullptr;

    KeyFileReader r(path, loadDatFileRequired(path));
    // Two numbers of one value line split at the separator; both or neither are taken.
    auto pair = [&r](const std::wstring& line, const wchar_t* separator, float& a, float& b) {
        std::vector<std::wstring> items = splitWide(line, separator);
        float x = a, y = b;
        if (items.size() < 2 || !r.toFloat(items[0], x) || !r.toFloat(items[1], y)) {
            if (items.size() < 2)
                r.warn("two numbers expected, value kept");
            return false;
        }
        a = x;
        b = y;
        return true;
    };
    unsigned found = 0;
    auto seen = [&found](int bit) { found |= 1u << bit; };
    for (; r.more(); r.advance()) {
        if (r.key(L"[fov]") && r.readFloat(mFovBase))
            seen(0);
        if (r.key(L"[beta range]") && pair(r.value(), L" ", mPitchAtMin, mPitchAtMax))
            seen(1);
        if (r.key(L"[screen scroll border]") && r.readFloat(mScrollBorder))
            seen(2);
        if (r.key(L"[accelerate motion]") && r.readFloat(mAccelerate))
            seen(3);
        if (r.key(L"[move step]") && r.readFloat(mMoveStep))
            seen(4);
        if (r.key(L"[rotate step]") && r.readFloat(mRotateStep))
            seen(5);
        if (r.key(L"[rotate start]") && r.readFloat(mRotateStart))
            seen(6);
        if (r.key(L"[zoom step]") && r.readFloat(mZoomStep))
            seen(7);
        if (r.key(L"[zoom start]") && r.readFloat(mZoomStart))
            seen(8);
        if (r.key(L"[zoom max]") && r.readFloat(mZoomMax))
            seen(9);
        if (r.key(L"[zoom min]") && r.readFloat(mZoomMin))
            seen(10);
        if (r.key(L"[rotate max]") && r.readFloat(mRotateMax))
            seen(11);
        if (r.key(L"[rotate min]") && r.readFloat(mRotateMin))
            seen(12);
        if (r.key(L"[smooth motion]") && r.readFloat(mSmooth))
            seen(13);
        if (r.key(L"[start point xy]") && pair(r.value(), L",", mStartPoint.x, mStartPoint.y))
            seen(14);
        if (r.key(L"[bound ellipse offset&radius]", 2)) {
            bool offset = pair(r.value(), L" ", mBoundOffset.x, mBoundOffset.y);
            bool radius = pair(r.value(), L" ", mBoundRadius.x, mBoundRadius.y);
            if (offset && radius)
                seen(15);
        }
    }

    static const char* const keys[] = {"[fov]", "[beta range]", "[screen scroll border]", "[accelerate motion]",
                                       "[move step]", "[rotate step]", "[rotate start]", "[zoom step]",
                                       "[zoom start]", "[zoom max]", "[zoom min]", "[rotate max]",
                                       "[rotate min]", "[smooth motion]", "[start point xy]",
                                       "[bound ellipse offset&radius]"};
    for (int k = 0; k < 16; ++k)
        if (!(found & (1u << k)))
            std::printf("Warning: %s: no valid %s, the camera keeps its built-in value\n", path.c_str(), keys[k]);

    auto replaced = [&path](const char* what) {
        std::printf("Warning: %s: %s, the camera uses its built-in values\n", path.c_str(), what);
    };
    if (!(mFovBase > 0.0f && mFovBase < 180.0f)) {
        replaced("[fov] outside 0..180");
        mFovBase = d.fov;
    }
    if (!(mPitchAtMin < 0.0f && mPitchAtMax < 0.0f && mPitchAtMin > -kHalfPi && mPitchAtMax > -kHalfPi)) {
        replaced("[beta range] must look down (both values below 0, above -pi/2)");
        mPitchAtMin = d.pitchAtMin;
        mPitchAtMax = d.pitchAtMax;
    }
    if (!(mZoomMin > 0.0f && mZoomMax > mZoomMin && isFinite(mZoomMax))) {
        replaced("[zoom min] must be above 0 and below [zoom max]");
        mZoomMin = d.zoomMin;
        mZoomMax = d.zoomMax;
    }
    if (!(mSmooth > 0.0f && mSmooth <= 1.0f)) {
        replaced("[smooth motion] outside 0..1");
        mSmooth = d.smooth;
    }
    if (!(mBoundRadius.x > 0.0f && mBoundRadius.y > 0.0f)) {
        replaced("the bound ellipse needs radii above 0");
        mBoundRadius = d.boundRadius;
    }
    if (!(mRotateMin < mRotateMax)) {
        replaced("[rotate min] must lie below [rotate max]");
        mRotateMin = d.rotateMin;
        mRotateMax = d.rotateMax;
    }
    if (!(mZoomStart >= mZoomMin && mZoomStart <= mZoomMax)) {
        std::printf("Warning: %s: [zoom start] %g outside [zoom min]..[zoom max], held within\n", path.c_str(),
                    static_cast<double>(mZoomStart));
        mZoomStart = mZoomStart < mZoomMin ? mZoomMin : mZoomMax;
    }
    mFovTarget = mFov = mFovBase;
    mYaw = mTargetYaw = mRotateStart;
}

float GameCamera::pitchFor(float z) const
{
    return mPitchAtMin + (mPitchAtMax - mPitchAtMin) * (z - mZoomMin) / (mZoomMax - mZoomMin);
}

float3 GameCamera::direction(float pitch, float yaw)
{
    return float3(std::cos(pitch) * std::cos(yaw), std::cos(pitch) * std::sin(yaw), std::sin(pitch));
}

float3 GameCamera::upVector(float pitch, float yaw)
{
    return direction(pitch + kHalfPi, yaw);
}

// ---- per-step control

void GameCamera::control()
{
    MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    if (dateBar->modal || dateBar->paused)
        return;
    const std::wstring& menu = Singleton<MenuManager>::get()->currentMenu();
    if (menu != L"nomenu" && menu != L"popupend" && menu != L"scrollpopupend" && menu != L"returnfromoptions")
        return;

    if (mFollowAnimal) {
        if (mFollowAnimal->mType == L"seal")
            mTargetYaw = mRotateMax;
        // A figure not drawn yet (one at the doctor) has no place to look at.
        const AnimalAvatar* figure = mFollowAnimal->mAvatar;
        follow(figure && figure->mDrawn ? &figure->mPosition : nullptr);
    } else if (mFollowPerson) {
        follow(&mFollowPerson->mPosition);
    } else if (mGliding) {
        glide();
    } else {
        freeControl();
    }
    smooth();
}

void GameCamera::follow(const float3* point)
{
    mForward = direction(mPitch, mYaw);
    mUp = upVector(mPitch, mYaw);
    mFovTarget = kFollowFov;
    // A level view never reaches the lowest height: the target stays.
    if (!point || !(mForward.z < 0.0f))
        return;
    float t = (mZoomMin - point->z) / mForward.z;
    mTargetPosition = float3(point->x + t * mForward.x, point->y + t * mForward.y, mZoomMin);
}

void GameCamera::glide()
{
    mFovTarget = mFovBase;
    mTargetPitch = pitchFor(mPosition.z);
    mTargetForward = direction(mTargetPitch, mTargetYaw);
    mTargetUp = upVector(mTargetPitch, mTargetYaw);
    float3 g = mTargetPosition;
    walkToGround(g, mTargetForward);
    float dx = mGlideTarget.x - g.x;
    float dy = mGlideTarget.y - g.y;
    mGlideStep = float3(dx * kGlideRate, dy * kGlideRate, (mZoomMin - mTargetPosition.z) * kGlideRate);
    mTargetPosition = add(mTargetPosition, mGlideStep);
    if (dx * dx < 1.0f && dy * dy < 1.0f)
        mGliding = 0;
}

void GameCamera::freeControl()
{
    mFovTarget = mFovBase;
    float wheel = get_wheel_delta();
    if (wheel > 0.0f)
        zoomStepB(kKeyZoom);
    else if (wheel < 0.0f)
        zoomStepA(kKeyZoom);
    float3 p = mTargetPosition;
    mTargetPitch = pitchFor(p.z);

    int code = 0;
    ControlMngr* input = Singleton<ControlMngr>::get();
    if (!input->mKeyboardDevices.empty()) {
        const sDevice* keys = input->mKeyboardDevices[0];
        bool left = keys->isHeld(kVkLeft), right = keys->isHeld(kVkRight);
        bool up = keys->isHeld(kVkUp), down = keys->isHeld(kVkDown);
        if (left && up)
            code = 5;
        else if (left && down)
            code = 6;
        else if (right && up)
            code = 7;
        else if (right && down)
            code = 8;
        else if (up)
            code = 3;
        else if (down)
            code = 4;
        else if (right)
            code = 2;
        else if (left)
            code = 1;
    }
    if (code != 0)
        mScrollDirection = code;
    else
        code = mScrollDirection;

    if (code == 0) {
        mMoveSpeed = mMoveStep * 0.16666667f;
    } else {
        mMoveSpeed = std::min(mMoveSpeed * mAccelerate, mMoveStep);
        float3 forward = flat(mTargetForward);
        float3 right = normalize(crossProduct(mTargetForward, mTargetUp));
        float3 left = normalize(crossProduct(mTargetUp, mTargetForward));
        bool goForward = code == 3 || code == 5 || code == 7;
        bool goBack = code == 4 || code == 6 || code == 8;
        bool goRight = code == 2 || code == 7 || code == 8;
        bool goLeft = code == 1 || code == 5 || code == 6;
        if (goForward)
            p = add(p, scaled(forward, mMoveSpeed));
        if (goBack)
            p = add(p, scaled(forward, -mMoveSpeed));
        if (goRight)
            p = add(p, scaled(right, mMoveSpeed));
        if (goLeft)
            p = add(p, scaled(left, mMoveSpeed));
    }
    float3 f = direction(mTargetPitch, mTargetYaw);
    float3 u = upVector(mTargetPitch, mTargetYaw);
    if (insideBounds(p, f)) {
        mTargetPosition = p;
        mTargetForward = f;
        mTargetUp = u;
    }
}

void GameCamera::smooth()
{
    const float s = mSmooth;
    mFov = approach(mFov, mFovTarget, s);
    mYaw = approach(mYaw, mTargetYaw, s);
    mPitch = approach(mPitch, mTargetPitch, s);
    mPosition = approach(mPosition, mTargetPosition, s);
    mForward = approach(mForward, mTargetForward, s);
    mUp = approach(mUp, mTargetUp, s);
}

void GameCamera::applyView()
{
    if (Singleton<GameBackground3D>::get()->mSlidePlaying)
        return;
    mForward = direction(mPitch, mYaw);
    mUp = upVector(mPitch, mYaw);
    CRender::set_camera(CRender::current(), mPosition, add(mPosition, mForward), mUp, mFov, 0.0f);
}

// ---- HUD operations

void GameCamera::zoomStepA(float amount)
{
    if (!(mTargetPosition.z < mZoomMax))
        return;
    float3 q = add(mTargetPosition, scaled(normalize(mTargetForward), -amount * mZoomStep));
    if (isViewInsideBounds(mTargetYaw, pitchFor(q.z), q))
        mTargetPosition = q;
}

void GameCamera::zoomStepB(float amount)
{
    if (!(mTargetPosition.z > mZoomMin))
        return;
    float3 q = add(mTargetPosition, scaled(normalize(mTargetForward), amount * mZoomStep));
    if (isViewInsideBounds(mTargetYaw, pitchFor(q.z), q))
        mTargetPosition = q;
}

void GameCamera::rotateStepPlus()
{
    float y = mTargetYaw + mRotateStep;
    if (mRotateMin < y && y < mRotateMax && isViewInsideBounds(y, mTargetPitch, mTargetPosition))
        mTargetYaw = y;
}

void GameCamera::rotateStepMinus()
{
    float y = mTargetYaw - mRotateStep;
    if (mRotateMin < y && y < mRotateMax && isViewInsideBounds(y, mTargetPitch, mTargetPosition))
        mTargetYaw = y;
}

void GameCamera::reset()
{
    mFollowPerson = nullptr;
    mFollowAnimal = nullptr;
    mTargetYaw = mRotateStart;
    PublicManager* visitors = Singleton<PublicManager>::get();
    visitors->mPickDistance = 1000.0f;
    visitors->mPickedPerson = nullptr;
}

void GameCamera::moveToHelper(const std::string& name, CRender::Object* helpers)
{
    if (!helpers)
        return;
    int node = helpers->find_node(name.c_str());
    if (node == -1)
        return;
    float4x3 m;
    helpers->get_node_matrix(node, 0.0f, &m);
    float hx = m.m[0][3], hy = m.m[1][3];
    float3 g = mTargetPosition;
    walkToGround(g, mTargetForward);
    mGlideTarget = float3(hx, hy, mZoomMin);
    mGliding = 1;
    mGlideStep = float3((hx - g.x) * kGlideRate, (hy - g.y) * kGlideRate, (mZoomMin - mTargetPosition.z) * kGlideRate);
}

void GameCamera::focusOn(DataAnimal* animal)
{
    if (isPointerOverHud())
        return;
    mGliding = 0;
    mFollowAnimal = animal;
}

void GameCamera::followPerson(OnePerson* person)
{
    if (!person || person->mKind == 1 || isPointerOverHud())
        return;
    mGliding = 0;
    mFollowPerson = person;
}

// ---- queries

bool GameCamera::isViewInsideBounds(float yaw, float pitch, float3 point) const
{
    return insideBounds(point, direction(pitch, yaw));
}

bool GameCamera::insideBounds(float3 point, float3 dir) const
{
    float3 q = point;
    if (!walkToGround(q, dir))
        return false;
    float dx = q.x - mBoundOffset.x, dy = q.y - mBoundOffset.y;
    return dx * dx / (mBoundRadius.x * mBoundRadius.x) + dy * dy / (mBoundRadius.y * mBoundRadius.y) < 1.0f;
}

float3 GameCamera::mouseRay(float x, float y) const
{
    return cameraRay(x, y, mPosition, add(mPosition, mForward), mUp, mFov, kRayAspect);
}

void GameCamera::trackPress()
{
    const int down = Singleton<ControlMngr>::get()->isPointerDown();
    if (!down)
        mPressBeganOnHud = false;
    else if (!mPointerWasDown)
        mPressBeganOnHud = isPointerOnHud();
    mPointerWasDown = down;
}

bool GameCamera::isPointerOverHud() const
{
    return mPressBeganOnHud || isPointerOnHud();
}

bool GameCamera::isPointerOnHud() const
{
    PointerPosition p = Singleton<ControlMngr>::get()->getPointer(-1);
    // The HUD's panels, the folds' buttons and the date bar reach beyond the fixed zones below.
    // The date bar's shade over the paused park is no part of it: a marker under it is hovered.
    const MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    if (isOnShownWidget(dateBar, p, dateBar->mWidget1))
        return true;
    for (const Container* screen : {static_cast<const Container*>(Singleton<MenuIngame>::get()),
                                    static_cast<const Container*>(Singleton<MenuIngameFold1>::get()),
                                    static_cast<const Container*>(Singleton<MenuIngameFold2>::get()),
                                    static_cast<const Container*>(Singleton<MenuIngameFold3>::get())})
        if (isOnShownWidget(screen, p))
            return true;
    if ((Singleton<MenuIngameFold1>::get()->isVisible() || Singleton<MenuIngameFold2>::get()->isVisible()) &&
        p.y > 0.82f && (p.x < 0.77f || Singleton<DataStorage>::get()->hasAssistants()))
        return true;
    if (Singleton<MenuIngameFold3>::get()->isVisible() && p.y > 0.83f && p.x < 0.43f)
        return true;
    return Singleton<MenuIngame>::get()->isVisible() && p.y > 0.77f && p.x < 0.22f;
}
