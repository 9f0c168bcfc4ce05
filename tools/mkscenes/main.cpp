// mkscenes: writes the game's 3D scenes into <data>/3dn/ and their textures into
// <data>/3dn/tex/. The output depends on nothing but this program: the same build writes the
// same files.

#include "mkscenes/Effects.h"
#include "mkscenes/Figures.h"
#include "mkscenes/Helpers.h"
#include "mkscenes/Park.h"
#include "mkscenes/ParkTextures.h"
#include "mkscenes/Visitors.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkscenes <data folder>\n");
        return 2;
    }
    std::string sceneDir = std::string(argv[1]) + "/3dn";
    std::error_code error;
    std::filesystem::create_directories(sceneDir + "/tex", error);
    if (error) {
        std::fprintf(stderr, "mkscenes: can't create %s/tex: %s\n", sceneDir.c_str(), error.message().c_str());
        return 1;
    }
    bool ok = mkscenes::writeFigures(sceneDir);
    ok = mkscenes::writeParkTextures(sceneDir) && ok;
    ok = mkscenes::writePark(sceneDir) && ok;
    ok = mkscenes::writeLights(sceneDir) && ok;
    ok = mkscenes::writeAnimalHelpers(sceneDir) && ok;
    ok = mkscenes::writeBuildingHelpers(sceneDir) && ok;
    ok = mkscenes::writeSlideCameras(sceneDir) && ok;
    ok = mkscenes::writeTrickCameras(sceneDir) && ok;
    ok = mkscenes::writeEffects(sceneDir) && ok;
    ok = mkscenes::writeVisitors(sceneDir) && ok;
    return ok ? 0 : 1;
}
