#include "render/SuperBase.h"

#include <algorithm>
#include <climits>

// ---- building

namespace {

// Arrays grow geometrically to 2n + 10 slots.
template <class T>
void grow_for_one_more(std::vector<T>& v)
{
    if (v.size() == v.capacity())
        v.reserve(2 * v.size() + 10);
}

} // namespace

int SuperBase::add_structure()
{
    grow_for_one_more(mStructures);
    mStructures.emplace_back();
    return int(mStructures.size()) - 1;
}

void SuperBase::add_record(int s, const char* name, const void* data, int size)
{
    if (s < 0 || s >= count() || !name || size < 0)
        return;
    SuperStructure& st = mStructures[s];
    grow_for_one_more(st.records);
    SuperStructure::Record r;
    r.name.assign(name, name + std::strlen(name) + 1);
    if (size > 0)
        r.data.assign(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    st.records.push_back(std::move(r));
    st.index.emplace(st.records.back().name.data(), int(st.records.size()) - 1);
}

void SuperBase::set_record(int s, const char* name, const void* data, int size)
{
    if (s < 0 || s >= count() || !name || size < 0)
        return;
    for (SuperStructure::Record& r : mStructures[s].records) {
        if (std::strcmp(r.name.data(), name) == 0) {
            const char* bytes = static_cast<const char*>(data);
            r.data.assign(bytes, bytes + size);
            return;
        }
    }
    add_record(s, name, data, size);
}

void SuperBase::clear()
{
    mStructures.clear();
    mStructures.shrink_to_fit();
}

// ---- finding and typed getters

const SuperBase::SuperStructure::Record* SuperBase::find(int s, const char* name) const
{
    if (s < 0 || s >= count() || !name)
        return nullptr;
    const SuperStructure& st = mStructures[s];
    auto it = st.index.find(name);
    return it == st.index.end() ? nullptr : &st.records[it->second];
}

int SuperBase::get_data(int s, const char* name, void* destination, int capacity) const
{
    const SuperStructure::Record* r = find(s, name);
    if (!r || capacity <= 0)
        return 0;
    int n = std::min(r->data_size(), capacity);
    if (n > 0)
        std::memcpy(destination, r->data.data(), size_t(n));
    return n;
}

int SuperBase::get_size(int s, const char* name) const
{
    const SuperStructure::Record* r = find(s, name);
    return r ? r->data_size() : 0;
}

bool SuperBase::tget(int s, const char* name, std::vector<char>& destination) const
{
    const SuperStructure::Record* r = find(s, name);
    if (!r)
        return false;
    destination = r->data;
    return true;
}

void SuperBase::copy_words(void* destination, const char* source, size_t words)
{
    char* out = static_cast<char*>(destination);
    for (size_t i = 0; i < words; ++i) {
        uint32_t w = decode_le32(source + 4 * i);
        std::memcpy(out + 4 * i, &w, 4);
    }
}

// ---- files

const unsigned char* SuperBase::header()
{
    static const unsigned char bytes[header_size] = {
        'V', 'o', 'r', 'l', 'e', 'n', ' ', 'f', 'i', 'l', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ',',
        ' ', 'J', 'o', 'r', 'e', 'k', ' ', 'B', 'a', 'l', 'm', 'u', 'n', ' ', '2', '0', '0', '5',
        0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D,
        // offsets 53 to 63 stay zero
    };
    return bytes;
}

bool SuperBase::save(const char* file_name) const
{
    ByteStreamHandle out;
    if (out.create_open(file_name, "w") != ByteStream::mode_write_file)
        return false;
    bool ok = out.write(header(), header_size) == size_t(header_size);
    ok = ok && write_int32_le(out, count());
    for (const SuperStructure& st : mStructures) {
        ok = ok && write_int32_le(out, st.count());
        for (const SuperStructure::Record& r : st.records) {
            ok = ok && write_int32_le(out, r.name_size());
            ok = ok && out.write(r.name.data(), r.name.size()) == r.name.size();
            ok = ok && write_int32_le(out, r.data_size());
            ok = ok && out.write(r.data.data(), r.data.size()) == r.data.size();
        }
    }
    // Closing flushes; a failed flush loses data as surely as a failed write.
    ok = out.get()->close() && ok;
    out.destroy();
    return ok;
}

namespace {

// Reads a container through a stream, refusing any count or size the remaining bytes
// cannot hold.
class BoundedReader {
public:
    BoundedReader(ByteStreamHandle& in) : mIn(in)
    {
        long size = in.size() - in.position();
        mLeft = size > 0 ? size : 0;
    }

    bool bytes(void* out, long n)
    {
        if (n < 0 || n > mLeft)
            return false;
        if (n > 0 && mIn.read(out, size_t(n)) != size_t(n))
            return false;
        mLeft -= n;
        return true;
    }

    bool int32(int32_t& value)
    {
        unsigned char b[4];
        if (!bytes(b, 4))
            return false;
        value = int32_t(decode_le32(b));
        return true;
    }

    long left() const { return mLeft; }

private:
    ByteStreamHandle& mIn;
    long mLeft;
};

bool refuse(std::string* why, std::string text)
{
    if (why)
        *why = std::move(text);
    return false;
}

} // namespace

bool SuperBase::load(ByteStreamHandle& handle, std::string* why)
{
    clear();
    if (!handle || handle.mode() == ByteStream::mode_closed) {
        if (handle)
            handle.close();
        return refuse(why, "cannot be read");
    }
    BoundedReader in(handle);
    bool ok = true;
    std::string reason;
    unsigned char head[header_size];
    int32_t structures = 0;
    if (!in.bytes(head, header_size) || !in.int32(structures)) {
        ok = false;
        reason = "shorter than its header";
    } else if (structures < 0 || structures > in.left() / 4) {
        ok = false;
        reason = "structure count " + std::to_string(structures) + " does not fit the file";
    }
    if (ok)
        mStructures.resize(size_t(structures));
    // A record takes at least 9 bytes: name size, a one-byte name, data size.
    const long kMinRecord = 9;
    for (int s = 0; ok && s < structures; ++s) {
        SuperStructure& st = mStructures[s];
        int32_t records = 0;
        if (!in.int32(records) || records < 0 || records > in.left() / kMinRecord) {
            ok = false;
            reason = "record count of structure " + std::to_string(s) + " does not fit the file";
            break;
        }
        st.records.resize(size_t(records));
        for (int i = 0; i < records; ++i) {
            SuperStructure::Record& r = st.records[i];
            int32_t nameSize = 0, dataSize = 0;
            if (!in.int32(nameSize) || nameSize < 1 || nameSize > in.left() - 4) {
                ok = false;
                reason = "record name size in structure " + std::to_string(s) + " does not fit the file";
                break;
            }
            r.name.resize(size_t(nameSize));
            if (!in.bytes(r.name.data(), nameSize) || r.name.back() != 0) {
                ok = false;
                reason = "record name in structure " + std::to_string(s) + " is not terminated";
                break;
            }
            if (!in.int32(dataSize) || dataSize < 0 || dataSize > in.left()) {
                ok = false;
                reason = "record data size in structure " + std::to_string(s) + " does not fit the file";
                break;
            }
            r.data.resize(size_t(dataSize));
            if (!in.bytes(r.data.data(), dataSize)) {
                ok = false;
                reason = "record data in structure " + std::to_string(s) + " is cut off";
                break;
            }
        }
        // Built from the last record to the first, so the first of several equal names wins.
        for (int i = records - 1; ok && i >= 0; --i)
            st.index[st.records[i].name.data()] = i;
    }
    handle.close();
    if (!ok) {
        clear();
        return refuse(why, reason);
    }
    return true;
}

bool SuperBase::load_memory(const std::vector<char>& bytes, std::string* why)
{
    if (bytes.size() > size_t(INT_MAX)) {
        clear();
        return refuse(why, "too large");
    }
    ByteStreamHandle in;
    in.create();
    in.set_memory(bytes.data(), int(bytes.size()));
    bool ok = load(in, why);
    in.destroy();
    return ok;
}

bool SuperBase::load_file(const char* file_name, std::string* why)
{
    ByteStreamHandle in;
    in.create_open(file_name, "r");
    bool ok = load(in, why);
    in.destroy();
    return ok;
}
