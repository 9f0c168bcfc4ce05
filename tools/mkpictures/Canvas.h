#pragma once

// A small vector painter for the generated pictures: paths built from lines, arcs and curves,
// filled with exact-area anti-aliasing into a float RGBA canvas (premultiplied alpha), with
// solid, gradient or computed paints, outlines, soft shadows and clip masks.
// Coordinates are pixels with y down; the canvas may scale every path by a drawing scale.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---- colours

struct Color {
    float r = 0, g = 0, b = 0, a = 1;  // straight alpha, 0..1
};

// "#rrggbb" or "#rrggbbaa"; a bad text is a programming error.
Color hex(const char* text);
Color with_alpha(Color c, float a);
Color mix(Color a, Color b, float t);
Color lighter(Color c, float amount);  // towards white
Color darker(Color c, float amount);   // towards black

// ---- geometry

struct Vec2 {
    float x = 0, y = 0;
};

// x' = a*x + c*y + e, y' = b*x + d*y + f
struct Affine {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Vec2 apply(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    Affine then(const Affine& next) const;  // this first, then next
    static Affine translate(float x, float y);
    static Affine scale(float sx, float sy);
    static Affine rotate(float radians);
    static Affine rotate_about(float radians, float cx, float cy);
};

using Contour = std::vector<Vec2>;  // closed polygon

// A path is a list of shapes applied in order: a shape is added to what is covered so far, or
// cut out of it. A shape's own contours are filled together by the non-zero rule (so a glyph
// keeps its counters); separate shapes may overlap freely.
struct Shape {
    std::vector<Contour> contours;
    bool cut = false;
};

class Path {
public:
    Path() = default;
    explicit Path(Contour contour) { add(std::move(contour)); }

    Path& add(Contour contour);
    Path& add(const Path& other);       // union
    Path& cut(const Path& other);       // difference
    Path& add_shape(Shape shape);

    Path transformed(const Affine& m) const;
    Path translated(float dx, float dy) const { return transformed(Affine::translate(dx, dy)); }
    void bounds(float& x0, float& y0, float& x1, float& y1) const;
    bool empty() const { return shapes.empty(); }

    std::vector<Shape> shapes;
};

Path operator+(Path a, const Path& b);
Path operator-(Path a, const Path& b);

// Builders (curves are flattened finely enough for pictures up to a few hundred pixels).
Path circle(float cx, float cy, float r);
Path ellipse(float cx, float cy, float rx, float ry, float rotation = 0);
Path rect(float x, float y, float w, float h);
Path round_rect(float x, float y, float w, float h, float r);
Path polygon(const std::vector<Vec2>& points);
// A polygon whose corners are rounded with the given radius (shortened on short sides).
Path round_polygon(const std::vector<Vec2>& points, float radius);
Path star(float cx, float cy, float outer, float inner, int points, float rotation = 0);
Path heart(float cx, float cy, float size);
// A ring sector between two radii, angles in radians (0 = right, increasing clockwise on screen).
Path arc_band(float cx, float cy, float r0, float r1, float a0, float a1);

// Open curves, for strokes: points along an arc or a cubic Bezier curve.
std::vector<Vec2> arc_points(float cx, float cy, float rx, float ry, float a0, float a1);
std::vector<Vec2> bezier_points(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3);
// The outline of a polyline drawn with the given width, with round joins and caps.
Path stroke_polyline(const std::vector<Vec2>& points, float width, bool closed = false);
// The outlines of the path's added contours, centred on their edges and trimmed by its cuts.
Path outline_of(const Path& path, float width);

// ---- paints

using Paint = std::function<Color(float x, float y)>;

struct Stop {
    float at;
    Color color;
};
Paint solid(Color c);
Paint linear(Vec2 from, Vec2 to, std::vector<Stop> stops);
Paint radial(Vec2 centre, float radius, std::vector<Stop> stops);
Color gradient_at(const std::vector<Stop>& stops, float t);

// ---- the canvas

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    // Every path drawn afterwards is first mapped by this transform (design units to pixels).
    void set_transform(const Affine& m) { mTransform = m; }
    const Affine& transform() const { return mTransform; }

    void fill(const Path& path, const Paint& paint, float opacity = 1);
    void fill(const Path& path, Color c, float opacity = 1) { fill(path, solid(c), opacity); }
    // Fills the path and draws its edge with an outline of the given width.
    void fill_outlined(const Path& path, const Paint& paint, Color line, float width);
    void fill_outlined(const Path& path, Color c, Color line, float width)
    {
        fill_outlined(path, solid(c), line, width);
    }
    void stroke(const std::vector<Vec2>& points, float width, Color c, bool closed = false);
    // A blurred copy of the path's coverage, offset and tinted (blur radius in pixels).
    void shadow(const Path& path, float dx, float dy, float blur, Color c);
    // Paints every pixel with the paint (clip still applies).
    void flood(const Paint& paint, float opacity = 1);

    // Clips all drawing to the path (intersected with the clip already set) until pop_clip.
    void push_clip(const Path& path);
    void pop_clip();

    // Straight-alpha 8-bit RGBA, rows top first.
    std::vector<uint8_t> rgba() const;

private:
    // Coverage of a path in canvas pixels, 0..1, mapped by the transform.
    std::vector<float> coverage(const Path& path) const;
    void composite(const std::vector<float>& cover, const Paint& paint, float opacity);

    int mWidth, mHeight;
    Affine mTransform;
    std::vector<float> mPixels;  // premultiplied RGBA
    std::vector<std::vector<float>> mClips;
};

// ---- finishing

// The picture as its disabled look: grey, paler and flatter, alpha kept.
std::vector<uint8_t> greyed(const std::vector<uint8_t>& rgba);
// Writes 8-bit RGBA (rows top first) as a PNG; false when it cannot be written.
bool save_png(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
