#include "game/ParkEvents.h"

namespace {
ParkEvents silentEvents;
ParkEvents* installedEvents = &silentEvents;
} // namespace

ParkEvents& parkEvents()
{
    return *installedEvents;
}

void installParkEvents(ParkEvents* events)
{
    installedEvents = events ? events : &silentEvents;
}
