#include "render/scene_file.h"

#include "render/SuperBase.h"

#include <cmath>
#include <cstdio>
#include <type_traits>

// Index: record writer - record reader - both ends of a record list - element records - root and kinds -
// checks - entry points

namespace {

// ---- record writer: every int and float as a little-endian word, texts with their NUL

class RecordWriter {
public:
    RecordWriter(SuperBase& sb, int s) : mSb(sb), mS(s) {}

    void text(const char* name, const std::string& v) { mSb.add_record(mS, name, v.c_str(), int(v.size()) + 1); }

    template <class T>
    void value(const char* name, const T& v)
    {
        words(name, &v, sizeof(T));
    }

    template <class T>
    void vec(const char* name, const std::vector<T>& v)
    {
        static_assert(std::is_trivially_copyable<T>::value && sizeof(T) % 4 == 0, "word-based elements only");
        words(name, v.data(), v.size() * sizeof(T));
    }

    void bytes(const char* name, const std::vector<char>& v) { mSb.add_record(mS, name, v.data(), int(v.size())); }

    // A text list as its count record ("L.size()") and one record per text ("L 0", "L 1", ...).
    void texts(const std::string& list, const std::vector<std::string>& v)
    {
        value((list + ".size()").c_str(), int32_t(v.size()));
        for (size_t i = 0; i < v.size(); ++i)
            text((list + " " + std::to_string(i)).c_str(), v[i]);
    }

private:
    void words(const char* name, const void* data, size_t size)
    {
        std::vector<char> out(size);
        const char* in = static_cast<const char*>(data);
        for (size_t i = 0; i + 4 <= size; i += 4) {
            uint32_t w;
            std::memcpy(&w, in + i, 4);
            encode_le32(out.data() + i, w);
        }
        mSb.add_record(mS, name, out.data(), int(out.size()));
    }

    SuperBase& mSb;
    int mS;
};

// ---- record reader

class RecordReader {
public:
    RecordReader(const SuperBase& sb, int s) : mSb(sb), mS(s) {}

    // The text up to its first NUL, never past the record; absent: empty.
    std::string text(const char* name) const
    {
        const SuperBase::SuperStructure::Record* r = mSb.find(mS, name);
        if (!r)
            return std::string();
        const std::vector<char>& d = r->data;
        size_t n = 0;
        while (n < d.size() && d[n])
            ++n;
        return std::string(d.data(), n);
    }

    template <class T>
    void get(const char* name, T& v) const
    {
        mSb.tget(mS, name, v);
    }

    int records() const { return mSb.structure(mS).count(); }

    // A list count stored in the file; each list lives in a record of its own, so a count
    // beyond the structure's records is damage. Absent: 0.
    bool count(const char* name, int32_t& n, std::string& why) const
    {
        n = 0;
        get(name, n);
        if (n < 0 || n > records()) {
            why = std::string("list count \"") + name + "\" of structure " + std::to_string(mS) + " is " +
                  std::to_string(n);
            return false;
        }
        return true;
    }

    // A helper's text list: its count record, then the numbered texts.
    bool texts(const std::string& list, std::vector<std::string>& v, std::string& why) const
    {
        int32_t n = 0;
        if (!count((list + ".size()").c_str(), n, why))
            return false;
        v.clear();
        for (int32_t i = 0; i < n; ++i)
            v.push_back(text((list + " " + std::to_string(i)).c_str()));
        return true;
    }

private:
    const SuperBase& mSb;
    int mS;
};

std::string numbered(const char* name, int i)
{
    return name + std::to_string(i);
}

// ---- the two ends of one record list: writing an element's members, reading them back

class WriteFields {
public:
    explicit WriteFields(RecordWriter& w) : mW(w) {}

