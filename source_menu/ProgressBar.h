#pragma once

// The progress bar shown while a longer action runs.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class ProgressBar : public Singleton<ProgressBar>, public Container {
public:
    ProgressBar() = default;
};
