#pragma once

// A management screen. Only what the park rules use of it so far: its refill (reset),
// which the day rules call.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuTickets : public Singleton<MenuTickets>, public Container {
public:
    MenuTickets() = default;
};
