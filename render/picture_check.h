#pragma once

// A look at a picture file's structure before the image library decodes it. The library
// trusts a PNG's chunk lengths: a file cut inside a chunk makes it read past the end for ever.
// So a PNG is walked chunk by chunk first; other formats pass unchanged.

#include <cstddef>
#include <string>

// The largest picture side taken (texels); larger ones would only exhaust memory.
constexpr unsigned kMaxPictureSide = 8192;

// True when the bytes may go to the image library. False, with a warning naming the file on
// standard error, for a PNG that is damaged: a chunk running past the end of the file, a chunk
// whose CRC does not match, no IHDR first, no IEND, a width or height of 0 or above
// kMaxPictureSide.
bool picture_structure_ok(const unsigned char* bytes, size_t size, const std::string& name);

// The same for a file on disk; false (with the warning) when it cannot be read or is empty.
bool picture_file_ok(const std::string& path);
