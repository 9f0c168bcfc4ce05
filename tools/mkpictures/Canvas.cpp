#include "Canvas.h"

#include <IL/il.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// Sections: colours - transforms - paths and builders - strokes - paints - rasterising -
// canvas - finishing.

namespace {

const float kPi = 3.14159265358979f;

// Segments for a curve of the given radius: the chords stay within 0.04 units of the arc.
int segments_for(float radius, float sweep)
{
    float step = 2 * std::acos(1 - 0.04f / std::max(radius, 0.5f));
    int n = int(std::ceil(std::fabs(sweep) / step));
    return std::clamp(n, 6, 360);
}

}  // namespace

// ---- colours

Color hex(const char* text)
{
    unsigned v[4] = {0, 0, 0, 255};
    size_t n = std::char_traits<char>::length(text);
    if (text[0] != '#' || (n != 7 && n != 9)) {
        std::fprintf(stderr, "mkpictures: bad colour %s\n", text);
        std::abort();
    }
    for (size_t k = 0; k < (n - 1) / 2; ++k) {
        char part[3] = {text[1 + 2 * k], text[2 + 2 * k], 0};
        v[k] = unsigned(std::strtoul(part, nullptr, 16));
    }
    return {v[0] / 255.0f, v[1] / 255.0f, v[2] / 255.0f, v[3] / 255.0f};
}

Color with_alpha(Color c, float a)
{
    c.a = a;
    return c;
}

