#include "render/scene_file.h"

#include "render/SuperBase.h"

#include <cmath>
#include <cstdio>
#include <type_traits>

// Index: record writer - record reader - element records - root and kinds - checks - entry points

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

// ---- element records, in the writer's record order

void write(RecordWriter& w, const Engine2Scene::File& f)
{
    w.text("file_name", f.file_name);
    w.bytes("data", f.data);
    for (int i = 0; i < 6; ++i)
        w.bytes(("data6[" + std::to_string(i) + "]").c_str(), f.data6[i]);
    w.value("only_link", f.only_link);
}

bool read(const RecordReader& r, Engine2Scene::File& f, std::string&)
{
    f.file_name = r.text("file_name");
    r.get("data", f.data);
    for (int i = 0; i < 6; ++i)
        r.get(("data6[" + std::to_string(i) + "]").c_str(), f.data6[i]);
    r.get("only_link", f.only_link);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::TextureMap& t)
{
    w.text("name", t.name);
    w.value("amt", t.amt);
    w.vec("blur", t.blur);
    w.vec("bluroff", t.bluroff);
    w.value("chanel", t.chanel);
    w.value("file", t.file);
    w.value("umirror", t.umirror);
    w.vec("uoff", t.uoff);
    w.vec("uscl", t.uscl);
    w.value("utille", t.utille);
    w.value("vmirror", t.vmirror);
    w.vec("voff", t.voff);
    w.vec("vscl", t.vscl);
    w.value("vtille", t.vtille);
    w.value("autogencube", t.autogencube);
}

bool read(const RecordReader& r, Engine2Scene::TextureMap& t, std::string&)
{
    t.name = r.text("name");
    r.get("amt", t.amt);
    r.get("blur", t.blur);
    r.get("bluroff", t.bluroff);
    r.get("chanel", t.chanel);
    r.get("file", t.file);
    r.get("umirror", t.umirror);
    r.get("uoff", t.uoff);
    r.get("uscl", t.uscl);
    r.get("utille", t.utille);
    r.get("vmirror", t.vmirror);
    r.get("voff", t.voff);
    r.get("vscl", t.vscl);
    r.get("vtille", t.vtille);
    r.get("autogencube", t.autogencube);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::Material& m)
{
    w.text("name", m.name);
    w.value("shader_file", m.shader_file);
    w.value("texture_map", m.texture_map);
    w.vec("maxmat", m.maxmat);
}

bool read(const RecordReader& r, Engine2Scene::Material& m, std::string&)
{
    m.name = r.text("name");
    r.get("shader_file", m.shader_file);
    r.get("texture_map", m.texture_map);
    r.get("maxmat", m.maxmat);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::VertexBuffer& v)
{
    w.vec("xyz", v.xyz);
    w.vec("color", v.color);
    w.vec("normal", v.normal);
    w.vec("binormal", v.binormal);
    w.vec("tangent", v.tangent);
    w.vec("illumination", v.illumination);
    w.vec("alpha", v.alpha);
    for (int i = 0; i < 16; ++i) {
        w.vec(numbered("uvw", i).c_str(), v.uvw[i]);
        w.vec(numbered("weight", i).c_str(), v.weight[i]);
        w.vec(numbered("bone", i).c_str(), v.bone[i]);
    }
}

// Binormals and tangents on file are not read: loaders make their own.
bool read(const RecordReader& r, Engine2Scene::VertexBuffer& v, std::string&)
{
    r.get("xyz", v.xyz);
    r.get("color", v.color);
    r.get("normal", v.normal);
    r.get("illumination", v.illumination);
    r.get("alpha", v.alpha);
    for (int i = 0; i < 16; ++i) {
        r.get(numbered("uvw", i).c_str(), v.uvw[i]);
        r.get(numbered("weight", i).c_str(), v.weight[i]);
        r.get(numbered("bone", i).c_str(), v.bone[i]);
    }
    return true;
}

void write(RecordWriter& w, const Engine2Scene::TriangleBuffer& t)
{
    w.value("color", t.color);
    w.value("vertexbuffer", t.vertexbuffer);
    w.value("triangle_ile", int32_t(t.triangle.size()));
    for (size_t d = 0; d < t.triangle.size(); ++d)
        w.vec(numbered("triangle", int(d)).c_str(), t.triangle[d]);
    w.vec("material", t.material);
}

