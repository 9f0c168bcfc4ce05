#pragma once

// The record container of the binary scene files: numbered structures, each holding named
// binary records, stored as a flat file of little-endian counts and raw record bytes.
// The container knows nothing of scenes; typed getters take little-endian words out of records.
//
// File layout: 64 header bytes, int32 structure count, then per structure an int32 record
// count and per record: int32 name size (with the NUL), the name, int32 data size, the data.
//
// Sections: records and structures - building - finding and typed getters - files.

#include "render/ByteStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

class SuperBase {
public:
    // Byte-wise order of two NUL-terminated names.
    struct ltstr {
        bool operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }
    };

    // ---- records and structures
    class SuperStructure {
    public:
        struct Record {
            std::vector<char> name; // NUL-terminated; its size is the stored name size
            std::vector<char> data;
            int name_size() const { return int(name.size()); }
            int data_size() const { return int(data.size()); }
        };

        int capacity() const { return int(records.capacity()); }
        int count() const { return int(records.size()); }

        std::vector<Record> records;
        // Name -> position in records; of several records with one name the first is kept.
        // Keys point at the records' own names, whose storage moves with them.
        std::map<const char*, int, ltstr> index;
    };

    SuperBase() = default;
    ~SuperBase() { clear(); }
    SuperBase(const SuperBase&) = delete;
    SuperBase& operator=(const SuperBase&) = delete;

    int capacity() const { return int(mStructures.capacity()); }
    int count() const { return int(mStructures.size()); }
    const SuperStructure& structure(int s) const { return mStructures[s]; }

    // ---- building
    // Appends an empty structure; returns its index.
    int add_structure();
    // Appends a record with copies of the name and of size bytes of data. A structure index
    // out of range does nothing. The record is indexed unless its name is indexed already.
    void add_record(int s, const char* name, const void* data, int size);
    // Replaces the data of the first record of that name, else appends one.
    void set_record(int s, const char* name, const void* data, int size);
    void clear();

    // ---- finding and typed getters
    // The first record of that name, or null (also for a structure out of range).
    const SuperStructure::Record* find(int s, const char* name) const;
    // Copies the record's data, at most capacity bytes; returns the bytes copied.
    int get_data(int s, const char* name, void* destination, int capacity) const;
    int get_size(int s, const char* name) const;

    // One value made of 4-byte words (int, float, float3, float4x4, a fixed block of words):
    // the record's words, converted from little-endian, fill the destination from its first
    // word on; never more words than the destination holds. Missing record: destination
    // unchanged, false.
    template <class T>
    bool tget(int s, const char* name, T& destination) const
    {
        static_assert(std::is_trivially_copyable<T>::value && sizeof(T) % 4 == 0,
                      "tget needs a destination of whole 4-byte words");
        const SuperStructure::Record* r = find(s, name);
        if (!r)
            return false;
        copy_words(&destination, r->data.data(), std::min(r->data.size(), sizeof(T)) / 4);
        return true;
    }

    // A vector of word-based elements: resized to data size / element size, each word converted.
    template <class T>
    bool tget(int s, const char* name, std::vector<T>& destination) const
    {
        static_assert(std::is_trivially_copyable<T>::value && sizeof(T) % 4 == 0,
                      "tget needs elements of whole 4-byte words");
        const SuperStructure::Record* r = find(s, name);
        if (!r)
            return false;
        destination.resize(r->data.size() / sizeof(T));
        copy_words(destination.data(), r->data.data(), destination.size() * sizeof(T) / 4);
        return true;
    }

    // Raw bytes, no conversion.
    bool tget(int s, const char* name, std::vector<char>& destination) const;

    // ---- files
    // Writes the container file; false when the file cannot be written completely.
    bool save(const char* file_name) const;
    // Replaces the contents with the container read from an open stream, then closes the
    // stream. Every count and size is checked against the bytes left in the stream: a
    // truncated or damaged container is refused (false, container empty, the reason in why).
    bool load(ByteStreamHandle& handle, std::string* why = nullptr);
    // load over a block of bytes in memory.
    bool load_memory(const std::vector<char>& bytes, std::string* why = nullptr);
    // load from a file (mode "r").
    bool load_file(const char* file_name, std::string* why = nullptr);

    // The 64 header bytes every container file starts with.
    static const unsigned char* header();
    static constexpr int header_size = 64;

private:
    static void copy_words(void* destination, const char* source, size_t words);

    std::vector<SuperStructure> mStructures;
};
