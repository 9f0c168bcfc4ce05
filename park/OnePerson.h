#pragma once

// One visitor of the park. Only what the park data uses of it so far.

#include "toolkit/utils/misc.h"

#include <string>

class OnePerson {
public:
    OnePerson() = default;

    int mKind = 0;              // 0 walker in the park, 1 seated show audience
    float mAnimTime = 0.0f;
    float mPathLength = 0.0f;   // walker: length of its path in path frames
    std::wstring mHelperName;   // the path node in the public helper scene
    float mProgress = 0.0f;     // current frame of the path; the walker leaves past its length
    float3 mPosition;           // where the visitor was last drawn
};