    void operator()(const char* name, const std::string& v) { mW.text(name, v); }
    void operator()(const char* name, const std::vector<char>& v) { mW.bytes(name, v); }
    template <class T>
    void operator()(const char* name, const std::vector<T>& v)
    {
        mW.vec(name, v);
    }
    template <class T>
    void operator()(const char* name, const T& v)
    {
        mW.value(name, v);
    }
    // Written for completeness; the reader leaves such a member empty.
    template <class T>
    void unread(const char* name, const T& v)
    {
        (*this)(name, v);
    }
    // Triangle lists: their count, then one record per list (stem followed by its number).
    void lists(const char* count, const char* stem, const std::vector<std::vector<Engine2Scene::int3>>& v)
    {
        mW.value(count, int32_t(v.size()));
        for (size_t d = 0; d < v.size(); ++d)
            mW.vec(numbered(stem, int(d)).c_str(), v[d]);
    }
    // A text list: its count record ("L.size()"), then one record per text ("L 0", "L 1", ...).
    void texts(const char* list, const std::vector<std::string>& v) { mW.texts(list, v); }

private:
    RecordWriter& mW;
};

// An absent record leaves its member at the default (an absent text is empty); a list count
// that cannot be right makes the element damaged (ok() false, the reason in why).
class ReadFields {
public:
    ReadFields(const RecordReader& r, std::string& why) : mR(r), mWhy(why) {}

