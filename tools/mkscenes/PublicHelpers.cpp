// Public_Helpers.3dn and Cars_Helpers.3dn: where the visitors walk and where their cars stand.
//
// The walkers enter by the gate in the middle of the south fence (0, -42), follow the avenues
// and paths between the plots, go round the fountain square at the centre (radius 7.5) and
// leave by the gate. Each keeps to the right of its way. Plot rows lie at y = +-13 and +-31 and
// columns at x = +-13.5, +-30.5, +-47.5 (14 x 14 each), so the paths run along x = 0, +-22, +-39
// and y = 0, +-22. The cars stand along the drive south of the gate and on the two car parks
// either side of it.

#include "mkscenes/Visitors.h"

#include "mkscenes/Geometry.h"
#include "scenelib/SceneBuilder.h"

#include <algorithm>
#include <cmath>

namespace mkscenes {

using namespace scenelib;

namespace {

const float kOutside = -45;        // where a walker appears and disappears, outside the gate
const float kFountain = 5.6f;      // the ring walked round the fountain
const float kKeepRight = 0.6f;     // metres right of the path's middle
const float kCornerRadius = 1.6f;

// A way through the park as corner points, with turns round the fountain.
class Route {
public:
    explicit Route(float x, float y) { mPoints.push_back(float3(x, y, 0)); }
    Route& to(float x, float y)
    {
        mPoints.push_back(float3(x, y, 0));
        return *this;
    }
    // Round the fountain from one compass angle to another (degrees; increasing is
    // counter-clockwise), starting where the way meets the ring.
    Route& round(float from, float to)
    {
        int steps = int(std::fabs(to - from) / 10);
        for (int i = 0; i <= steps; ++i) {
            float a = radians(from + (to - from) * float(i) / float(steps));
            float3 p(kFountain * std::cos(a), kFountain * std::sin(a), 0);
            if (length(p - mPoints.back()) > 1e-3f)
                mPoints.push_back(p);
        }
        return *this;
    }
    std::vector<float3> points() const { return mPoints; }

private:
    std::vector<float3> mPoints;
};

// The route mirrored east-west.
std::vector<float3> mirrored(std::vector<float3> pts)
{
    for (float3& p : pts)
        p.x = -p.x;
    return pts;
}

float3 rightOf(float3 d)
{
    return unit(float3(d.y, -d.x, 0));
}

// Shifted to the right of the way; corners mitred.
std::vector<float3> keptRight(const std::vector<float3>& pts, float by)
{
    std::vector<float3> out;
    size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        float3 nIn = i > 0 ? rightOf(pts[i] - pts[i - 1]) : rightOf(pts[1] - pts[0]);
        float3 nOut = i + 1 < n ? rightOf(pts[i + 1] - pts[i]) : nIn;
        float3 mid = unit(nIn + nOut);
        float c = std::max(0.3f, mid.x * nIn.x + mid.y * nIn.y);
        out.push_back(pts[i] + mid * (by / c));
    }
    return out;
}

// Sharp corners replaced by short curves, sampled finely.
std::vector<float3> rounded(const std::vector<float3>& pts)
{
    std::vector<float3> out = {pts.front()};
    for (size_t i = 1; i + 1 < pts.size(); ++i) {
        float3 in = pts[i] - pts[i - 1], outDir = pts[i + 1] - pts[i];
        float r = std::min({kCornerRadius, length(in) * 0.45f, length(outDir) * 0.45f});
        float3 a = pts[i] - unit(in) * r, b = pts[i] + unit(outDir) * r;
        for (int k = 0; k <= 6; ++k) {
            float t = float(k) / 6;
            out.push_back(a * ((1 - t) * (1 - t)) + pts[i] * (2 * t * (1 - t)) + b * (t * t));
        }
    }
    out.push_back(pts.back());
    return out;
}

// frames + 1 points evenly spaced along the polyline.
std::vector<float3> resampled(const std::vector<float3>& pts, int frames)
{
    std::vector<float> at = {0};
    for (size_t i = 1; i < pts.size(); ++i)
        at.push_back(at.back() + length(pts[i] - pts[i - 1]));
    std::vector<float3> out;
    size_t seg = 1;
    for (int f = 0; f <= frames; ++f) {
        float s = at.back() * float(f) / float(frames);
        while (seg + 1 < pts.size() && at[seg] < s)
            ++seg;
        float len = at[seg] - at[seg - 1];
        float t = len > 0 ? (s - at[seg - 1]) / len : 0;
        out.push_back(lerp(pts[seg - 1], pts[seg], std::min(1.0f, std::max(0.0f, t))));
    }
    return out;
}

// The node's keys: at each point, turned to face along the way (the figure faces +x),
// the heading averaged over a few keys so turns take a moment.
Track walkTrack(const std::vector<float3>& pts)
{
    Track track;
    int n = int(pts.size());
    for (int i = 0; i < n; ++i) {
        float3 d;
        for (int k = -3; k <= 3; ++k) {
            int a = std::max(0, std::min(n - 2, i + k));
            d = d + unit(pts[size_t(a) + 1] - pts[size_t(a)]);
        }
        float heading = std::atan2(d.y, d.x);
        track.push_back(mul(rotationZ(heading), translation(pts[size_t(i)])));
    }
    return track;
}

} // namespace

