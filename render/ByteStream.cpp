#include "render/ByteStream.h"

#include <cstring>

ByteStream::ByteStream()
    : mMode(mode_closed), mFile(nullptr), mPosition(0), mMemory(nullptr), mMemorySize(0)
{
    mName[0] = 0;
    mModeLetter[0] = mModeLetter[1] = 0;
}

ByteStream::~ByteStream()
{
    close();
}

int ByteStream::open(const char* name, const char* mode)
{
    if (!name || !*name || !mode)
        return mode_closed;
    close();
    mModeLetter[0] = mode[0];
    mModeLetter[1] = 0;
    std::strncpy(mName, name, sizeof(mName) - 1);
    mName[sizeof(mName) - 1] = 0;
    mPosition = 0;
    mMode = mode_closed;
    if (mModeLetter[0] == 'r') {
        // A '|' in a name to read marks a pipe, which this stream does not open.
        if (!std::strchr(mName, '|')) {
            mFile = std::fopen(mName, "rb");
            if (mFile)
                mMode = mode_read_file;
        }
    } else if (mModeLetter[0] == 'w') {
        mFile = std::fopen(mName, "wb");
        if (mFile)
            mMode = mode_write_file;
    }
    return mMode;
}

bool ByteStream::close()
{
    bool ok = true;
    if (mFile) {
        ok = std::fclose(mFile) == 0;
        mFile = nullptr;
    }
    mMemory = nullptr;
    mMode = mode_closed;
    return ok;
}

int ByteStream::set_memory(const void* memory, int size)
{
    if (mFile) {
        std::fclose(mFile);
        mFile = nullptr;
    }
    mMemory = static_cast<const unsigned char*>(memory);
    mMemorySize = size < 0 ? 0 : size;
    mMode = mode_memory;
    return mMode;
}

size_t ByteStream::read(void* buffer, size_t n)
{
    switch (mMode) {
    case mode_read_file:
        if (std::feof(mFile))
            return 0;
        mPosition += int(n);
        if (n == 0)
            return 0;
        return std::fread(buffer, 1, n, mFile);
    case mode_memory: {
        if (!mMemory)
            return 0;
        size_t left = mPosition < mMemorySize ? size_t(mMemorySize - mPosition) : 0;
        if (n < left) {
            if (n)
                std::memcpy(buffer, mMemory + mPosition, n);
            mPosition += int(n);
            return n;
        }
        // The last read (also one ending exactly at the end) takes what is left and
        // exhausts the stream.
        if (left)
            std::memcpy(buffer, mMemory + mPosition, left);
        mMemory = nullptr;
        mPosition = mMemorySize;
        return left;
    }
    default:
        return 0;
    }
}

size_t ByteStream::write(const void* buffer, size_t n)
{
    if (mMode != mode_write_file || n == 0)
        return 0;
    return std::fwrite(buffer, 1, n, mFile);
}

int ByteStream::getc()
{
    if (mMode == mode_read_file) {
        int c = std::fgetc(mFile);
        if (c == EOF)
            return -1;
        ++mPosition;
        return c;
    }
    if (mMode == mode_memory) {
        if (!mMemory || mPosition >= mMemorySize)
            return -1;
        return mMemory[mPosition++];
    }
    return -1;
}

void ByteStream::putc(int byte)
{
    if (mMode == mode_write_file)
        std::fputc(byte, mFile);
}

int ByteStream::eof()
{
    if (mMode == mode_read_file)
        return std::feof(mFile) ? 1 : 0;
    if (mMode == mode_memory)
        return (!mMemory || mPosition >= mMemorySize) ? 1 : 0;
    return 0;
}

long ByteStream::size()
{
    if (mMode == mode_read_file) {
        long here = std::ftell(mFile);
        std::fseek(mFile, 0, SEEK_SET);
        long start = std::ftell(mFile);
        std::fseek(mFile, 0, SEEK_END);
        long end = std::ftell(mFile);
        std::fseek(mFile, here, SEEK_SET);
        return end - start;
    }
    if (mMode == mode_memory)
        return mMemorySize;
    return 0;
}

void ByteStream::reopen()
{
    if (mMode != mode_read_file)
        return;
    char name[sizeof(mName)];
    char mode[sizeof(mModeLetter)];
    std::memcpy(name, mName, sizeof(name));
    std::memcpy(mode, mModeLetter, sizeof(mode));
    open(name, mode);
}

int ByteStreamHandle::open_again(const char* name)
{
    if (!name || !*name || !mStream)
        return mode();
    char mode[2] = {mStream->mode_letter()[0], 0};
    return mStream->open(name, mode);
}

int read_file_bytes(const char* name, void* buffer, size_t n)
{
    ByteStream stream;
    int mode = stream.open(name, "r");
    stream.read(buffer, n);
    stream.close();
    return mode;
}

int write_file_bytes(const char* name, const void* buffer, size_t n)
{
    ByteStream stream;
    int mode = stream.open(name, "w");
    if (mode == ByteStream::mode_write_file)
        stream.write(buffer, n);
    stream.close();
    return mode;
}

int32_t read_int32_le(ByteStreamHandle& handle)
{
    unsigned char bytes[4] = {0, 0, 0, 0};
    handle.read(bytes, 4);
    return int32_t(decode_le32(bytes));
}

bool write_int32_le(ByteStreamHandle& handle, int32_t value)
{
    unsigned char bytes[4];
    encode_le32(bytes, uint32_t(value));
    return handle.write(bytes, 4) == 4;
}