// A list whose "triangle%d" record is absent reads as empty; without "triangle_ile" there are no lists.
bool read(const RecordReader& r, Engine2Scene::TriangleBuffer& t, std::string& why)
{
    r.get("color", t.color);
    r.get("vertexbuffer", t.vertexbuffer);
    int32_t lists = 0;
    if (!r.count("triangle_ile", lists, why))
        return false;
    t.triangle.assign(size_t(lists), {});
    for (int32_t d = 0; d < lists; ++d)
        r.get(numbered("triangle", d).c_str(), t.triangle[d]);
    r.get("material", t.material);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::Mesh& m)
{
    w.text("name", m.name);
    w.value("node", m.node);
    w.value("is_skined", m.is_skined);
    w.value("is_moving", m.is_moving);
    w.vec("visibility", m.visibility);
    w.vec("matrix", m.matrix);
    w.value("inv0_matrix", m.inv0_matrix);
    w.value("trianglebuffer", m.trianglebuffer);
}

bool read(const RecordReader& r, Engine2Scene::Mesh& m, std::string&)
{
    m.name = r.text("name");
    r.get("node", m.node);
    r.get("is_skined", m.is_skined);
    r.get("is_moving", m.is_moving);
    r.get("visibility", m.visibility);
    r.get("matrix", m.matrix);
    r.get("inv0_matrix", m.inv0_matrix);
    r.get("trianglebuffer", m.trianglebuffer);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::Bone& b)
{
    w.text("name", b.name);
    w.value("node", b.node);
    w.vec("matrix", b.matrix);
    w.value("inv0_matrix", b.inv0_matrix);
    w.vec("dimension", b.dimension);
    w.vec("anchor", b.anchor);
    w.vec("rotation", b.rotation);
    w.vec("center", b.center);
    w.value("width", b.width);
    w.value("height", b.height);
    w.value("taper", b.taper);
}

bool read(const RecordReader& r, Engine2Scene::Bone& b, std::string&)
{
    b.name = r.text("name");
    r.get("node", b.node);
    r.get("matrix", b.matrix);
    r.get("inv0_matrix", b.inv0_matrix);
    r.get("dimension", b.dimension);
    r.get("anchor", b.anchor);
    r.get("rotation", b.rotation);
    r.get("center", b.center);
    r.get("width", b.width);
    r.get("height", b.height);
    r.get("taper", b.taper);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::Node& n)
{
    w.text("name", n.name);
    w.text("type", n.type);
    w.text("xref_file_name", n.xref_file_name);
    w.text("user_text", n.user_text);
    w.value("parent", n.parent);
    w.vec("subnode", n.subnode);
    w.value("layer_number", n.layer_number);
    w.value("is_xref", n.is_xref);
    w.value("is_hide", n.is_hide);
    w.value("is_frozen", n.is_frozen);
    w.value("is_renderable", n.is_renderable);
    w.value("is_group", n.is_group);
    w.value("mesh", n.mesh);
    w.value("bone", n.bone);
    w.value("camera", n.camera);
    w.value("light", n.light);
    w.value("helper", n.helper);
    w.value("wire_color", n.wire_color);
    w.vec("image_multiplier", n.image_multiplier);
    w.vec("matrix", n.matrix);
    w.value("inv0_matrix", n.inv0_matrix);
}

bool read(const RecordReader& r, Engine2Scene::Node& n, std::string&)
{
    n.name = r.text("name");
    n.type = r.text("type");
    n.xref_file_name = r.text("xref_file_name");
    n.user_text = r.text("user_text");
    r.get("parent", n.parent);
    r.get("subnode", n.subnode);
    r.get("layer_number", n.layer_number);
    r.get("is_xref", n.is_xref);
    r.get("is_hide", n.is_hide);
    r.get("is_frozen", n.is_frozen);
    r.get("is_renderable", n.is_renderable);
    r.get("is_group", n.is_group);
    r.get("mesh", n.mesh);
    r.get("bone", n.bone);
    r.get("camera", n.camera);
    r.get("light", n.light);
    r.get("helper", n.helper);
    r.get("wire_color", n.wire_color);
    r.get("image_multiplier", n.image_multiplier);
    r.get("matrix", n.matrix);
    r.get("inv0_matrix", n.inv0_matrix);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::Camera& c)
{
    w.value("node", c.node);
    w.vec("matrix", c.matrix);
    w.vec("fov_deg", c.fov_deg);
    w.vec("near_clip", c.near_clip);
    w.vec("far_clip", c.far_clip);
}

bool read(const RecordReader& r, Engine2Scene::Camera& c, std::string&)
{
    r.get("node", c.node);
    r.get("matrix", c.matrix);
    r.get("fov_deg", c.fov_deg);
    r.get("near_clip", c.near_clip);
    r.get("far_clip", c.far_clip);
    return true;
}