    void operator()(const char* name, std::string& v) { v = mR.text(name); }
    template <class T>
    void operator()(const char* name, T& v)
    {
        mR.get(name, v);
    }
    template <class T>
    void unread(const char*, T&)
    {
    }
    // A list whose record is absent reads as empty; without the count there are no lists.
    void lists(const char* count, const char* stem, std::vector<std::vector<Engine2Scene::int3>>& v)
    {
        int32_t n = 0;
        if (!mOk || !(mOk = mR.count(count, n, mWhy)))
            return;
        v.assign(size_t(n), {});
        for (int32_t d = 0; d < n; ++d)
            mR.get(numbered(stem, d).c_str(), v[size_t(d)]);
    }
    void texts(const char* list, std::vector<std::string>& v)
    {
        if (mOk)
            mOk = mR.texts(list, v, mWhy);
    }
    bool ok() const { return mOk; }

private:
    RecordReader mR;
    std::string& mWhy;
    bool mOk = true;
};

// ---- element records: each kind's list, in the writer's record order, serves both ends

template <class T>
struct Kind {
};

template <class E, class F>
void fields(E& f, F& v, Kind<Engine2Scene::File>)
{
    v("file_name", f.file_name);
    v("data", f.data);
    for (int i = 0; i < 6; ++i)
        v(("data6[" + std::to_string(i) + "]").c_str(), f.data6[i]);
    v("only_link", f.only_link);
}

template <class E, class F>
void fields(E& t, F& v, Kind<Engine2Scene::TextureMap>)
{
    v("name", t.name);
    v("amt", t.amt);
    v("blur", t.blur);
    v("bluroff", t.bluroff);
    v("chanel", t.chanel);
    v("file", t.file);
    v("umirror", t.umirror);
    v("uoff", t.uoff);
    v("uscl", t.uscl);
    v("utille", t.utille);
    v("vmirror", t.vmirror);
    v("voff", t.voff);
    v("vscl", t.vscl);
    v("vtille", t.vtille);
    v("autogencube", t.autogencube);
}

template <class E, class F>
void fields(E& m, F& v, Kind<Engine2Scene::Material>)
{
    v("name", m.name);
    v("shader_file", m.shader_file);
    v("texture_map", m.texture_map);
    v("maxmat", m.maxmat);
}

// Binormals and tangents on file are not read: loaders make their own.
template <class E, class F>
void fields(E& b, F& v, Kind<Engine2Scene::VertexBuffer>)
{
    v("xyz", b.xyz);
    v("color", b.color);
    v("normal", b.normal);
    v.unread("binormal", b.binormal);
    v.unread("tangent", b.tangent);
    v("illumination", b.illumination);
    v("alpha", b.alpha);
    for (int i = 0; i < 16; ++i) {
        v(numbered("uvw", i).c_str(), b.uvw[i]);
        v(numbered("weight", i).c_str(), b.weight[i]);
        v(numbered("bone", i).c_str(), b.bone[i]);
    }
}

template <class E, class F>
void fields(E& t, F& v, Kind<Engine2Scene::TriangleBuffer>)
{
    v("color", t.color);
    v("vertexbuffer", t.vertexbuffer);
    v.lists("triangle_ile", "triangle", t.triangle);
    v("material", t.material);
}

template <class E, class F>
void fields(E& m, F& v, Kind<Engine2Scene::Mesh>)
{
    v("name", m.name);
    v("node", m.node);
    v("is_skined", m.is_skined);
    v("is_moving", m.is_moving);
    v("visibility", m.visibility);
    v("matrix", m.matrix);
    v("inv0_matrix", m.inv0_matrix);
    v("trianglebuffer", m.trianglebuffer);
}

template <class E, class F>
void fields(E& b, F& v, Kind<Engine2Scene::Bone>)
{
    v("name", b.name);
    v("node", b.node);
    v("matrix", b.matrix);
    v("inv0_matrix", b.inv0_matrix);
    v("dimension", b.dimension);
    v("anchor", b.anchor);
    v("rotation", b.rotation);
    v("center", b.center);
    v("width", b.width);
    v("height", b.height);
    v("taper", b.taper);
}

template <class E, class F>
void fields(E& n, F& v, Kind<Engine2Scene::Node>)
{
    v("name", n.name);
    v("type", n.type);
    v("xref_file_name", n.xref_file_name);
    v("user_text", n.user_text);
    v("parent", n.parent);
    v("subnode", n.subnode);
    v("layer_number", n.layer_number);
    v("is_xref", n.is_xref);
    v("is_hide", n.is_hide);
    v("is_frozen", n.is_frozen);
    v("is_renderable", n.is_renderable);
    v("is_group", n.is_group);
    v("mesh", n.mesh);
    v("bone", n.bone);
    v("camera", n.camera);
    v("light", n.light);
    v("helper", n.helper);
    v("wire_color", n.wire_color);
    v("image_multiplier", n.image_multiplier);
    v("matrix", n.matrix);
    v("inv0_matrix", n.inv0_matrix);
}

template <class E, class F>
void fields(E& c, F& v, Kind<Engine2Scene::Camera>)
{
    v("node", c.node);
    v("matrix", c.matrix);
    v("fov_deg", c.fov_deg);
    v("near_clip", c.near_clip);
    v("far_clip", c.far_clip);
}

template <class E, class F>
void fields(E& l, F& v, Kind<Engine2Scene::Light>)
{
    v("node", l.node);
    v("is_omni", l.is_omni);
    v("is_direct", l.is_direct);
    v("is_spot", l.is_spot);
    v("type", l.type);
    v("texture", l.texture);
    v("shadows", l.shadows);
    v("on", l.on);
    v("decay_start_stop", l.decay_start_stop);
    v("decay_inv", l.decay_inv);
    v("decay_inv_sqrt", l.decay_inv_sqrt);
    v("aspect", l.aspect);
    v("AtmosColAmt", l.AtmosColAmt);
    v("AtmosOpacity", l.AtmosOpacity);
    v("Contrast", l.Contrast);
    v("DiffuseSoft", l.DiffuseSoft);
    v("spot_circle", l.spot_circle);
    v("spot_rectangle", l.spot_rectangle);
    v("affect_difuse", l.affect_difuse);
    v("affect_specular", l.affect_specular);
    v("affect_ambient", l.affect_ambient);
    v("LightAffectsShadow", l.LightAffectsShadow);
    v("AtmosShadows", l.AtmosShadows);
    v("ShadowType", l.ShadowType);
    v("Overshoot", l.Overshoot);
    v("ConeDisplay", l.ConeDisplay);
    v("angle_small", l.angle_small);
    v("angle_big", l.angle_big);
    v("near_atten_start", l.near_atten_start);
    v("near_atten_end", l.near_atten_end);
    v("far_atten_start", l.far_atten_start);
    v("far_atten_end", l.far_atten_end);
    v("decay_start", l.decay_start);
    v("excluded", l.excluded);
    v("color", l.color);
    v("color_shadow", l.color_shadow);
    // Both multiplier tracks are stored as "multiply"; reading finds the first for both.
    v("multiply", l.multiply);
    v("multiply", l.multiply2);
    v("matrix", l.matrix);
}

template <class E, class F>
void fields(E& h, F& v, Kind<Engine2Scene::Helper>)
{
    v("type", h.type);
    v("p_node", h.p_node);
    v("p_int", h.p_int);
    v("p_float", h.p_float);
    v("p_float3", h.p_float3);
    v("p_float4", h.p_float4);
    v("p_float3x3", h.p_float3x3);
    v.texts("pn_node", h.pn_node);
    v.texts("pn_int", h.pn_int);
    v.texts("pn_float", h.pn_float);
    v.texts("pn_string", h.pn_string);
    v.texts("p_string", h.p_string);
    v.texts("pn_float3", h.pn_float3);
    v.texts("pn_float4", h.pn_float4);
    v.texts("pn_float3x3", h.pn_float3x3);
}

// The record list of an element of any kind, const (writing) or not (reading).
template <class E, class F>
void fields(E& element, F& v)
{
    fields(element, v, Kind<std::remove_const_t<E>>());
}

// ---- root and kinds

// Writes every element of one kind as a structure and then the kind's index on the root.
template <class T>
void save_kind(SuperBase& sb, const char* kind, const std::vector<T>& elements)
{
    std::vector<int32_t> index;
    for (const T& e : elements) {
        int s = sb.add_structure();
        index.push_back(s);
        RecordWriter w(sb, s);
        WriteFields out(w);
        fields(e, out);
    }
    RecordWriter root(sb, 0);
    root.vec(kind, index);
}

// Reads one kind through the root's index; an index outside the container is damage.
template <class T>
bool load_kind(const SuperBase& sb, const char* kind, std::vector<T>& elements, std::string& why)
{
    std::vector<int32_t> index;
    sb.tget(0, kind, index);
    elements.assign(index.size(), T());
    for (size_t i = 0; i < index.size(); ++i) {
        if (index[i] < 0 || index[i] >= sb.count()) {
            why = std::string(kind) + " " + std::to_string(i) + " names structure " + std::to_string(index[i]) +
                  " of " + std::to_string(sb.count());
            return false;
        }
        ReadFields in(RecordReader(sb, index[i]), why);
        fields(elements[i], in);
        if (!in.ok())
            return false;
    }
    return true;
}

// ---- checks

bool fail(std::string& why, const std::string& text)
{
    why = text;
    return false;
}

bool inside(int32_t link, size_t count)
{
    return link >= 0 && size_t(link) < count;
}

// A link where 0 means none: 0, or an index inside the list.
bool link_ok(int32_t link, size_t count)
{
    return link == 0 || inside(link, count);
}

// The matrix track a loader takes for a node: its own, replaced by its mesh's, bone's,
// camera's or light's in that order when linked.
const std::vector<float4x4>& chosen_track(const Engine2Scene& sc, const Engine2Scene::Node& n)
{
    const std::vector<float4x4>* t = &n.matrix;
    if (n.mesh)
        t = &sc.mesh[n.mesh].matrix;
    if (n.bone)
        t = &sc.bone[n.bone].matrix;
    if (n.camera)
        t = &sc.camera[n.camera].matrix;
    if (n.light)
        t = &sc.light[n.light].matrix;
    return *t;
}

bool check_tree(const Engine2Scene& sc, std::string& why)
{
    const size_t n = sc.node.size();
    if (n == 0)
        return fail(why, "no root node");
    for (size_t i = 0; i < n; ++i) {
        const Engine2Scene::Node& nd = sc.node[i];
        std::string which = "node " + std::to_string(i);
        if (!inside(nd.parent, n))
            return fail(why, which + " has parent " + std::to_string(nd.parent));
        if (!link_ok(nd.mesh, sc.mesh.size()) || !link_ok(nd.bone, sc.bone.size()) ||
            !link_ok(nd.camera, sc.camera.size()) || !link_ok(nd.light, sc.light.size()) ||
            !link_ok(nd.helper, sc.helper.size()))
            return fail(why, which + " links an element that does not exist");
        if (nd.layer_number < 0 || nd.layer_number > 32767)
            return fail(why, which + " is on layer " + std::to_string(nd.layer_number));
    }
    // Every node but the root is listed once, by its own parent, or is top-level.
    std::vector<char> listed(n, 0);
    for (size_t p = 1; p < n; ++p) {
        for (int32_t c : sc.node[p].subnode) {
            if (c == 0)
                continue;
            if (!inside(c, n) || sc.node[c].parent != int32_t(p) || listed[c])
                return fail(why, "node " + std::to_string(p) + " lists child " + std::to_string(c) +
                                     " that is not its own once");
            listed[c] = 1;
        }
    }
    // Walk from the top-level nodes; what is not reached hangs in a cycle.
    std::vector<int32_t> stack;
    size_t reached = 1;
    for (size_t i = 1; i < n; ++i) {
        if (sc.node[i].parent == 0 && listed[i])
            return fail(why, "top-level node " + std::to_string(i) + " is also a child");
        if (sc.node[i].parent == 0)
            stack.push_back(int32_t(i));
    }
    while (!stack.empty()) {
        int32_t i = stack.back();
        stack.pop_back();
        ++reached;
        for (int32_t c : sc.node[i].subnode)
            if (c != 0)
                stack.push_back(c);
    }
    if (reached != n)
        return fail(why, "the node tree reaches " + std::to_string(reached) + " of " + std::to_string(n) + " nodes");
    // Tracks: keys for every node but the root, parent and child of equal length unless one is static.
    for (size_t i = 1; i < n; ++i) {
        const std::vector<float4x4>& w = chosen_track(sc, sc.node[i]);
        if (w.empty())
            return fail(why, "node " + std::to_string(i) + " has no matrix keys");
        int32_t p = sc.node[i].parent;
        if (p == 0)
            continue;
        const std::vector<float4x4>& pw = chosen_track(sc, sc.node[p]);
        if (w.size() != 1 && pw.size() != 1 && w.size() != pw.size())
            return fail(why, "node " + std::to_string(i) + " has " + std::to_string(w.size()) +
                                 " matrix keys, its parent " + std::to_string(pw.size()));
    }
    return true;
}

bool check_geometry(const Engine2Scene& sc, std::string& why)
{
    for (size_t i = 0; i < sc.mesh.size(); ++i) {
        const Engine2Scene::Mesh& m = sc.mesh[i];
        if (!inside(m.trianglebuffer, sc.trianglebuffer.size()) || !inside(m.node, sc.node.size()))
            return fail(why, "mesh " + std::to_string(i) + " links an element that does not exist");
    }
    for (size_t i = 0; i < sc.trianglebuffer.size(); ++i) {
        const Engine2Scene::TriangleBuffer& t = sc.trianglebuffer[i];
        std::string which = "triangle buffer " + std::to_string(i);
        if (!inside(t.vertexbuffer, sc.vertexbuffer.size()))
            return fail(why, which + " has vertex buffer " + std::to_string(t.vertexbuffer));
        if (t.material.size() < t.triangle.size())
            return fail(why, which + " has fewer materials than triangle lists");
        for (int32_t m : t.material)
            if (!inside(m, sc.material.size()))
                return fail(why, which + " uses material " + std::to_string(m));
        const size_t vertices = sc.vertexbuffer[t.vertexbuffer].xyz.size();
        for (const std::vector<Engine2Scene::int3>& list : t.triangle)
            for (const Engine2Scene::int3& tri : list)
                if (!inside(tri.a, vertices) || !inside(tri.b, vertices) || !inside(tri.c, vertices))
                    return fail(why, which + " has a vertex index outside its " + std::to_string(vertices) +
                                         " vertices");
    }
    for (size_t i = 0; i < sc.vertexbuffer.size(); ++i)
        for (const std::vector<int32_t>& bones : sc.vertexbuffer[i].bone)
            for (int32_t b : bones)
                if (!inside(b, sc.bone.size()))
                    return fail(why, "vertex buffer " + std::to_string(i) + " uses bone " + std::to_string(b));
    for (size_t i = 0; i < sc.bone.size(); ++i)
        if (!inside(sc.bone[i].node, sc.node.size()))
            return fail(why, "bone " + std::to_string(i) + " has node " + std::to_string(sc.bone[i].node));
    return true;
}

bool check_surfaces(const Engine2Scene& sc, std::string& why)
{
    // Loaders keep the first 16 slots; a reference there must name a texture map.
    for (size_t i = 0; i < sc.material.size(); ++i)
        for (int slot = 0; slot < 16; ++slot)
            if (!inside(sc.material[i].slot(slot), sc.texture_map.size()) && sc.material[i].slot(slot) != 0)
                return fail(why, "material " + std::to_string(i) + " slot " + std::to_string(slot) +
                                     " names texture map " + std::to_string(sc.material[i].slot(slot)));
    for (size_t i = 0; i < sc.texture_map.size(); ++i)
        if (!inside(sc.texture_map[i].file, sc.file.size()))
            return fail(why, "texture map " + std::to_string(i) + " names file " +
                                 std::to_string(sc.texture_map[i].file));
    for (size_t i = 0; i < sc.camera.size(); ++i)
        if (!inside(sc.camera[i].node, sc.node.size()))
            return fail(why, "camera " + std::to_string(i) + " has node " + std::to_string(sc.camera[i].node));
    for (size_t i = 0; i < sc.light.size(); ++i) {
        const Engine2Scene::Light& l = sc.light[i];
        std::string which = "light " + std::to_string(i);
        if (!inside(l.node, sc.node.size()))
            return fail(why, which + " has node " + std::to_string(l.node));
        if (l.decay_inv && (l.far_atten_start.empty() || l.far_atten_end.empty()))
            return fail(why, which + " decays without attenuation distances");
        if (l.shadows && l.is_spot && l.angle_big.empty())
            return fail(why, which + " projects shadows without a cone angle");
    }
    return true;
}

} // namespace

