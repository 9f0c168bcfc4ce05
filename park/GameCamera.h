#pragma once

// The camera of the park view. It floats above the ground (z = 0, z up) between a lowest and a
// highest height, looks down at a pitch that follows from its height, turns about the vertical
// axis within limits, scrolls with the arrow keys and the screen edges, zooms with Page Up /
// Page Down and the HUD buttons, glides to a named point of a helper scene, follows an animal or
// a visitor, and never lets the viewed ground point leave an ellipse. Every change goes to a
// target state; the visible state moves toward it by "[smooth motion]" of the difference per
// 10 ms step. Settings come from "data/game/camera.txt". Angles in radians, fields of view in
// degrees (vertical).
//
// Index: settings - per-step control - HUD operations - queries

#include "render/CRender.h"

#include <string>

class DataAnimal;
class OnePerson;

// A point or a pair of radii on the ground plane.
struct GroundPoint {
    float x = 0.0f;
    float y = 0.0f;
};

class GameCamera {
public:
    // Reads "data/game/camera.txt" and puts the camera at its start. The saved-game reader
    // assigns a freshly constructed camera over the park's to start again.
    GameCamera();

    // ---- per step and per frame
    // One 10 ms step: the followed target, the glide or the player's input, then the smoothing.
    // Idle while a modal screen or the pause is on, or while a panel, popup or menu is current.
    void control();
    // Sets the frame's render camera, unless a building's slide show plays.
    void applyView();
    // Once a step, at the top of the park view's step: notes where a press begins. A press that
    // began over the HUD stays over it until released, though the widget under it may hide
    // meanwhile (a panel's close button acts on the press). The markers and the visitors pick
    // after it in the same step; the animals pick earlier, in the date bar's step, and so see the
    // record of the step before, which is enough: on the step a press begins, the pointer is
    // itself over the HUD when the press began there.
    void trackPress();

    // ---- HUD and screens
    // One zoom step out (A) or in (B) of amount x "[zoom step]" along the view.
    void zoomStepA(float amount);
    void zoomStepB(float amount);
    // One "[rotate step]" turn; refused at or beyond the limits.
    void rotateStepPlus();
    void rotateStepMinus();
    // Ends following and turns back to "[rotate start]"; clears the visitors' pending pick.
    void reset();
    // Glides to the node of that name in the helper scene; an unknown name is ignored.
    void moveToHelper(const std::string& name, CRender::Object* helpers);
    // Follows an animal / a visitor (not a show audience member), unless the pointer is on the HUD.
    void focusOn(DataAnimal* animal);
    void followPerson(OnePerson* person);

    // ---- queries
    // Whether the pointer lies over a visible part of the HUD: a fixed zone of the HUD or of a
    // visible fold, or a shown widget of them or of the date bar but its shade (the animal and
    // visitor panels too); or is held down in a press that began there. Every pick into the park
    // asks it.
    bool isPointerOverHud() const;
    // From the eye to the point under the pointer (x, y of the canvas) on the view plane through
    // the target; about one unit long.
    float3 mouseRay(float x, float y) const;
    bool isViewInsideBounds(float yaw, float pitch, float3 point) const;
    // Whether the ground point seen from point along dir lies inside the bound ellipse; false
    // when dir does not reach the ground.
    bool insideBounds(float3 point, float3 dir) const;
    int isBusy() const { return mGliding; }
    float getScrollBorder() const { return mScrollBorder; }
    void setScrollDirection(int code) { mScrollDirection = code; }

    // Pitch at height z: "[beta range]" interpolated between "[zoom min]" and "[zoom max]",
    // extrapolated beyond them.
    float pitchFor(float z) const;
    // The view direction of pitch p and yaw y, and its up vector.
    static float3 direction(float pitch, float yaw);
    static float3 upVector(float pitch, float yaw);

    float3 mGlideTarget;
    float3 mGlideStep;
    int mGliding = 0;
    float3 mForward;
    float3 mUp;
    float mPitch = 0.0f;
    float mYaw = 0.0f;
    float mPitchAtMin = 0.0f;
    float mPitchAtMax = 0.0f;
    float mMoveStep = 0.0f;
    float mAccelerate = 0.0f;
    float mMoveSpeed = 0.0f;
    float mRotateStep = 0.0f;
    float mZoomStep = 0.0f;
    float mZoomStart = 0.0f;
    float mRotateMax = 0.0f;
    float mRotateMin = 0.0f;
    float mRotateStart = 0.0f;
    float mZoomMax = 0.0f;
    float mZoomMin = 0.0f;
    float mSmooth = 0.0f;
    float mScrollBorder = 0.0f;
    GroundPoint mBoundOffset;
    GroundPoint mBoundRadius;
    float mFov = 0.0f;
    float mFovTarget = 0.0f;
    float mFovBase = 0.0f;
    GroundPoint mStartPoint;
    int mScrollDirection = 0;
    float3 mPosition;
    DataAnimal* mFollowAnimal = nullptr;
    OnePerson* mFollowPerson = nullptr;
    float3 mTargetPosition;
    float3 mTargetForward;
    float mTargetPitch = 0.0f;
    float mTargetYaw = 0.0f;
    float3 mTargetUp;

private:
    bool isPointerOnHud() const;
    void readSettings(const std::string& path);
    // The target for a followed point: at the lowest height on the current line of sight.
    // Without a point only the view and the field of view follow.
    void follow(const float3* point);
    void glide();
    void freeControl();
    void smooth();

    int mPointerWasDown = 0;
    bool mPressBeganOnHud = false;   // held since it began over the HUD
};

// The first point at or below the ground walking from point in steps of dir; false (point
// unchanged) when dir does not point down.
bool walkToGround(float3& point, float3 dir);
