#include "core/GameMain.h"

#include <X11/Xlib.h>
#include <malloc.h>

// Linux has no SDLmain glue: the loader thread's GL context needs Xlib made thread-safe
// before any other X call, then the program's own entry runs.
int main(int argc, char** argv)
{
    // One heap for all threads: the loader thread's decode buffers and the render thread's
    // textures then share their free space. A heap of its own kept about 16 MiB resident for
    // the loader in a full park, mostly freed buffers; with one heap the peak is about 6 MiB
    // lower. The threads seldom allocate at once.
    mallopt(M_ARENA_MAX, 1);
    XInitThreads();
    return SDL_main(argc, argv);
}