bool scene_check(const Engine2Scene& sc, std::string& why)
{
    // Nodes, meshes, bones, cameras and lights are linked by 16-bit indices.
    const size_t kMaxLinked = 32767;
    if (sc.node.size() > kMaxLinked || sc.mesh.size() > kMaxLinked || sc.bone.size() > kMaxLinked ||
        sc.camera.size() > kMaxLinked || sc.light.size() > kMaxLinked)
        return fail(why, "more elements than 16-bit links can reach");
    if (!std::isfinite(sc.Frames) || !std::isfinite(sc.Fps) || sc.Frames < 0 || sc.Frames > 2147483520.0f)
        return fail(why, "frame count or rate out of range");
    return check_tree(sc, why) && check_geometry(sc, why) && check_surfaces(sc, why);
}

// ---- entry points

bool scene_load(Engine2Scene& scene, const std::vector<char>& bytes, const char* name)
{
    scene = Engine2Scene();
    SuperBase sb;
    std::string why;
    bool ok = sb.load_memory(bytes, &why);
    if (ok && sb.count() == 0) {
        ok = false;
        why = "no root structure";
    }
    if (ok) {
        RecordReader root(sb, 0);
        sb.tget(0, "Frames", scene.Frames);
        sb.tget(0, "Fps", scene.Fps);
        scene.comments = root.text("comments");
        ok = load_kind(sb, "file", scene.file, why) && load_kind(sb, "texture_map", scene.texture_map, why) &&
             load_kind(sb, "material", scene.material, why) &&
             load_kind(sb, "vertexbuffer", scene.vertexbuffer, why) &&
             load_kind(sb, "trianglebuffer", scene.trianglebuffer, why) &&
             load_kind(sb, "mesh", scene.mesh, why) && load_kind(sb, "bone", scene.bone, why) &&
             load_kind(sb, "node", scene.node, why) && load_kind(sb, "camera", scene.camera, why) &&
             load_kind(sb, "light", scene.light, why) && load_kind(sb, "helper", scene.helper, why);
    }
    ok = ok && scene_check(scene, why);
    if (!ok) {
        std::fprintf(stderr, "Warning: damaged scene file %s: %s\n", name ? name : "(in memory)", why.c_str());
        scene = Engine2Scene();
    }
    return ok;
}

bool scene_save(const Engine2Scene& scene, const char* file_name)
{
    SuperBase sb;
    int root = sb.add_structure();
    RecordWriter w(sb, root);
    w.text("units", "m");
    w.text("file_name", file_name ? file_name : "");
    w.value("Frames", scene.Frames);
    w.value("Fps", scene.Fps);
    w.text("comments", scene.comments);
    save_kind(sb, "file", scene.file);
    save_kind(sb, "texture_map", scene.texture_map);
    save_kind(sb, "material", scene.material);
    save_kind(sb, "vertexbuffer", scene.vertexbuffer);
    save_kind(sb, "trianglebuffer", scene.trianglebuffer);
    save_kind(sb, "mesh", scene.mesh);
    save_kind(sb, "bone", scene.bone);
    save_kind(sb, "node", scene.node);
    save_kind(sb, "camera", scene.camera);
    save_kind(sb, "light", scene.light);
    save_kind(sb, "helper", scene.helper);
    return sb.save(file_name);
}
