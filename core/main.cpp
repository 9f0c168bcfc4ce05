#include <X11/Xlib.h>

#include <climits>
#include <cstdio>
#include <unistd.h>

// Until the main loop lands the program only shows where it runs from.
int main(int argc, char** argv)
{
    XInitThreads();
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd))
        std::printf("%s\n", cwd);
    return 0;
}
