#include "assets/stroke_font.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace assets {

namespace {

// Grid units: the baseline is y = 0, capitals reach 6, small letters 4,
// descenders -2. Strokes are polylines "x,y x,y ..." separated by '|'.
struct Glyph {
    char character;
    float width; // grid units from the leftmost to the rightmost stroke centre
    const char* strokes;
};

// clang-format off
const Glyph glyphs[] = {
    {'A', 4, "0,0 0,4.5 1.5,6 2.5,6 4,4.5 4,0|0,2.5 4,2.5"},
    {'B', 4, "0,0 0,6 3,6 4,5 4,4 3,3 0,3|3,3 4,2 4,1 3,0 0,0"},
    {'C', 4, "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1"},
    {'D', 4, "0,0 0,6 2.5,6 4,4.5 4,1.5 2.5,0 0,0"},
    {'E', 4, "4,6 0,6 0,0 4,0|0,3 3,3"},
    {'F', 4, "4,6 0,6 0,0|0,3 3,3"},
    {'G', 4, "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,3 2,3"},
    {'H', 4, "0,0 0,6|4,0 4,6|0,3 4,3"},
    {'I', 2, "0,0 2,0|1,0 1,6|0,6 2,6"},
    {'J', 4, "4,6 4,1 3,0 1,0 0,1"},
    {'K', 4, "0,0 0,6|4,6 0,2|1.3,3.3 4,0"},
    {'L', 4, "0,6 0,0 4,0"},
    {'M', 5, "0,0 0,6 2.5,3 5,6 5,0"},
    {'N', 4, "0,0 0,6 4,0 4,6"},
    {'O', 4, "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0"},
    {'P', 4, "0,0 0,6 3,6 4,5 4,4 3,3 0,3"},
    {'Q', 4, "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0|2.5,1.5 4,0"},
    {'R', 4, "0,0 0,6 3,6 4,5 4,4 3,3 0,3|2,3 4,0"},
    {'S', 4, "4,5 3,6 1,6 0,5 0,4 1,3 3,3 4,2 4,1 3,0 1,0 0,1"},
    {'T', 4, "0,6 4,6|2,6 2,0"},
    {'U', 4, "0,6 0,1 1,0 3,0 4,1 4,6"},
    {'V', 4, "0,6 2,0 4,6"},
    {'W', 5, "0,6 1.25,0 2.5,4 3.75,0 5,6"},
    {'X', 4, "0,0 4,6|0,6 4,0"},
    {'Y', 4, "0,6 2,3 4,6|2,3 2,0"},
    {'Z', 4, "0,6 4,6 0,0 4,0"},
    {'a', 3.5, "0.5,4 2.5,4 3.5,3 3.5,0|3.5,2.2 1,2.2 0,1.4 0,0.8 0.8,0 3.5,0"},
    {'b', 3.5, "0,6 0,0 2.5,0 3.5,1 3.5,3 2.5,4 0,4"},
    {'c', 3.5, "3.5,4 1,4 0,3 0,1 1,0 3.5,0"},
    {'d', 3.5, "3.5,6 3.5,0 1,0 0,1 0,3 1,4 3.5,4"},
    {'e', 3.5, "0,2 3.5,2 3.5,3 2.5,4 1,4 0,3 0,1 1,0 3.5,0"},
    {'f', 3, "3,6 2,6 1,5 1,0|0,4 3,4"},
    {'g', 3.5, "3.5,4 1,4 0,3 0,1 1,0 3.5,0|3.5,4 3.5,-1 2.5,-2 0,-2"},
    {'h', 3.5, "0,6 0,0|0,4 2.5,4 3.5,3 3.5,0"},
    // The dots of i and j stand clear of their stems down to 8-pixel capitals.
    {'i', 0, "0,0 0,4|0,5.5 0,6.2"},
    {'j', 1.5, "1.5,4 1.5,-1 0.5,-2 0,-2|1.5,5.5 1.5,6.2"},
    {'k', 3.5, "0,6 0,0|3.5,4 0,1.5|1.2,2.3 3.5,0"},
    {'l', 1, "0,6 0,1 1,0"},
    {'m', 5, "0,0 0,4|0,3 1,4 1.5,4 2.5,3 2.5,0|2.5,3 3.5,4 4,4 5,3 5,0"},
    {'n', 3.5, "0,0 0,4|0,3 1,4 2.5,4 3.5,3 3.5,0"},
    {'o', 3.5, "1,0 0,1 0,3 1,4 2.5,4 3.5,3 3.5,1 2.5,0 1,0"},
    {'p', 3.5, "0,-2 0,4 2.5,4 3.5,3 3.5,1 2.5,0 0,0"},
    {'q', 3.5, "3.5,-2 3.5,4 1,4 0,3 0,1 1,0 3.5,0"},
    {'r', 3, "0,0 0,4|0,3 1,4 3,4"},
    {'s', 3.5, "3.5,4 1,4 0,3 1,2 2.5,2 3.5,1 2.5,0 0,0"},
    {'t', 3, "1,6 1,1 2,0 3,0|0,4 3,4"},
    {'u', 3.5, "0,4 0,1 1,0 2.5,0 3.5,1|3.5,4 3.5,0"},
    {'v', 4, "0,4 2,0 4,4"},
    {'w', 5, "0,4 1.25,0 2.5,3 3.75,0 5,4"},
    {'x', 3.5, "0,0 3.5,4|0,4 3.5,0"},
    {'y', 3.5, "0,4 0,1 1,0 3.5,0|3.5,4 3.5,-1 2.5,-2 0,-2"},
    {'z', 3.5, "0,4 3.5,4 0,0 3.5,0"},
    {'0', 3.5, "1,0 0,1 0,5 1,6 2.5,6 3.5,5 3.5,1 2.5,0 1,0"},
    {'1', 1.5, "0,5 1.5,6 1.5,0"},
    {'2', 4, "0,5 1,6 3,6 4,5 4,4 0,0 4,0"},
    {'3', 4, "0,5 1,6 3,6 4,5 4,4 3,3 4,2 4,1 3,0 1,0 0,1|1.5,3 3,3"},
    {'4', 4, "3,0 3,6 0,2 4,2"},
    {'5', 4, "4,6 0,6 0,3.5 3,3.5 4,2.5 4,1 3,0 0,0"},
    {'6', 4, "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,2 3,3 0,3"},
    {'7', 4, "0,6 4,6 1.5,0"},
    {'8', 4, "1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3 1,3 0,2 0,1 1,0 3,0 4,1 4,2 3,3"},
    {'9', 4, "0,1 1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,4 1,3 4,3"},
    {'.', 0, "0,0 0,0.7"},
    {',', 0.7, "0.7,0.7 0.7,0 0,-1.2"},
    {'-', 2.5, "0,2.5 2.5,2.5"},
    {':', 0, "0,0 0,0.7|0,3.3 0,4"},
    {'/', 3, "0,-0.5 3,6.5"},
    {'(', 1.5, "1.5,6.5 0,5 0,1 1.5,-0.5"},
    {')', 1.5, "0,6.5 1.5,5 1.5,1 0,-0.5"},
    {'\'', 0, "0,6 0,4.5"},
    {'!', 0, "0,6 0,2|0,0 0,0.7"},
    {'?', 3.5, "0,5 1,6 2.5,6 3.5,5 3.5,4 1.75,2.5 1.75,1.6|1.75,0 1.75,0.7"},
    {'+', 3, "0,2.5 3,2.5|1.5,1 1.5,4"},
    {'@', 5, "3.5,1.5 3.5,3.5 1.5,3.5 1.5,1.5 3.5,1.5 5,1.5 5,5 4,6 1,6 0,5 0,0.5 1,-0.5 4,-0.5"},
};
// clang-format on

constexpr float gridCapHeight = 6.0f;
constexpr float glyphGap = 1.6f;   // grid units between neighbouring glyphs
constexpr float spaceWidth = 2.5f; // grid units a space adds besides its two gaps

const Glyph* FindGlyph(char character) {
    for (const Glyph& glyph : glyphs) {
        if (glyph.character == character)
            return &glyph;
    }
    return nullptr;
}

float AdvanceWidth(char character) {
    const Glyph* glyph = FindGlyph(character);
    return glyph ? glyph->width : spaceWidth;
}

// Width in grid units between the first and the last stroke centre line.
float GridWidth(const std::string& text) {
    if (text.empty())
        return 0.0f;
    float width = glyphGap * static_cast<float>(text.size() - 1);
    for (char character : text)
        width += AdvanceWidth(character);
    return width;
}

// Parses one stroke list into polylines of grid points.
std::vector<std::vector<std::pair<float, float>>> Polylines(const char* strokes) {
    std::vector<std::vector<std::pair<float, float>>> lines(1);
    const char* at = strokes;
    while (*at) {
        if (*at == '|') {
            lines.emplace_back();
            ++at;
            continue;
        }
        if (*at == ' ') {
            ++at;
            continue;
        }
        char* end = nullptr;
        float x = std::strtof(at, &end);
        at = end + 1; // the comma
        float y = std::strtof(at, &end);
        at = end;
        lines.back().emplace_back(x, y);
    }
    return lines;
}

} // namespace

