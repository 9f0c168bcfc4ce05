#include "mkscenes/ParkLayout.h"

#include "core/Assert.h"
#include "mkscenes/Geometry.h"

#include <cmath>

namespace mkscenes {

const std::vector<Plot>& parkPlots()
{
    static const std::vector<Plot> plots = {
        {"DogHouse1", 11, -13.5f, -13, 14, 14, "dog", 1},
        {"DogHouse2", 12, -30.5f, -13, 14, 14, "dog", 2},
        {"DogHouse3", 13, -47.5f, -13, 14, 14, "dog", 3},
        {"CatHouse1", 21, -30.5f, 13, 14, 14, "cat", 1},
        {"CatHouse2", 22, -47.5f, 13, 14, 14, "cat", 2},
        {"CatHouse3", 23, -47.5f, 31, 14, 14, "cat", 3},
        {"DinoHouse1", 31, 13.5f, -13, 14, 14, "dino", 1},
        {"DinoHouse2", 32, 13.5f, -31, 14, 14, "dino", 2},
        {"DinoHouse3", 33, 47.5f, -22, 14, 32, "dino", 3},
        {"RabbitHouse1", 41, 13.5f, 31, 14, 14, "rabbit", 1},
        {"RabbitHouse2", 42, 30.5f, 31, 14, 14, "rabbit", 2},
        {"RabbitHouse3", 43, 30.5f, 13, 14, 14, "rabbit", 3},
        {"HorseHouse1", 51, 30.5f, -13, 14, 14, "horse", 1},
        {"HorseHouse2", 52, 30.5f, -31, 14, 14, "horse", 2},
        {"HorseHouse3", 53, 47.5f, 22, 14, 32, "horse", 3},
        {"OtherVet", 61, -13.5f, -31, 14, 14, "", 0},
        {"OtherHotel", 62, 13.5f, 13, 14, 14, "", 0},
        {"OtherRestaurant", 63, -13.5f, 13, 14, 14, "", 0},
        {"OtherAssistants", 64, -13.5f, 31, 14, 14, "", 0},
        {"OtherBuilding1", 65, -30.5f, 31, 14, 14, "", 0},
        {"OtherBuilding2", 66, -30.5f, -31, 14, 14, "", 0},
        {"OtherParking1", 67, -20, -53, 22, 14, "", 0},
        {"OtherParking2", 68, 21, -54, 26, 16, "", 0},
        {"OtherFoodStore", 69, -47.5f, -31, 14, 14, "", 0},
    };
    return plots;
}

float3 volcanoCrater()
{
    const Plot& v = plotOf("DinoHouse3");
    return float3(v.x, v.y + 8.5f, 5.8f);
}

const Plot& plotOf(const std::string& building)
{
    for (const Plot& p : parkPlots())
        if (p.building == building)
            return p;
    PP_ASSERT_MSG(false, "no plot for that building");
    return parkPlots()[0];
}

// An oval in the enclosure's open front (the houses stand at the back, north), its edge
// wavering a little so the walk does not look drawn with a compass.
std::vector<float3> placeLoop(const Plot& plot)
{
    float cx = plot.x, cy = plot.y - 2.6f, rx = 4.6f, ry = 2.4f;
    if (plot.building == "HorseHouse3")
        cy = plot.y - 5, rx = 4.6f, ry = 8;
    else if (plot.building == "DinoHouse3")
        cy = plot.y - 7.5f, rx = 4.7f, ry = 5.2f;
    else if (plot.species == "horse" || plot.species == "dino")
        rx = 5, ry = 2.7f;
    else if (plot.species == "rabbit" || plot.species == "cat")
        rx = 4, ry = 2.2f;
    std::vector<float3> pts;
    const int n = 96;
    for (int i = 0; i < n; ++i) {
        float a = 2 * kPi * float(i) / float(n);
        float wobble = 1 + 0.08f * std::sin(3 * a + float(plot.layer)) + 0.05f * std::sin(5 * a + 1.3f * float(plot.layer));
        pts.push_back(float3(cx + rx * wobble * std::cos(a), cy + ry * wobble * std::sin(a), 0));
    }
    return pts;
}

} // namespace mkscenes
