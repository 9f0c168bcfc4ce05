#pragma once

// A management screen. Only what the park rules use of it so far: its refill (reset),
// which the day rules call.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuTickets.h"

class MenuTickets : public Singleton<MenuTickets>, public _MenuTickets {
public:
    MenuTickets() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}
};
