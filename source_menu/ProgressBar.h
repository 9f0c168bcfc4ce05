#pragma once

// The progress bar shown while a longer action runs.

#include "core/Singleton.h"
#include "source_menu/generated/_ProgressBar.h"

class ProgressBar : public Singleton<ProgressBar>, public _ProgressBar {
public:
    ProgressBar() = default;
};