bool FontCovers(const std::string& text) {
    for (char character : text) {
        if (character != ' ' && !FindGlyph(character))
            return false;
    }
    return true;
}

float TextWidth(const std::string& text, const TextStyle& style) {
    return GridWidth(text) * style.capHeight / gridCapHeight + style.stroke;
}

int AddText(LwobWriter& object, const std::string& text, const TextStyle& style, float centreX,
            float centreY, float z, Facing facing) {
    float unit = style.capHeight / gridCapHeight;
    float half = style.stroke * 0.5f;
    float penX = centreX - GridWidth(text) * unit * 0.5f;
    float baseY = centreY - style.capHeight * 0.5f;
    int quads = 0;
    for (char character : text) {
        const Glyph* glyph = FindGlyph(character);
        if (glyph) {
            for (const auto& line : Polylines(glyph->strokes)) {
                for (size_t i = 1; i < line.size(); ++i) {
                    float ax = penX + line[i - 1].first * unit;
                    float ay = baseY + line[i - 1].second * unit;
                    float bx = penX + line[i].first * unit;
                    float by = baseY + line[i].second * unit;
                    float length = std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
                    if (length <= 0.0f)
                        continue;
                    // Along the stroke and across it, each half a stroke wide;
                    // the ends reach half a stroke further so that joints close.
                    float dx = (bx - ax) / length * half;
                    float dy = (by - ay) / length * half;
                    float nx = -dy;
                    float ny = dx;
                    object.AddFlat({{ax - dx + nx, ay - dy + ny},
                                    {bx + dx + nx, by + dy + ny},
                                    {bx + dx - nx, by + dy - ny},
                                    {ax - dx - nx, ay - dy - ny}},
                                   z, facing);
                    ++quads;
                }
            }
        }
        penX += (AdvanceWidth(character) + glyphGap) * unit;
    }
    return quads;
}

} // namespace assets
