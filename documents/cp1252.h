#pragma once

#include <array>

namespace t1 {

// Windows code page 1252, the code page of `\'hh` escapes and of raw bytes
// in the documents that word processors write. From 0xA0 on it is Latin-1;
// the five bytes the code page leaves undefined keep their C1 value.
inline constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr char16_t fromCp1252(unsigned char byte)
{
    constexpr unsigned char firstHigh = 0x80;
    if (byte >= firstHigh && byte < firstHigh + kCp1252High.size())
        return kCp1252High[byte - firstHigh];
    return byte;
}

}  // namespace t1