// The light's ints, floats, float vectors and float3 vectors by record name, in the writer's order.
template <class Light, class Visit>
void light_fields(Light& l, Visit&& visit)
{
    visit("node", l.node);
    visit("is_omni", l.is_omni);
    visit("is_direct", l.is_direct);
    visit("is_spot", l.is_spot);
    visit("type", l.type);
    visit("texture", l.texture);
    visit("shadows", l.shadows);
    visit("on", l.on);
    visit("decay_start_stop", l.decay_start_stop);
    visit("decay_inv", l.decay_inv);
    visit("decay_inv_sqrt", l.decay_inv_sqrt);
    visit("aspect", l.aspect);
    visit("AtmosColAmt", l.AtmosColAmt);
    visit("AtmosOpacity", l.AtmosOpacity);
    visit("Contrast", l.Contrast);
    visit("DiffuseSoft", l.DiffuseSoft);
    visit("spot_circle", l.spot_circle);
    visit("spot_rectangle", l.spot_rectangle);
    visit("affect_difuse", l.affect_difuse);
    visit("affect_specular", l.affect_specular);
    visit("affect_ambient", l.affect_ambient);
    visit("LightAffectsShadow", l.LightAffectsShadow);
    visit("AtmosShadows", l.AtmosShadows);
    visit("ShadowType", l.ShadowType);
    visit("Overshoot", l.Overshoot);
    visit("ConeDisplay", l.ConeDisplay);
    visit("angle_small", l.angle_small);
    visit("angle_big", l.angle_big);
    visit("near_atten_start", l.near_atten_start);
    visit("near_atten_end", l.near_atten_end);
    visit("far_atten_start", l.far_atten_start);
    visit("far_atten_end", l.far_atten_end);
    visit("decay_start", l.decay_start);
    visit("excluded", l.excluded);
    visit("color", l.color);
    visit("color_shadow", l.color_shadow);
}

struct WriteField {
    RecordWriter& w;
    template <class T>
    void operator()(const char* name, const T& v) const
    {
        w.value(name, v);
    }
    template <class T>
    void operator()(const char* name, const std::vector<T>& v) const
    {
        w.vec(name, v);
    }
};

struct ReadField {
    const RecordReader& r;
    template <class T>
    void operator()(const char* name, T& v) const
    {
        r.get(name, v);
    }
};

void write(RecordWriter& w, const Engine2Scene::Light& l)
{
    light_fields(l, WriteField{w});
    w.vec("multiply", l.multiply);
    w.vec("multiply", l.multiply2);
    w.vec("matrix", l.matrix);
}

// Both multiplier tracks read the first "multiply" record.
bool read(const RecordReader& r, Engine2Scene::Light& l, std::string&)
{
    light_fields(l, ReadField{r});
    r.get("multiply", l.multiply);
    r.get("multiply", l.multiply2);
    r.get("matrix", l.matrix);
    return true;
}

void write(RecordWriter& w, const Engine2Scene::Helper& h)
{
    w.text("type", h.type);
    w.vec("p_node", h.p_node);
    w.vec("p_int", h.p_int);
    w.vec("p_float", h.p_float);
    w.vec("p_float3", h.p_float3);
    w.vec("p_float4", h.p_float4);
    w.vec("p_float3x3", h.p_float3x3);
    w.texts("pn_node", h.pn_node);
    w.texts("pn_int", h.pn_int);
    w.texts("pn_float", h.pn_float);
    w.texts("pn_string", h.pn_string);
    w.texts("p_string", h.p_string);
    w.texts("pn_float3", h.pn_float3);
    w.texts("pn_float4", h.pn_float4);
    w.texts("pn_float3x3", h.pn_float3x3);
}

bool read(const RecordReader& r, Engine2Scene::Helper& h, std::string& why)
{
    h.type = r.text("type");
    r.get("p_node", h.p_node);
    r.get("p_int", h.p_int);
    r.get("p_float", h.p_float);
    r.get("p_float3", h.p_float3);
    r.get("p_float4", h.p_float4);
    r.get("p_float3x3", h.p_float3x3);
    return r.texts("pn_node", h.pn_node, why) && r.texts("pn_int", h.pn_int, why) &&
           r.texts("pn_float", h.pn_float, why) && r.texts("pn_string", h.pn_string, why) &&
           r.texts("p_string", h.p_string, why) && r.texts("pn_float3", h.pn_float3, why) &&
           r.texts("pn_float4", h.pn_float4, why) && r.texts("pn_float3x3", h.pn_float3x3, why);
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
        write(w, e);
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
        if (!read(RecordReader(sb, index[i]), elements[i], why))
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
