#pragma once

// The in-game button bar.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class ButtonBar : public Singleton<ButtonBar>, public Container {
public:
    ButtonBar() = default;
};
