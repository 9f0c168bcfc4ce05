#pragma once

// A small byte stream under the scene record container: it reads or writes a file through
// stdio, or reads a caller's block of memory. Failure shows only in the mode (0 = closed).
//
// Sections: the stream - the owning handle - whole-file and little-endian word helpers.

#include <cstdint>
#include <cstdio>
#include <memory>

// ---- the stream

class ByteStream {
public:
    enum { mode_closed = 0, mode_read_file = 2, mode_write_file = 3, mode_memory = 4 };

    ByteStream();
    ~ByteStream();
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;

    // Mode letter 'r' opens the file for binary reading (a name holding '|' stays closed),
    // 'w' for binary writing. Returns the new mode; a null or empty name or a null mode
    // string returns 0 and changes nothing.
    int open(const char* name, const char* mode);
    // Returns false when closing a written file failed to flush it.
    bool close();
    // Reads the caller's block (never owned); the position is kept. Returns the memory mode.
    int set_memory(const void* memory, int size);
    // Copies up to n bytes; returns how many were copied.
    size_t read(void* buffer, size_t n);
    size_t write(const void* buffer, size_t n);
    int getc();
    void putc(int byte);
    int eof();
    long size();
    void reopen();

    int mode() const { return mMode; }
    int position() const { return mPosition; }
    const char* name() const { return mName; }
    const char* mode_letter() const { return mModeLetter; }

private:
    int mMode;
    FILE* mFile;
    char mName[800];
    char mModeLetter[2];
    int mPosition;
    const unsigned char* mMemory;
    int mMemorySize;
};

// ---- the owning handle: each stream operation forwards to the stream it holds

class ByteStreamHandle {
public:
    ByteStreamHandle() = default;

    // A new closed stream in place of any held one.
    void create() { mStream.reset(new ByteStream()); }
    // A new stream opened at once; the stream is kept even when the open failed.
    int create_open(const char* name, const char* mode)
    {
        create();
        return mStream->open(name, mode);
    }
    // Closes and frees the stream; nothing when there is none.
    void destroy() { mStream.reset(); }
    // Opens the held stream again under a new name with the mode letter used before;
    // nothing for an empty name.
    int open_again(const char* name);

    int open(const char* name, const char* mode) { return mStream->open(name, mode); }
    bool close() { return mStream->close(); }
    int set_memory(const void* memory, int size) { return mStream->set_memory(memory, size); }
    size_t read(void* buffer, size_t n) { return mStream->read(buffer, n); }
    size_t write(const void* buffer, size_t n) { return mStream->write(buffer, n); }
    int getc() { return mStream->getc(); }
    void putc(int byte) { mStream->putc(byte); }
    int eof() { return mStream->eof(); }
    long size() { return mStream->size(); }
    void reopen() { mStream->reopen(); }
    int mode() const { return mStream ? mStream->mode() : ByteStream::mode_closed; }
    int position() const { return mStream ? mStream->position() : 0; }

    ByteStream* get() const { return mStream.get(); }
    explicit operator bool() const { return mStream != nullptr; }

private:
    std::unique_ptr<ByteStream> mStream;
};

// ---- whole-file and word helpers

// Opens name with mode "r", reads n bytes, closes; returns the open result.
int read_file_bytes(const char* name, void* buffer, size_t n);
// Opens name with mode "w", writes n bytes when it opened for writing, closes; returns the open result.
int write_file_bytes(const char* name, const void* buffer, size_t n);

// Little-endian 32-bit words, independent of the host's byte order.
inline uint32_t decode_le32(const void* bytes)
{
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

inline void encode_le32(void* bytes, uint32_t value)
{
    unsigned char* b = static_cast<unsigned char*>(bytes);
    b[0] = value & 0xff;
    b[1] = (value >> 8) & 0xff;
    b[2] = (value >> 16) & 0xff;
    b[3] = (value >> 24) & 0xff;
}

// Reads 4 bytes as a little-endian int32 (bytes not delivered count as 0).
int32_t read_int32_le(ByteStreamHandle& handle);
// Writes the value as 4 little-endian bytes; returns whether all 4 were written.
bool write_int32_le(ByteStreamHandle& handle, int32_t value);
