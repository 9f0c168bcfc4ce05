#pragma once

// Small records of the species data of "data/game/animals.txt".

#include <string>

// A named frame range of a figure's animations.
struct Animation {
    Animation() = default;
    Animation(const std::wstring& name, int start, int end) : mName(name), mStart(start), mEnd(end) {}
    std::wstring mName;
    int mStart = 0;
    int mEnd = 0;
};

// One place of an animal in the park: a node of the animal places scene and the animation
// an animal placed there starts with (lower case).
struct AnimalHelper {
    AnimalHelper(const std::wstring& node, const std::wstring& animation) : mNode(node), mAnimation(animation) {}
    std::wstring mNode;
    std::wstring mAnimation;
};
