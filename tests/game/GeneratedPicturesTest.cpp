// The pictures that data/game/ASSETS.md lists are generated into the application folder and
// load through the game's image loader: square power-of-two pictures, greyed icons grey, coat
// textures opaque and seamless, portraits and avatars opaque, no two pictures the same.

#include "fixtures/HeadlessEngine.h"
#include "render/image.h"

#include <gtest/gtest.h>

#include <IL/il.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Listed {
    std::string folder;  // below the application's Resources folder, e.g. "data/game/Foods/Icons/"
    std::string file;
};

// Every picture of the "Pictures" section: each file of a subsection goes into each folder the
// subsection names.
std::vector<Listed> listedPictures()
{
    std::ifstream in(std::string(PETPARK_SOURCE_DIR) + "/data/game/ASSETS.md");
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    size_t begin = all.find("## Pictures");
    size_t end = all.find("\n## ", begin + 1);
    std::string section = all.substr(begin, end - begin);

    std::vector<Listed> out;
    const std::regex folderPattern("`(data/[A-Za-z0-9_/]+/)`");
    const std::regex filePattern("[A-Za-z0-9_]+\\.png");
    size_t at = 0;
    while ((at = section.find("\n### ", at)) != std::string::npos) {
        size_t next = section.find("\n### ", at + 1);
        std::string part = section.substr(at, next == std::string::npos ? std::string::npos : next - at);
        at += 1;
        std::set<std::string> folders, files;
        for (std::sregex_iterator m(part.begin(), part.end(), folderPattern), none; m != none; ++m)
            folders.insert((*m)[1]);
        for (std::sregex_iterator m(part.begin(), part.end(), filePattern), none; m != none; ++m)
            files.insert(m->str());
        for (const std::string& folder : folders)
            for (const std::string& file : files)
                out.push_back({folder, file});
    }
    return out;
}

struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;  // rows bottom up
    const unsigned char* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

class GeneratedPictures : public testing::Test {
protected:
    static void SetUpTestSuite() { ilInit(); }

    // Loads a picture with the game's loader and reads its texels back.
    bool load(const Listed& picture, Pixels& out)
    {
        std::string path = std::string(PETPARK_APP_DIR) + "/Resources/" + picture.folder + picture.file;
        ::Image image;
        int w = 0, h = 0;
        if (!image.load_il(path, &w, &h))
            return false;
        int tw = 0, th = 0;
        image.get_size(&tw, &th);
        out.width = w;
        out.height = h;
        out.rgba.assign(size_t(tw) * th * 4, 0);
        image.get_size(&tw, &th, out.rgba.data());
        return tw == w && th == h;
    }

    HeadlessEngine engine;
};

bool isPowerOfTwo(int v)
{
    return v > 0 && (v & (v - 1)) == 0;
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(GeneratedPictures, EveryListedPictureLoadsAsASquareOfPowerOfTwoSideAndNoTwoAreAlike)
{
    std::vector<Listed> pictures = listedPictures();
    // 24 buildings and 3 foods with greyed copies, 15 coats in two folders, 6 avatars, 8 visitors.
    ASSERT_EQ(pictures.size(), 24u * 2 + 3 * 2 + 15 * 2 + 6 + 8);
    std::map<std::vector<unsigned char>, std::string> seen;
    for (const Listed& picture : pictures) {
        Pixels p;
        ASSERT_TRUE(load(picture, p)) << picture.folder << picture.file;
        EXPECT_EQ(p.width, p.height) << picture.file;
        EXPECT_TRUE(isPowerOfTwo(p.width)) << picture.file;
        EXPECT_GE(p.width, 128) << picture.file;
        auto inserted = seen.emplace(p.rgba, picture.folder + picture.file);
        EXPECT_TRUE(inserted.second) << picture.folder << picture.file << " is the same as " << inserted.first->second;
    }
}

TEST_F(GeneratedPictures, IconsStandOnAClearBackgroundAndTheirGreyedCopiesAreGreyWithTheSameShape)
{
    int icons = 0;
    for (const Listed& picture : listedPictures()) {
        if (picture.folder.find("/Icons/") == std::string::npos || endsWith(picture.file, "_grey.png"))
            continue;
        ++icons;
        Listed grey = picture;
        grey.file = picture.file.substr(0, picture.file.size() - 4) + "_grey.png";
        Pixels colour, greyed;
        ASSERT_TRUE(load(picture, colour)) << picture.file;
        ASSERT_TRUE(load(grey, greyed)) << grey.file;
        ASSERT_EQ(colour.width, greyed.width);
        // Clear corners around a picture that fills a good part of the square.
        int last = colour.width - 1;
        for (auto corner : {colour.at(0, 0), colour.at(last, 0), colour.at(0, last), colour.at(last, last)})
            EXPECT_EQ(corner[3], 0) << picture.file;
        int solid = 0, colourful = 0;
        for (int y = 0; y < colour.height; ++y)
            for (int x = 0; x < colour.width; ++x) {
                const unsigned char* c = colour.at(x, y);
                const unsigned char* g = greyed.at(x, y);
                ASSERT_EQ(g[3], c[3]) << grey.file << " at " << x << "," << y;
                ASSERT_TRUE(g[0] == g[1] && g[1] == g[2]) << grey.file << " at " << x << "," << y;
                solid += c[3] == 255;
                colourful += c[3] > 0 && (std::abs(c[0] - c[1]) > 40 || std::abs(c[1] - c[2]) > 40);
            }
        EXPECT_GT(solid, colour.width * colour.height / 4) << picture.file;
        EXPECT_GT(colourful, colour.width * colour.height / 20) << picture.file << " looks grey already";
    }
    EXPECT_EQ(icons, 27);
}

TEST_F(GeneratedPictures, CoatTexturesAreOpaqueAndSeamlessPortraitsAndAvatarsAreOpaque)
{
    int textures = 0;
    for (const Listed& picture : listedPictures()) {
        bool texture = picture.folder == "data/3dn/tex/";
        bool opaque = texture || picture.folder.find("/Avatars/") != std::string::npos;
        if (!opaque)
            continue;
        Pixels p;
        ASSERT_TRUE(load(picture, p)) << picture.folder << picture.file;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_EQ(p.at(x, y)[3], 255) << picture.folder << picture.file << " at " << x << "," << y;
        if (!texture)
            continue;
        ++textures;
        // Across the wrap the colours change no more than between neighbouring texels inside.
        auto difference = [&](int x0, int y0, int x1, int y1, int dx, int dy) {
            long sum = 0;
            for (int k = 0; k < p.width; ++k)
                for (int ch = 0; ch < 3; ++ch)
                    sum += std::abs(p.at(x0 + k * dx, y0 + k * dy)[ch] - p.at(x1 + k * dx, y1 + k * dy)[ch]);
            return double(sum) / p.width;
        };
        int last = p.width - 1;
        double insideX = difference(p.width / 2, 0, p.width / 2 + 1, 0, 0, 1);
        double insideY = difference(0, p.height / 2, 0, p.height / 2 + 1, 1, 0);
        EXPECT_LT(difference(last, 0, 0, 0, 0, 1), 3 * insideX + 6) << picture.file;
        EXPECT_LT(difference(0, last, 0, 0, 1, 0), 3 * insideY + 6) << picture.file;
    }
    EXPECT_EQ(textures, 15);
}

}  // namespace
