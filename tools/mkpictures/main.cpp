// mkpictures: draws the game's pictures (building and food icons with their greyed copies,
// animal coats and portraits, profile avatars, visitor portraits) and writes them as PNG files into a data folder.
//   mkpictures <font.ttf> <data folder>
// The output depends only on the program and the font.

#include "Pictures.h"
#include "TextPath.h"

#include <IL/il.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

bool write(const std::string& path, int size, const std::vector<uint8_t>& rgba)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error || !save_png(path, size, size, rgba)) {
        std::fprintf(stderr, "mkpictures: can't write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkpictures <font.ttf> <data folder>\n");
        return 2;
    }
    if (!lettering().open(argv[1]))
        return 1;
    const std::string data = argv[2];
    ilInit();

    std::vector<Picture> pictures;
    for (auto make : {building_icons, food_icons, animal_pictures, profile_avatars, visitor_avatars}) {
        std::vector<Picture> some = make();
        pictures.insert(pictures.end(), some.begin(), some.end());
    }
    for (const Picture& picture : pictures) {
        Canvas canvas(picture.size, picture.size);
        float scale = float(picture.size) / picture.design;
        canvas.set_transform(Affine::scale(scale, scale));
        picture.draw(canvas);
        std::vector<uint8_t> rgba = canvas.rgba();
        if (!write(data + "/" + picture.path, picture.size, rgba))
            return 1;
        if (!picture.greyPath.empty() && !write(data + "/" + picture.greyPath, picture.size, greyed(rgba)))
            return 1;
    }
    return 0;
}
