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
        {"DinoHouse3", 33, 39, -31, 31, 14, "dino", 3},
        {"RabbitHouse1", 41, 13.5f, 31, 14, 14, "rabbit", 1},
        {"RabbitHouse2", 42, 30.5f, 31, 14, 14, "rabbit", 2},
        {"RabbitHouse3", 43, 47.5f, 31, 14, 14, "rabbit", 3},
        {"HorseHouse1", 51, 30.5f, 13, 14, 14, "horse", 1},
        {"HorseHouse2", 52, 47.5f, 13, 14, 14, "horse", 2},
        {"HorseHouse3", 53, 39, -13, 31, 14, "horse", 3},
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

const Plot& plotOf(const std::string& building)
{
    for (const Plot& p : parkPlots())
        if (p.building == building)
            return p;
    PP_ASSERT_MSG(false, "no plot for that building");
    return parkPlots()[0];
}

const std::vector<Stall>& carStalls()
{
    static const std::vector<Stall> stalls = [] {
        std::vector<Stall> s;
        // Beside the drive, noses towards it.
        for (int k = 0; k < 3; ++k)
            for (float side : {-1.0f, 1.0f})
                s.push_back({float3(side * 6.0f, kFenceSouth - 5.9f - 2.9f * float(k), 0), side < 0 ? 0 : kPi});
        // Two rows in each car park, noses towards the aisle between them.
        const Plot& small = plotOf("OtherParking1");
        for (int k = 0; k < kCarParkStalls; ++k) {
            float row = k < kCarParkStalls / 2 ? 1.0f : -1.0f;
            s.push_back({float3(small.x + (float(k % 4) - 1.5f) * 2.9f, small.y + row * 4.2f, 0), -row * kPi / 2});
        }
        const Plot& large = plotOf("OtherParking2");
        for (int k = 0; k < kLargeCarParkStalls; ++k) {
            float row = k < kLargeCarParkStalls / 2 ? 1.0f : -1.0f;
            s.push_back({float3(large.x + (float(k % 5) - 2) * 2.9f, large.y + row * 4.8f, 0), -row * kPi / 2});
        }
        return s;
    }();
    return stalls;
}

// An oval in the enclosure's open front (the houses stand at the back, north), its edge
// wavering a little so the walk does not look drawn with a compass.
std::vector<float3> placeLoop(const Plot& plot)
{
    float cx = plot.x, cy = plot.y - 2.6f, rx = 4.6f, ry = 2.4f;
    if (plot.building == "HorseHouse3")
        cx = plot.x - 4, cy = plot.y - 1.5f, rx = 10, ry = 4;
    else if (plot.building == "DinoHouse3")
        cx = plot.x - 6, cy = plot.y - 2.2f, rx = 7.5f, ry = 3;
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
