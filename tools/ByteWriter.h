#pragma once
// Little-endian byte building and file writing shared by the build-time
// generators (bitmaps, icons and WAVE files are all little-endian).

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void putU16(Bytes &out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

inline void putU32(Bytes &out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xff));
}

// Writes `bytes` to `path`; says which tool failed, and returns false, if it cannot.
inline bool writeFile(const char *tool, const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", tool, path.c_str());
        return false;
    }
    return true;
}
