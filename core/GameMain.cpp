#include "core/GameMain.h"

#include <unistd.h>

int quitRequested = 0;

// ---- entry

bool resourcesFolder(const char* exePath, std::string& folder)
{
    if (!exePath)
        return false;
    const std::string path(exePath);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return false;
    folder = path.substr(0, slash) + "/../Resources";
    return true;
}

int SDL_main(int argc, char** argv)
{
    // The path is kept whole, however long; a failed change of directory is ignored and
    // the data are then looked for below the directory the program was started in.
    std::string folder;
    if (argc > 0 && resourcesFolder(argv[0], folder) && chdir(folder.c_str()) != 0) {
    }
    return GameMain(argc, argv);
}

int GameMain(int argc, char** argv)
{
    return MainLoop();
}

int MainLoop()
{
    return 0;
}
