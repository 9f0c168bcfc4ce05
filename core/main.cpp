#include "core/GameMain.h"

#include <X11/Xlib.h>

// Linux has no SDLmain glue: the loader thread's GL context needs Xlib made thread-safe
// before any other X call, then the program's own entry runs.
int main(int argc, char** argv)
{
    XInitThreads();
    return SDL_main(argc, argv);
}