std::vector<std::vector<float3>> visitorRoutes()
{
    // West loop by the north path, back round the fountain.
    std::vector<float3> west = Route(0, kOutside).to(0, -22).to(-22, -22).to(-22, 22).to(0, 22).to(0, kFountain)
                                   .round(90, 270).to(0, kOutside).points();
    // In round the fountain to the west avenue, by the far column path back to the south path.
    std::vector<float3> farWest = Route(0, kOutside).to(0, -kFountain).round(-90, -180).to(-39, 0).to(-39, -22)
                                      .to(0, -22).to(0, kOutside).points();
    // Round the fountain to the east, up and across the north, round the fountain again.
    std::vector<float3> north = Route(0, kOutside).to(0, -kFountain).round(-90, 0).to(22, 0).to(22, 22).to(0, 22)
                                    .to(0, kFountain).round(90, 270).to(0, kOutside).points();
    // The far column path first, in by the west avenue, round the fountain and out.
    std::vector<float3> farFirst = Route(0, kOutside).to(0, -22).to(-39, -22).to(-39, 0).to(-kFountain, 0)
                                       .round(180, 270).to(0, kOutside).points();
    std::vector<std::vector<float3>> routes = {west, mirrored(west), farWest, mirrored(farWest),
                                               north, mirrored(north), farFirst, mirrored(farFirst)};
    for (auto& route : routes)
        route = resampled(rounded(keptRight(route, kKeepRight)), kVisitorPathFrames);
    return routes;
}

std::vector<CarPlace> carPlaces()
{
    std::vector<CarPlace> places;
    // 1..6 along the drive, nose to the gate on the east side, away from it on the west side.
    for (int i = 0; i < 3; ++i) {
        places.push_back({float3(5.2f, -50.0f - 6.0f * float(i), 0), kPi / 2});
        places.push_back({float3(-5.2f, -50.0f - 6.0f * float(i), 0), -kPi / 2});
    }
    // 7..14 on the Car Park (-31..-9, -60..-46): two rows of four, facing each other's backs.
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 4; ++i)
            places.push_back({float3(-26.5f + 5.0f * float(i), row == 0 ? -49.5f : -56.5f, 0),
                              row == 0 ? kPi / 2 : -kPi / 2});
    // 15..24 on the Large Car Park (8..34, -62..-46): two rows of five.
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 5; ++i)
            places.push_back({float3(11.5f + 4.75f * float(i), row == 0 ? -50.0f : -58.0f, 0),
                              row == 0 ? kPi / 2 : -kPi / 2});
    return places;
}

bool writePublicHelpers(const std::string& sceneDir)
{
    SceneBuilder paths;
    paths.setAnimation(kVisitorPathFrames, kVisitorFps);
    paths.setComments("visitors' walking paths: visitor_path1..8, one key per frame");
    std::vector<std::vector<float3>> routes = visitorRoutes();
    for (size_t i = 0; i < routes.size(); ++i)
        paths.addNode("visitor_path" + std::to_string(i + 1), 0, walkTrack(routes[i]));
    bool ok = paths.save(sceneDir + "/Public_Helpers.3dn");

    SceneBuilder cars;
    cars.setComments("parking places car_place_1..24");
    std::vector<CarPlace> places = carPlaces();
    for (size_t i = 0; i < places.size(); ++i)
        cars.addNode("car_place_" + std::to_string(i + 1), 0,
                     Track{mul(rotationZ(places[i].heading), translation(places[i].at))});
    ok = cars.save(sceneDir + "/Cars_Helpers.3dn") && ok;
    return ok;
}

} // namespace mkscenes
