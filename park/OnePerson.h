#pragma once

// One visitor of the park: a walker moving along an animated path node of the public helper
// scene (kind 0), or a member of the trick show's seated audience (kind 1). PublicManager fills
// it (spawnVisitor), steps it and draws it; the HUD shows its picture, name and opinion.

#include "core/VectorMath.h"
#include "render/CRender.h"

#include <string>

struct Opinion;

class OnePerson {
public:
    OnePerson() = default;

    int mKind = 0;                          // 0 walker in the park, 1 seated show audience
    float mAnimTime = 0.0f;                 // current frame of the figure's animation
    float mPathLength = 0.0f;               // walker: path length in path frames; audience: seat number
    float mAnimSpeed = 0.0f;                // animation frames per logic step
    int mAvatarPart = 0;                    // the figure's layer in the character scene
    CRender::Image* mAvatarImage = nullptr; // the avatar picture (owned by the avatar record)
    std::wstring mAnimName;                 // current animation, lower case
    std::wstring mHelperName;               // path or seat node in the public helper scene
    float mProgress = 0.0f;                 // current frame of the path node; leaves past its length
    int mNodeIndex = -1;                    // index of mHelperName, found by the first draw
    int mClickLatch = 0;                    // 1 while the button pressed over this person is held
    float3 mPosition;                       // world position, written by each draw
    std::wstring mName;                     // first name and surname
    Opinion* mOpinion = nullptr;            // the person's opinion of the park, null when none fits
};
