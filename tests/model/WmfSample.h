// Test helper: a placeable WMF of one colour, 960 x 480 twips (64 x 32
// pixels at 96 dpi), filled without an outline.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

inline std::string OneColourWmf(std::uint32_t colorref)
{
    auto append16 = [](std::string& s, int v) {
        s.push_back(char(v & 0xFF));
        s.push_back(char((v >> 8) & 0xFF));
    };
    auto append32 = [](std::string& s, std::int64_t v) {
        for (int i = 0; i < 4; ++i) s.push_back(char((std::uint64_t(v) >> (8 * i)) & 0xFF));
    };
    std::string records;
    auto record = [&](int function, std::initializer_list<int> params) {
        append32(records, 3 + std::int64_t(params.size()));
        append16(records, function);
        for (int p : params) append16(records, p);
    };
    record(0x020B, {0, 0});                                                  // SETWINDOWORG
    record(0x020C, {480, 960});                                              // SETWINDOWEXT
    record(0x02FC, {0, int(colorref & 0xFFFF), int(colorref >> 16), 0});     // CREATEBRUSHINDIRECT
    record(0x012D, {0});                                                     // SELECTOBJECT
    record(0x02FA, {5, 0, 0, 0, 0});                                         // CREATEPENINDIRECT null
    record(0x012D, {1});
    record(0x041B, {480, 960, 0, 0});                                        // RECTANGLE
    record(0x0000, {});                                                      // EOF

    std::string header;
    append16(header, 1);
    append16(header, 9);
    append16(header, 0x0300);
    append32(header, std::int64_t(18 + records.size()) / 2);
    append16(header, 2);
    append32(header, 8);
    append16(header, 0);

    std::string placeable;
    append32(placeable, 0x9AC6CDD7);
    append16(placeable, 0);
    for (int v : {0, 0, 960, 480}) append16(placeable, v);
    append16(placeable, 1440);
    append32(placeable, 0);
    int checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= (std::uint8_t(placeable[2 * i]) | (std::uint8_t(placeable[2 * i + 1]) << 8));
    append16(placeable, checksum);
    return placeable + header + records;
}