Color mix(Color a, Color b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Color lighter(Color c, float amount)
{
    return mix(c, {1, 1, 1, c.a}, amount);
}

Color darker(Color c, float amount)
{
    return mix(c, {0, 0, 0, c.a}, amount);
}

// ---- transforms

Affine Affine::then(const Affine& n) const
{
    Affine r;
    r.a = n.a * a + n.c * b;
    r.b = n.b * a + n.d * b;
    r.c = n.a * c + n.c * d;
    r.d = n.b * c + n.d * d;
    r.e = n.a * e + n.c * f + n.e;
    r.f = n.b * e + n.d * f + n.f;
    return r;
}

Affine Affine::translate(float x, float y)
{
    Affine m;
    m.e = x;
    m.f = y;
    return m;
}

Affine Affine::scale(float sx, float sy)
{
    Affine m;
    m.a = sx;
    m.d = sy;
    return m;
}

Affine Affine::rotate(float radians)
{
    Affine m;
    m.a = std::cos(radians);
    m.b = std::sin(radians);
    m.c = -m.b;
    m.d = m.a;
    return m;
}

Affine Affine::rotate_about(float radians, float cx, float cy)
{
    return translate(-cx, -cy).then(rotate(radians)).then(translate(cx, cy));
}

// ---- paths and builders

Path& Path::add(Contour contour)
{
    if (contour.size() >= 3) {
        Shape s;
        s.contours.push_back(std::move(contour));
        shapes.push_back(std::move(s));
    }
    return *this;
}

Path& Path::add(const Path& other)
{
    shapes.insert(shapes.end(), other.shapes.begin(), other.shapes.end());
    return *this;
}

Path& Path::cut(const Path& other)
{
    for (Shape s : other.shapes) {
        s.cut = !s.cut;
        shapes.push_back(std::move(s));
    }
    return *this;
}

Path& Path::add_shape(Shape shape)
{
    shapes.push_back(std::move(shape));
    return *this;
}

Path Path::transformed(const Affine& m) const
{
    Path out = *this;
    for (Shape& s : out.shapes)
        for (Contour& c : s.contours)
            for (Vec2& p : c)
                p = m.apply(p);
    return out;
}

void Path::bounds(float& x0, float& y0, float& x1, float& y1) const
{
    x0 = y0 = 1e30f;
    x1 = y1 = -1e30f;
    for (const Shape& s : shapes)
        for (const Contour& c : s.contours)
            for (const Vec2& p : c) {
                x0 = std::min(x0, p.x);
                y0 = std::min(y0, p.y);
                x1 = std::max(x1, p.x);
                y1 = std::max(y1, p.y);
            }
}

Path operator+(Path a, const Path& b)
{
    return a.add(b);
}

Path operator-(Path a, const Path& b)
{
    return a.cut(b);
}

std::vector<Vec2> arc_points(float cx, float cy, float rx, float ry, float a0, float a1)
{
    int n = segments_for(std::max(rx, ry), std::fabs(a1 - a0));
    std::vector<Vec2> pts;
    for (int k = 0; k <= n; ++k) {
        float a = a0 + (a1 - a0) * float(k) / float(n);
        pts.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return pts;
}

std::vector<Vec2> bezier_points(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3)
{
    std::vector<Vec2> pts;
    const int n = 24;
    for (int k = 0; k <= n; ++k) {
        float t = float(k) / n, u = 1 - t;
        float w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        pts.push_back({w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
                       w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
    }
    return pts;
}

Path circle(float cx, float cy, float r)
{
    return ellipse(cx, cy, r, r);
}

Path ellipse(float cx, float cy, float rx, float ry, float rotation)
{
    std::vector<Vec2> pts = arc_points(0, 0, rx, ry, 0, 2 * kPi);
    pts.pop_back();
    Path p(pts);
    return p.transformed(Affine::rotate(rotation).then(Affine::translate(cx, cy)));
}

Path rect(float x, float y, float w, float h)
{
    return Path(Contour{{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

Path round_rect(float x, float y, float w, float h, float r)
{
    r = std::min({r, w / 2, h / 2});
    if (r <= 0)
        return rect(x, y, w, h);
    Contour c;
    auto corner = [&](float cx, float cy, float a0) {
        std::vector<Vec2> arc = arc_points(cx, cy, r, r, a0, a0 + kPi / 2);
        c.insert(c.end(), arc.begin(), arc.end());
    };
    corner(x + w - r, y + r, -kPi / 2);
    corner(x + w - r, y + h - r, 0);
    corner(x + r, y + h - r, kPi / 2);
    corner(x + r, y + r, kPi);
    return Path(c);
}

Path polygon(const std::vector<Vec2>& points)
{
    return Path(points);
}

Path round_polygon(const std::vector<Vec2>& points, float radius)
{
    Contour c;
    size_t n = points.size();
    for (size_t k = 0; k < n; ++k) {
        Vec2 p = points[k], a = points[(k + n - 1) % n], b = points[(k + 1) % n];
        float la = std::hypot(a.x - p.x, a.y - p.y), lb = std::hypot(b.x - p.x, b.y - p.y);
        if (la < 1e-4f || lb < 1e-4f) {
            c.push_back(p);
            continue;
        }
        float t = std::min({radius, la / 2, lb / 2});
        Vec2 s{p.x + (a.x - p.x) / la * t, p.y + (a.y - p.y) / la * t};
        Vec2 e{p.x + (b.x - p.x) / lb * t, p.y + (b.y - p.y) / lb * t};
        // A quadratic curve through the corner point's pull keeps the corner soft.
        const int steps = 8;
        for (int i = 0; i <= steps; ++i) {
            float u = float(i) / steps, v = 1 - u;
            c.push_back({v * v * s.x + 2 * u * v * p.x + u * u * e.x,
                         v * v * s.y + 2 * u * v * p.y + u * u * e.y});
        }
    }
    return Path(c);
}

Path star(float cx, float cy, float outer, float inner, int points, float rotation)
{
    Contour c;
    for (int k = 0; k < points * 2; ++k) {
        float a = rotation - kPi / 2 + kPi * float(k) / float(points);
        float r = (k % 2 == 0) ? outer : inner;
        c.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Path(c);
}

Path heart(float cx, float cy, float size)
{
    Contour c;
    const int n = 96;
    float s = size / 34.0f;
    for (int k = 0; k < n; ++k) {
        float t = 2 * kPi * float(k) / n;
        float st = std::sin(t);
        float x = 16 * st * st * st;
        float y = -(13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t));
        c.push_back({cx + x * s, cy + (y + 2) * s});
    }
    return Path(c);
}

Path arc_band(float cx, float cy, float r0, float r1, float a0, float a1)
{
    Contour c = arc_points(cx, cy, r1, r1, a0, a1);
    std::vector<Vec2> inner = arc_points(cx, cy, r0, r0, a1, a0);
    c.insert(c.end(), inner.begin(), inner.end());
    return Path(c);
}

// ---- strokes: the union of one rectangle per segment and one disc per point, so every
// join and cap is round and overlaps cannot show seams.

Path stroke_polyline(const std::vector<Vec2>& points, float width, bool closed)
{
    Path out;
    float h = width / 2;
    size_t n = points.size();
    size_t segments = closed ? n : (n > 0 ? n - 1 : 0);
    for (size_t k = 0; k < segments; ++k) {
        Vec2 p = points[k], q = points[(k + 1) % n];
        float len = std::hypot(q.x - p.x, q.y - p.y);
        if (len < 1e-5f)
            continue;
        float nx = -(q.y - p.y) / len * h, ny = (q.x - p.x) / len * h;
        out.add(Contour{{p.x + nx, p.y + ny}, {q.x + nx, q.y + ny}, {q.x - nx, q.y - ny},
                        {p.x - nx, p.y - ny}});
    }
    // Discs at the points; on a finely flattened curve every few points suffice, but a
    // corner needs its own.
    for (size_t k = 0; k < n; ++k) {
        bool end = !closed && (k == 0 || k + 1 == n);
        bool corner = end;
        if (!corner) {
            Vec2 a = points[(k + n - 1) % n], p = points[k], b = points[(k + 1) % n];
            float ux = p.x - a.x, uy = p.y - a.y, vx = b.x - p.x, vy = b.y - p.y;
            float lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
            corner = lu < 1e-5f || lv < 1e-5f || (ux * vx + uy * vy) / (lu * lv) < 0.9995f;
        }
        if (corner || n < 3) {
            std::vector<Vec2> disc = arc_points(points[k].x, points[k].y, h, h, 0, 2 * kPi);
            disc.pop_back();
            out.add(disc);
        }
    }
    return out;
}

Path outline_of(const Path& path, float width)
{
    // Edges of added shapes are drawn, except where a cut removed them; a cut's own edge
    // gets no line (cuts trim shapes along the ground or behind other parts).
    Path out;
    for (const Shape& s : path.shapes)
        if (!s.cut)
            for (const Contour& c : s.contours)
                out.add(stroke_polyline(c, width, true));
    for (const Shape& s : path.shapes)
        if (s.cut)
            out.add_shape(s);
    return out;
}

// ---- paints

Color gradient_at(const std::vector<Stop>& stops, float t)
{
    if (stops.empty())
        return {};
    if (t <= stops.front().at)
        return stops.front().color;
    for (size_t k = 1; k < stops.size(); ++k)
        if (t <= stops[k].at) {
            float span = stops[k].at - stops[k - 1].at;
            float u = span > 0 ? (t - stops[k - 1].at) / span : 1;
            return mix(stops[k - 1].color, stops[k].color, u);
        }
    return stops.back().color;
}

Paint solid(Color c)
{
    return [c](float, float) { return c; };
}

Paint linear(Vec2 from, Vec2 to, std::vector<Stop> stops)
{
    float dx = to.x - from.x, dy = to.y - from.y;
    float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    return [=](float x, float y) {
        return gradient_at(stops, ((x - from.x) * dx + (y - from.y) * dy) / len2);
    };
}

Paint radial(Vec2 centre, float radius, std::vector<Stop> stops)
{
    return [=](float x, float y) {
        return gradient_at(stops, std::hypot(x - centre.x, y - centre.y) / radius);
    };
}

// ---- rasterising: signed-area accumulation (each edge adds its exact area to the cells it
// crosses; a running sum along a row gives the winding-weighted coverage).

namespace {

struct Accumulator {
    int w, h;  // cells; the buffer is 2 wider so an edge at the right border stays inside
    std::vector<float> a;
    Accumulator(int w_, int h_) : w(w_), h(h_), a(size_t(w_ + 2) * h_, 0.0f) {}

    void line(Vec2 p0, Vec2 p1)
    {
        if (std::fabs(p0.y - p1.y) <= 1e-7f)
            return;
        float dir = 1;
        if (p0.y > p1.y) {
            std::swap(p0, p1);
            dir = -1;
        }
        float dxdy = (p1.x - p0.x) / (p1.y - p0.y);
        float x = p0.x;
        int ystart = std::max(0, int(std::floor(p0.y)));
        if (p0.y < float(ystart))
            x += (float(ystart) - p0.y) * dxdy;
        int yend = std::min(h, int(std::ceil(p1.y)));
        const int stride = w + 2;
        for (int y = ystart; y < yend; ++y) {
            float* row = &a[size_t(y) * stride];
            float dy = std::min(float(y + 1), p1.y) - std::max(float(y), p0.y);
            float xnext = x + dxdy * dy;
            float d = dy * dir;
            // Outside the box on the left counts as its first column, on the right as nothing.
            float cx = std::clamp(x, 0.0f, float(w)), cxn = std::clamp(xnext, 0.0f, float(w));
            float x0 = std::min(cx, cxn), x1 = std::max(cx, cxn);
            float x0floor = std::floor(x0);
            int x0i = int(x0floor);
            float x1ceil = std::ceil(x1);
            int x1i = int(x1ceil);
            if (x1i <= x0i + 1) {
                float xmf = 0.5f * (cx + cxn) - x0floor;
                row[x0i] += d - d * xmf;
                row[x0i + 1] += d * xmf;
            } else {
                float s = 1.0f / (x1 - x0);
                float x0f = x0 - x0floor;
                float a0 = 0.5f * s * (1 - x0f) * (1 - x0f);
                float x1f = x1 - x1ceil + 1;
                float am = 0.5f * s * x1f * x1f;
                row[x0i] += d * a0;
                if (x1i == x0i + 2) {
                    row[x0i + 1] += d * (1 - a0 - am);
                } else {
                    float a1 = s * (1.5f - x0f);
                    row[x0i + 1] += d * (a1 - a0);
                    for (int xi = x0i + 2; xi < x1i - 1; ++xi)
                        row[xi] += d * s;
                    float a2 = a1 + float(x1i - x0i - 3) * s;
                    row[x1i - 1] += d * (1 - a2 - am);
                }
                row[x1i] += d * am;
            }
            x = xnext;
        }
    }
};

}  // namespace

// ---- canvas

Canvas::Canvas(int width, int height)
    : mWidth(width), mHeight(height), mPixels(size_t(width) * height * 4, 0.0f)
{
}

std::vector<float> Canvas::coverage(const Path& path) const
{
    std::vector<float> cover(size_t(mWidth) * mHeight, 0.0f);
    Path mapped = path.transformed(mTransform);
    for (const Shape& s : mapped.shapes) {
        Path one;
        one.shapes.push_back(s);
        float fx0, fy0, fx1, fy1;
        one.bounds(fx0, fy0, fx1, fy1);
        bool finite = true;
        for (const Contour& c : s.contours)
            for (const Vec2& p : c)
                finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        if (!finite) {
            std::fprintf(stderr, "mkpictures: a shape with a point that is not a number is left out\n");
            continue;
        }
        int bx0 = std::max(0, int(std::floor(fx0)));
        int by0 = std::max(0, int(std::floor(fy0)));
        int bx1 = std::min(mWidth, int(std::ceil(fx1)) + 1);
        int by1 = std::min(mHeight, int(std::ceil(fy1)) + 1);
        if (bx1 <= bx0 || by1 <= by0)
            continue;
        Accumulator acc(bx1 - bx0, by1 - by0);
        for (const Contour& c : s.contours)
            for (size_t k = 0; k < c.size(); ++k) {
                Vec2 p = c[k], q = c[(k + 1) % c.size()];
                acc.line({p.x - bx0, p.y - by0}, {q.x - bx0, q.y - by0});
            }
        const int stride = acc.w + 2;
        for (int y = 0; y < acc.h; ++y) {
            float sum = 0;
            float* out = &cover[size_t(y + by0) * mWidth + bx0];
            const float* row = &acc.a[size_t(y) * stride];
            for (int x = 0; x < acc.w; ++x) {
                sum += row[x];
                float c = std::min(1.0f, std::fabs(sum));
                if (s.cut)
                    out[x] *= 1 - c;
                else
                    out[x] = std::max(out[x], c);
            }
        }
    }
    for (const std::vector<float>& clip : mClips)
        for (size_t k = 0; k < cover.size(); ++k)
            cover[k] *= clip[k];
    return cover;
}

void Canvas::composite(const std::vector<float>& cover, const Paint& paint, float opacity)
{
    // Paints are given in design units: pixel centres are mapped back through the transform.
    const Affine& m = mTransform;
    float det = m.a * m.d - m.b * m.c;
    Affine inv;
    inv.a = m.d / det;
    inv.b = -m.b / det;
    inv.c = -m.c / det;
    inv.d = m.a / det;
    inv.e = -(inv.a * m.e + inv.c * m.f);
    inv.f = -(inv.b * m.e + inv.d * m.f);
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x) {
            float c = cover[size_t(y) * mWidth + x];
            if (c <= 0)
                continue;
            Vec2 p = inv.apply({x + 0.5f, y + 0.5f});
            Color col = paint(p.x, p.y);
            float sa = std::clamp(col.a * c * opacity, 0.0f, 1.0f);
            float* px = &mPixels[(size_t(y) * mWidth + x) * 4];
            px[0] = col.r * sa + px[0] * (1 - sa);
            px[1] = col.g * sa + px[1] * (1 - sa);
            px[2] = col.b * sa + px[2] * (1 - sa);
            px[3] = sa + px[3] * (1 - sa);
        }
}

void Canvas::fill(const Path& path, const Paint& paint, float opacity)
{
    composite(coverage(path), paint, opacity);
}

void Canvas::fill_outlined(const Path& path, const Paint& paint, Color line, float width)
{
    fill(path, paint);
    fill(outline_of(path, width), line);
}

void Canvas::stroke(const std::vector<Vec2>& points, float width, Color c, bool closed)
{
    fill(stroke_polyline(points, width, closed), c);
}

void Canvas::shadow(const Path& path, float dx, float dy, float blur, Color c)
{
    float scale = std::sqrt(std::fabs(mTransform.a * mTransform.d - mTransform.b * mTransform.c));
    Path moved = path.transformed(Affine::translate(dx, dy).then(mTransform));
    float fx0, fy0, fx1, fy1;
    moved.bounds(fx0, fy0, fx1, fy1);
    // Three box blurs in each direction approximate a Gaussian; they spread the coverage by
    // at most three radii, so only that box around the shape is worked on.
    int r = std::max(1, int(std::lround(blur * scale / 2)));
    int bx0 = std::max(0, int(std::floor(fx0)) - 3 * r - 1), by0 = std::max(0, int(std::floor(fy0)) - 3 * r - 1);
    int bx1 = std::min(mWidth, int(std::ceil(fx1)) + 3 * r + 2), by1 = std::min(mHeight, int(std::ceil(fy1)) + 3 * r + 2);
    if (bx1 <= bx0 || by1 <= by0)
        return;

    Affine saved = mTransform;
    mTransform = Affine();
    std::vector<std::vector<float>> keptClips;
    keptClips.swap(mClips);
    std::vector<float> cover = coverage(moved);
    mClips.swap(keptClips);
    mTransform = saved;

    std::vector<float> tmp(cover.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = by0; y < by1; ++y)
            for (int x = bx0; x < bx1; ++x) {
                float sum = 0;
                for (int k = -r; k <= r; ++k)
                    sum += cover[size_t(y) * mWidth + std::clamp(x + k, 0, mWidth - 1)];
                tmp[size_t(y) * mWidth + x] = sum / float(2 * r + 1);
            }
        for (int y = by0; y < by1; ++y)
            for (int x = bx0; x < bx1; ++x) {
                float sum = 0;
                for (int k = -r; k <= r; ++k)
                    sum += tmp[size_t(std::clamp(y + k, 0, mHeight - 1)) * mWidth + x];
                cover[size_t(y) * mWidth + x] = sum / float(2 * r + 1);
            }
    }
    for (const std::vector<float>& clip : mClips)
        for (size_t k = 0; k < cover.size(); ++k)
            cover[k] *= clip[k];
    composite(cover, solid(c), 1);
}

void Canvas::flood(const Paint& paint, float opacity)
{
    std::vector<float> cover(size_t(mWidth) * mHeight, 1.0f);
    for (const std::vector<float>& clip : mClips)
        for (size_t k = 0; k < cover.size(); ++k)
            cover[k] *= clip[k];
    composite(cover, paint, opacity);
}

void Canvas::push_clip(const Path& path)
{
    mClips.push_back(coverage(path));
}

void Canvas::pop_clip()
{
    if (!mClips.empty())
        mClips.pop_back();
}

std::vector<uint8_t> Canvas::rgba() const
{
    std::vector<uint8_t> out(mPixels.size());
    for (size_t k = 0; k < mPixels.size(); k += 4) {
        float a = mPixels[k + 3];
        for (int ch = 0; ch < 3; ++ch) {
            float v = a > 0 ? mPixels[k + ch] / a : 0;
            out[k + ch] = uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
        }
        out[k + 3] = uint8_t(std::lround(std::clamp(a, 0.0f, 1.0f) * 255));
    }
    return out;
}

// ---- finishing

std::vector<uint8_t> greyed(const std::vector<uint8_t>& rgba)
{
    std::vector<uint8_t> out(rgba.size());
    for (size_t k = 0; k < rgba.size(); k += 4) {
        float lum = 0.299f * rgba[k] + 0.587f * rgba[k + 1] + 0.114f * rgba[k + 2];
        uint8_t g = uint8_t(std::lround(105 + 0.45f * lum));
        out[k] = out[k + 1] = out[k + 2] = g;
        out[k + 3] = rgba[k + 3];
    }
    return out;
}

bool save_png(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba)
{
    // The image library keeps rows bottom first.
    std::vector<uint8_t> bottom_up(rgba.size());
    size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y)
        std::copy(&rgba[y * row], &rgba[y * row] + row, &bottom_up[(height - 1 - y) * row]);
    ILuint id = ilGenImage();
    ilBindImage(id);
    bool ok = ilTexImage(width, height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, bottom_up.data());
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_PNG, path.c_str());
    ilDeleteImage(id);
    return ok;
}
