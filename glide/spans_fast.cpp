// The fast span loops, chosen at run time, each giving exactly the pixels of
// SpanReference: additive blending of flat-coloured polygons without depth (portable,
// AVX2, AVX-512); opaque and common blended Gouraud states in every depth mode
// (portable one pixel at a time, AVX-512 16 at a time, AVX2 for the opaque
// depth-tested ones); and the AVX-512 row walks with the show's two busiest loops
// inlined.
#include "glide/raster.h"
#include "glide/rows.h"

#include <algorithm>

#ifdef SOLVANE_GLIDE_X86
#include <immintrin.h>
#endif

namespace glide {

namespace {

// Dithered 8-bit to 5- and 6-bit values, by matrix entry: the same arithmetic as
// PackPixel, looked up.
struct DitherTables {
    uint8_t to5[16][256], to6[16][256];
    uint8_t expand5[32], expand6[64];
    // Matrix entries for 16 lanes starting at x with x & 3 = phase, by row y & 3.
    alignas(32) int16_t lanes16[4][4][16];
    alignas(32) int32_t lanes32[4][4][8];
    uint64_t pattern64[4][4]; // four 16-bit lanes' entries in one word, by row and phase
    DitherTables() {
        for (int y = 0; y < 4; ++y) {
            for (int phase = 0; phase < 4; ++phase) {
                for (int lane = 0; lane < 16; ++lane) {
                    lanes16[y][phase][lane] = ditherMatrix[y][(phase + lane) & 3];
                }
                for (int lane = 0; lane < 8; ++lane) {
                    lanes32[y][phase][lane] = ditherMatrix[y][(phase + lane) & 3];
                }
                pattern64[y][phase] = 0;
                for (int lane = 0; lane < 4; ++lane) {
                    pattern64[y][phase] |= uint64_t(ditherMatrix[y][(phase + lane) & 3])
                                           << (16 * lane);
                }
            }
        }
        for (int d = 0; d < 16; ++d) {
            for (int v = 0; v < 256; ++v) {
                to5[d][v] = uint8_t((2 * v - v / 16 + v / 128 + d) >> 4);
                to6[d][v] = uint8_t((4 * v - v / 16 + v / 64 + d) >> 4);
            }
        }
        for (int v = 0; v < 32; ++v) {
            expand5[v] = uint8_t(Widen5(v));
        }
        for (int v = 0; v < 64; ++v) {
            expand6[v] = uint8_t(Widen6(v));
        }
    }
};
const DitherTables tables;

inline int SpanChannel(int32_t start) {
    return std::min(std::max(start >> 16, 0), 255);
}

// The constant source term of an additive span, per channel: (S * fs) >> 8.
inline __attribute__((always_inline)) void AdditiveTerms(const PixelPath& path, const Span& s,
                                                         int add[3]) {
    int alpha = SpanChannel(s.rgba[3]);
    int fs = path.srcFactor == GR_BLEND_ONE ? 256 : alpha + 1;
    for (int c = 0; c < 3; ++c) {
        add[c] = (SpanChannel(s.rgba[c]) * fs) >> 8;
    }
}

} // namespace

void SpanAdditivePortable(const PixelPath& path, const Span& s) {
    int add[3];
    AdditiveTerms(path, s, add);
    uint16_t* out = s.color;
    for (int i = 0; i < s.count; ++i) {
        uint16_t p = out[i];
        int r = std::min(255, tables.expand5[p >> 11] + add[0]);
        int g = std::min(255, tables.expand6[(p >> 5) & 63] + add[1]);
        int b = std::min(255, tables.expand5[p & 31] + add[2]);
        if (path.dither) {
            int d = ditherMatrix[s.y & 3][(s.x + i) & 3];
            out[i] =
                uint16_t((tables.to5[d][r] << 11) | (tables.to6[d][g] << 5) | tables.to5[d][b]);
        } else {
            out[i] = uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        }
    }
}

namespace {

template <int DepthMode> inline uint16_t SpanDepth(float f) {
    return DepthMode == GR_DEPTHBUFFER_WBUFFER ? WDepth(f) : ZDepth(f);
}

// One pixel at a time with the state resolved at compile time: source factor ONE or
// SRC_ALPHA, destination factor ZERO, ONE or ONE_MINUS_SRC_ALPHA, any depth mode.
template <int DepthMode, int Src, int Dst>
void SpanPixelsPortable(const PixelPath& path, const Span& s) {
    constexpr bool blend = !(Src == GR_BLEND_ONE && Dst == GR_BLEND_ZERO);
    int row[4];
    for (int k = 0; k < 4; ++k) {
        row[k] = path.dither ? ditherMatrix[s.y & 3][(s.x + k) & 3] : 0;
    }
    int32_t v[4] = {s.rgba[0], s.rgba[1], s.rgba[2], s.rgba[3]};
    for (int i = 0; i < s.count; ++i) {
        bool draw = true;
        if (DepthMode != GR_DEPTHBUFFER_DISABLE) {
            const uint16_t depth = SpanDepth<DepthMode>(s.depth0 + float(i) * s.depthStep);
            draw = DepthPasses(path.depthFunction, depth, s.depth[i]);
            if (draw && path.depthWrite) {
                s.depth[i] = depth;
            }
        }
        if (draw) {
            int out[3] = {SpanChannel(v[0]), SpanChannel(v[1]), SpanChannel(v[2])};
            if (blend) {
                const int a = SpanChannel(v[3]);
                const int fs = Src == GR_BLEND_ONE ? 256 : a + 1;
                const int fd = Dst == GR_BLEND_ONE ? 256 : Dst == GR_BLEND_ZERO ? 0 : 256 - a;
                const uint16_t p = s.color[i];
                const int dst[3] = {tables.expand5[p >> 11], tables.expand6[(p >> 5) & 63],
                                    tables.expand5[p & 31]};
                for (int c = 0; c < 3; ++c) {
                    out[c] = std::min(255, ((out[c] * fs) >> 8) + ((dst[c] * fd) >> 8));
                }
            }
            if (path.dither) {
                const int d = row[i & 3];
                s.color[i] = uint16_t((tables.to5[d][out[0]] << 11) | (tables.to6[d][out[1]] << 5) |
                                      tables.to5[d][out[2]]);
            } else {
                s.color[i] = uint16_t(((out[0] >> 3) << 11) | ((out[1] >> 2) << 5) | (out[2] >> 3));
            }
        }
        for (int c = 0; c < 4; ++c) {
            v[c] = int32_t(uint32_t(v[c]) + uint32_t(s.rgbaStep[c]));
        }
    }
}

} // namespace

void SpanOpaqueWPortable(const PixelPath& path, const Span& s) {
    SpanPixelsPortable<GR_DEPTHBUFFER_WBUFFER, GR_BLEND_ONE, GR_BLEND_ZERO>(path, s);
}

void SpanOpaqueZPortable(const PixelPath& path, const Span& s) {
    SpanPixelsPortable<GR_DEPTHBUFFER_ZBUFFER, GR_BLEND_ONE, GR_BLEND_ZERO>(path, s);
}

#ifdef SOLVANE_GLIDE_X86

bool CpuHasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

bool CpuHasAvx512() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0;
    }();
    return has;
}

#define AVX2 __attribute__((target("avx2")))
#define AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl")))

// 16 pixels of 565 in, dithered (d: matrix entries per lane) or truncated out.
AVX2 static inline __m256i AddAndPack16(__m256i p, __m256i addR, __m256i addG, __m256i addB,
                                        __m256i d, bool dither) {
    const __m256i m5 = _mm256_set1_epi16(31), m6 = _mm256_set1_epi16(63);
    const __m256i max8 = _mm256_set1_epi16(255);
    __m256i r5 = _mm256_srli_epi16(p, 11);
    __m256i g6 = _mm256_and_si256(_mm256_srli_epi16(p, 5), m6);
    __m256i b5 = _mm256_and_si256(p, m5);
    __m256i r = _mm256_or_si256(_mm256_slli_epi16(r5, 3), _mm256_srli_epi16(r5, 2));
    __m256i g = _mm256_or_si256(_mm256_slli_epi16(g6, 2), _mm256_srli_epi16(g6, 4));
    __m256i b = _mm256_or_si256(_mm256_slli_epi16(b5, 3), _mm256_srli_epi16(b5, 2));
    r = _mm256_min_epi16(_mm256_add_epi16(r, addR), max8);
    g = _mm256_min_epi16(_mm256_add_epi16(g, addG), max8);
    b = _mm256_min_epi16(_mm256_add_epi16(b, addB), max8);
    if (dither) {
        // (2v - v/16 + v/128 + d) >> 4 and (4v - v/16 + v/64 + d) >> 4
        r = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(r, 1), _mm256_srli_epi16(r, 4)),
                             _mm256_add_epi16(_mm256_srli_epi16(r, 7), d)),
            4);
        g = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(g, 2), _mm256_srli_epi16(g, 4)),
                             _mm256_add_epi16(_mm256_srli_epi16(g, 6), d)),
            4);
        b = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(b, 1), _mm256_srli_epi16(b, 4)),
                             _mm256_add_epi16(_mm256_srli_epi16(b, 7), d)),
            4);
    } else {
        r = _mm256_srli_epi16(r, 3);
        g = _mm256_srli_epi16(g, 2);
        b = _mm256_srli_epi16(b, 3);
    }
    return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(r, 11), _mm256_slli_epi16(g, 5)), b);
}

// Matrix entries for lanes x, x + 1, ... of row y; the pattern repeats every 4 lanes.
AVX2 static inline __m256i DitherLanes16(int x, int y) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(tables.lanes16[y & 3][x & 3]));
}

AVX2 void SpanAdditiveAvx2(const PixelPath& path, const Span& s) {
    int add[3];
    AdditiveTerms(path, s, add);
    const __m256i addR = _mm256_set1_epi16(int16_t(add[0]));
    const __m256i addG = _mm256_set1_epi16(int16_t(add[1]));
    const __m256i addB = _mm256_set1_epi16(int16_t(add[2]));
    const __m256i d = DitherLanes16(s.x, s.y);
    uint16_t* out = s.color;
    int i = 0;
    if (path.dither) {
        for (; i + 16 <= s.count; i += 16) {
            __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                                AddAndPack16(p, addR, addG, addB, d, true));
        }
    } else {
        for (; i + 16 <= s.count; i += 16) {
            __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                                AddAndPack16(p, addR, addG, addB, d, false));
        }
    }
    if (i < s.count) {
        // One more block of 16 pixels of the span's row, keeping the lanes outside the
        // pixels still to draw: the span's last 16, or a short span's block, starting
        // at the span unless that would pass the row's end.
        const int j = s.count >= 16 ? s.count - 16 : (s.x + 16 <= s.width ? 0 : s.count - 16);
        const __m256i lane =
            _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        const __m256i index = _mm256_add_epi16(lane, _mm256_set1_epi16(int16_t(j)));
        const __m256i fresh =
            _mm256_and_si256(_mm256_cmpgt_epi16(index, _mm256_set1_epi16(int16_t(i - 1))),
                             _mm256_cmpgt_epi16(_mm256_set1_epi16(int16_t(s.count)), index));
        __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out + j));
        __m256i q = AddAndPack16(p, addR, addG, addB, DitherLanes16(s.x + j, s.y), path.dither);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), _mm256_blendv_epi8(p, q, fresh));
    }
}

// Lanes of incoming depth that pass against the stored depth, both 0..0xFFFF in
// 32-bit lanes.
AVX2 static inline __m256i DepthMask8(int function, __m256i incoming, __m256i stored) {
    const __m256i all = _mm256_set1_epi32(-1);
    switch (function) {
    case GR_CMP_LESS:
        return _mm256_cmpgt_epi32(stored, incoming);
    case GR_CMP_EQUAL:
        return _mm256_cmpeq_epi32(stored, incoming);
    case GR_CMP_LEQUAL:
        return _mm256_xor_si256(_mm256_cmpgt_epi32(incoming, stored), all);
    case GR_CMP_GREATER:
        return _mm256_cmpgt_epi32(incoming, stored);
    case GR_CMP_NOTEQUAL:
        return _mm256_xor_si256(_mm256_cmpeq_epi32(stored, incoming), all);
    case GR_CMP_GEQUAL:
        return _mm256_xor_si256(_mm256_cmpgt_epi32(stored, incoming), all);
    case GR_CMP_ALWAYS:
        return all;
    default:
        return _mm256_setzero_si256();
    }
}

// 16 32-bit lanes (two registers) to 16 16-bit lanes in order.
AVX2 static inline __m128i Narrow8(__m256i v) {
    __m256i packed = _mm256_packus_epi32(v, v); // lanes 0-3, 0-3, 4-7, 4-7
    return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08));
}

AVX2 static inline __m256i ChannelLanes(__m256i v) {
    v = _mm256_srai_epi32(v, 16);
    return _mm256_min_epi32(_mm256_max_epi32(v, _mm256_setzero_si256()), _mm256_set1_epi32(255));
}

// Eight pixels from span index i on: r, g, b hold their channels, inside marks with
// 0xFFFF the lanes that belong to the span (the others are rewritten unchanged).
template <int DepthMode>
AVX2 static void Opaque8(const PixelPath& path, const Span& s, int i, uint16_t* color,
                         uint16_t* depth, __m256i r, __m256i g, __m256i b, __m256i d,
                         __m128i inside) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i index = _mm256_add_epi32(_mm256_set1_epi32(i), lanes);
    __m256 f = _mm256_add_ps(_mm256_set1_ps(s.depth0),
                             _mm256_mul_ps(_mm256_cvtepi32_ps(index), _mm256_set1_ps(s.depthStep)));
    __m256i w;
    if (DepthMode == GR_DEPTHBUFFER_WBUFFER) { // as WDepth: 0x7F000 - (bits >> 11), held
        __m256i bits = _mm256_castps_si256(f);
        w = _mm256_sub_epi32(_mm256_set1_epi32(0x7F000), _mm256_srai_epi32(bits, 11));
        w = _mm256_min_epi32(_mm256_max_epi32(w, _mm256_setzero_si256()),
                             _mm256_set1_epi32(0xFFFF));
    } else { // as ZDepth: 0 unless f > 0 (NaN too), truncated, held to 0xFFFF
        const __m256 positive = _mm256_cmp_ps(f, _mm256_setzero_ps(), _CMP_GT_OQ);
        w = _mm256_cvttps_epi32(_mm256_min_ps(f, _mm256_set1_ps(65535.0f)));
        w = _mm256_and_si256(w, _mm256_castps_si256(positive));
    }
    __m128i stored16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(depth));
    __m256i stored = _mm256_cvtepu16_epi32(stored16);
    __m256i pass = DepthMask8(path.depthFunction, w, stored);
    __m128i pass16 = _mm_and_si128(Narrow8(_mm256_srli_epi32(pass, 16)), inside);
    if (_mm_testz_si128(pass16, pass16)) {
        return;
    }
    __m256i rc = ChannelLanes(r), gc = ChannelLanes(g), bc = ChannelLanes(b);
    __m256i r5, g6, b5;
    if (path.dither) {
        r5 = _mm256_srli_epi32(
            _mm256_add_epi32(_mm256_sub_epi32(_mm256_slli_epi32(rc, 1), _mm256_srli_epi32(rc, 4)),
                             _mm256_add_epi32(_mm256_srli_epi32(rc, 7), d)),
            4);
        g6 = _mm256_srli_epi32(
            _mm256_add_epi32(_mm256_sub_epi32(_mm256_slli_epi32(gc, 2), _mm256_srli_epi32(gc, 4)),
                             _mm256_add_epi32(_mm256_srli_epi32(gc, 6), d)),
            4);
        b5 = _mm256_srli_epi32(
            _mm256_add_epi32(_mm256_sub_epi32(_mm256_slli_epi32(bc, 1), _mm256_srli_epi32(bc, 4)),
                             _mm256_add_epi32(_mm256_srli_epi32(bc, 7), d)),
            4);
    } else {
        r5 = _mm256_srli_epi32(rc, 3);
        g6 = _mm256_srli_epi32(gc, 2);
        b5 = _mm256_srli_epi32(bc, 3);
    }
    __m256i pixel =
        _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(r5, 11), _mm256_slli_epi32(g6, 5)), b5);
    __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(color));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(color),
                     _mm_blendv_epi8(old, Narrow8(pixel), pass16));
    if (path.depthWrite) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(depth),
                         _mm_blendv_epi8(stored16, Narrow8(w), pass16));
    }
}

// start + lane * step for lanes 0..7, wrapping like the scalar loops.
AVX2 static inline __m256i ChannelStart(int32_t start, int32_t step) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return _mm256_add_epi32(_mm256_set1_epi32(start),
                            _mm256_mullo_epi32(lanes, _mm256_set1_epi32(step)));
}

AVX2 static inline __m256i DitherLanes8(int x, int y) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(tables.lanes32[y & 3][x & 3]));
}

template <int DepthMode> AVX2 void SpanOpaqueAvx2(const PixelPath& path, const Span& s) {
    const __m128i all = _mm_set1_epi32(-1);
    int i = 0;
    if (s.count >= 8) {
        __m256i r = ChannelStart(s.rgba[0], s.rgbaStep[0]);
        __m256i g = ChannelStart(s.rgba[1], s.rgbaStep[1]);
        __m256i b = ChannelStart(s.rgba[2], s.rgbaStep[2]);
        const __m256i stepR = _mm256_set1_epi32(int32_t(uint32_t(s.rgbaStep[0]) * 8u));
        const __m256i stepG = _mm256_set1_epi32(int32_t(uint32_t(s.rgbaStep[1]) * 8u));
        const __m256i stepB = _mm256_set1_epi32(int32_t(uint32_t(s.rgbaStep[2]) * 8u));
        const __m256i d = DitherLanes8(s.x, s.y);
        for (; i + 8 <= s.count; i += 8) {
            Opaque8<DepthMode>(path, s, i, s.color + i, s.depth + i, r, g, b, d, all);
            r = _mm256_add_epi32(r, stepR);
            g = _mm256_add_epi32(g, stepG);
            b = _mm256_add_epi32(b, stepB);
        }
        if (i == s.count) {
            return;
        }
    }
    // The rest is one block of 8 pixels of the span's row: the last 8 of a longer span
    // (drawing an opaque pixel twice gives what drawing it once gave: same depth, same
    // colour, the test repeats its outcome), or a short span's block, starting at the
    // span unless that would pass the row's end, with the lanes outside it kept.
    int j;
    __m128i inside = all;
    if (s.count >= 8) {
        j = s.count - 8;
    } else {
        j = s.x + 8 <= s.width ? 0 : s.count - 8;
        const __m128i lane = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
        const __m128i index = _mm_add_epi16(lane, _mm_set1_epi16(int16_t(j)));
        inside = _mm_and_si128(_mm_cmpgt_epi16(index, _mm_set1_epi16(-1)),
                               _mm_cmplt_epi16(index, _mm_set1_epi16(int16_t(s.count))));
    }
    auto at = [&](int c) {
        return int32_t(uint32_t(s.rgba[c]) + uint32_t(j) * uint32_t(s.rgbaStep[c]));
    };
    Opaque8<DepthMode>(path, s, j, s.color + j, s.depth + j, ChannelStart(at(0), s.rgbaStep[0]),
                       ChannelStart(at(1), s.rgbaStep[1]), ChannelStart(at(2), s.rgbaStep[2]),
                       DitherLanes8(s.x + j, s.y), inside);
}

AVX2 void SpanOpaqueWAvx2(const PixelPath& path, const Span& s) {
    SpanOpaqueAvx2<GR_DEPTHBUFFER_WBUFFER>(path, s);
}

AVX2 void SpanOpaqueZAvx2(const PixelPath& path, const Span& s) {
    SpanOpaqueAvx2<GR_DEPTHBUFFER_ZBUFFER>(path, s);
}

// 16 pixels of a row from span index i: a whole load and a blended whole store when
// the 16 lie within the row (the lanes past the span rewritten unchanged), masked ones
// only at the row's end. A masked load waits for earlier masked stores near it; on
// the saver's thin lines that wait was a quarter of the time.
AVX512 static inline __m256i Load16(const uint16_t* p, __mmask16 inside, bool whole) {
    return whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))
                 : _mm256_maskz_loadu_epi16(inside, p);
}
AVX512 static inline void Store16(uint16_t* p, __mmask16 write, __m256i old, __m256i value,
                                  bool whole) {
    if (whole) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p),
                            _mm256_mask_blend_epi16(write, old, value));
    } else {
        _mm256_mask_storeu_epi16(p, write, value);
    }
}

// Depth-tested (or not), opaque or blended Gouraud spans 16 pixels at a time in 32-bit
// lanes; the span's end is a masked load and store, so a short span (most of a small
// polygon's rows) is one pass and no pixel outside the span is touched. Source factor
// ONE or SRC_ALPHA, destination factor ZERO, ONE or ONE_MINUS_SRC_ALPHA; the same
// arithmetic as SpanReference for those states. GCC 12 takes the intrinsics' own
// undefined pass-through operands for uninitialised values: not a fault here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
// The lane offsets of a span's steps: i * step for lanes i = 0..15, and 16 * step. The
// same for every span of a polygon whose steps the set-up did not have to cut.
struct LaneSteps512 {
    __m512i laneStep[4], blockStep[4];
    AVX512 explicit LaneSteps512(const Span& s) {
        const __m512i lanes =
            _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        for (int c = 0; c < 4; ++c) {
            laneStep[c] = _mm512_mullo_epi32(lanes, _mm512_set1_epi32(s.rgbaStep[c]));
            blockStep[c] = _mm512_set1_epi32(int32_t(uint32_t(s.rgbaStep[c]) * 16u));
        }
    }
};

// ShowState: the state of the options screen's opaque polygons (LESS, depth written,
// dithered) fixed when the loop is compiled, for the fused walk; else read from path.
constexpr int showDepthFunction = GR_CMP_LESS;
template <int DepthMode, int Src, int Dst, bool ShowState = false>
AVX512 inline __attribute__((always_inline)) void
SpanPixelsAvx512(const PixelPath& path, const Span& s, const LaneSteps512& steps) {
    const int depthFunction = ShowState ? showDepthFunction : path.depthFunction;
    const bool depthWrite = ShowState || path.depthWrite;
    const bool dither = ShowState || path.dither;
    constexpr bool blend = !(Src == GR_BLEND_ONE && Dst == GR_BLEND_ZERO);
    constexpr bool needAlpha = Src == GR_BLEND_SRC_ALPHA || Dst == GR_BLEND_ONE_MINUS_SRC_ALPHA;
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    __m512i channel[4];
    const __m512i* step = steps.blockStep;
    for (int c = 0; c < 4; ++c) {
        channel[c] = _mm512_add_epi32(_mm512_set1_epi32(s.rgba[c]), steps.laneStep[c]);
    }
    // The matrix row repeats every 4 lanes: lanes 0-3 of the 8-lane table, broadcast.
    const __m512i d = dither
                          ? _mm512_broadcast_i32x4(_mm_load_si128(
                                reinterpret_cast<const __m128i*>(tables.lanes32[s.y & 3][s.x & 3])))
                          : _mm512_setzero_si512();
    const __m512 depth0 = _mm512_set1_ps(s.depth0), depthStep = _mm512_set1_ps(s.depthStep);
    const __m512i zero = _mm512_setzero_si512(), max8 = _mm512_set1_epi32(255);
    const __m512i one = _mm512_set1_epi32(256);
    auto clamp8 = [&](__m512i v) AVX512 {
        return _mm512_min_epi32(_mm512_max_epi32(_mm512_srai_epi32(v, 16), zero), max8);
    };
    for (int i = 0; i < s.count; i += 16) {
        const int left = s.count - i;
        const __mmask16 inside = left >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << left) - 1);
        const bool whole = s.x + i + 16 <= s.width;
        __mmask16 pass = inside;
        __m512i w = zero;
        __m256i stored16 = _mm256_setzero_si256();
        if (DepthMode != GR_DEPTHBUFFER_DISABLE) {
            const __m512i index = _mm512_add_epi32(_mm512_set1_epi32(i), lanes);
            const __m512 f =
                _mm512_add_ps(depth0, _mm512_mul_ps(_mm512_cvtepi32_ps(index), depthStep));
            if (DepthMode == GR_DEPTHBUFFER_WBUFFER) { // as WDepth
                w = _mm512_sub_epi32(_mm512_set1_epi32(0x7F000),
                                     _mm512_srai_epi32(_mm512_castps_si512(f), 11));
                w = _mm512_min_epi32(_mm512_max_epi32(w, zero), _mm512_set1_epi32(0xFFFF));
            } else { // as ZDepth: 0 unless f > 0 (NaN too), truncated, held to 0xFFFF
                const __mmask16 positive = _mm512_cmp_ps_mask(f, _mm512_setzero_ps(), _CMP_GT_OQ);
                w = _mm512_maskz_cvttps_epi32(positive, _mm512_min_ps(f, _mm512_set1_ps(65535.0f)));
            }
            stored16 = Load16(s.depth + i, inside, whole);
            const __m512i stored = _mm512_cvtepu16_epi32(stored16);
            switch (depthFunction) {
            case GR_CMP_LESS:
                pass = _mm512_mask_cmplt_epi32_mask(inside, w, stored);
                break;
            case GR_CMP_EQUAL:
                pass = _mm512_mask_cmpeq_epi32_mask(inside, w, stored);
                break;
            case GR_CMP_LEQUAL:
                pass = _mm512_mask_cmple_epi32_mask(inside, w, stored);
                break;
            case GR_CMP_GREATER:
                pass = _mm512_mask_cmpgt_epi32_mask(inside, w, stored);
                break;
            case GR_CMP_NOTEQUAL:
                pass = _mm512_mask_cmpneq_epi32_mask(inside, w, stored);
                break;
            case GR_CMP_GEQUAL:
                pass = _mm512_mask_cmpge_epi32_mask(inside, w, stored);
                break;
            case GR_CMP_ALWAYS:
                break;
            default:
                pass = 0;
                break;
            }
        }
        if (pass) {
            if (DepthMode != GR_DEPTHBUFFER_DISABLE && depthWrite) {
                Store16(s.depth + i, pass, stored16, _mm512_cvtepi32_epi16(w), whole);
            }
            __m512i rc = clamp8(channel[0]), gc = clamp8(channel[1]), bc = clamp8(channel[2]);
            const __m256i old =
                blend || whole ? Load16(s.color + i, inside, whole) : _mm256_setzero_si256();
            if (blend) {
                const __m512i a = needAlpha ? clamp8(channel[3]) : zero;
                const __m512i p = _mm512_cvtepu16_epi32(old);
                const __m512i r5 = _mm512_srli_epi32(p, 11);
                const __m512i g6 = _mm512_and_si512(_mm512_srli_epi32(p, 5), _mm512_set1_epi32(63));
                const __m512i b5 = _mm512_and_si512(p, _mm512_set1_epi32(31));
                const __m512i dr =
                    _mm512_or_si512(_mm512_slli_epi32(r5, 3), _mm512_srli_epi32(r5, 2));
                const __m512i dg =
                    _mm512_or_si512(_mm512_slli_epi32(g6, 2), _mm512_srli_epi32(g6, 4));
                const __m512i db =
                    _mm512_or_si512(_mm512_slli_epi32(b5, 3), _mm512_srli_epi32(b5, 2));
                const __m512i fs =
                    Src == GR_BLEND_ONE ? one : _mm512_add_epi32(a, _mm512_set1_epi32(1));
                const __m512i fd = Dst == GR_BLEND_ONE    ? one
                                   : Dst == GR_BLEND_ZERO ? zero
                                                          : _mm512_sub_epi32(one, a);
                auto mix = [&](__m512i src, __m512i dst) AVX512 {
                    __m512i v = _mm512_srli_epi32(_mm512_mullo_epi32(src, fs), 8);
                    if (Dst != GR_BLEND_ZERO) {
                        v = _mm512_add_epi32(v, _mm512_srli_epi32(_mm512_mullo_epi32(dst, fd), 8));
                    }
                    return _mm512_min_epi32(v, max8);
                };
                rc = mix(rc, dr);
                gc = mix(gc, dg);
                bc = mix(bc, db);
            }
            __m512i r5, g6, b5;
            if (dither) {
                r5 = _mm512_srli_epi32(
                    _mm512_add_epi32(
                        _mm512_sub_epi32(_mm512_slli_epi32(rc, 1), _mm512_srli_epi32(rc, 4)),
                        _mm512_add_epi32(_mm512_srli_epi32(rc, 7), d)),
                    4);
                g6 = _mm512_srli_epi32(
                    _mm512_add_epi32(
                        _mm512_sub_epi32(_mm512_slli_epi32(gc, 2), _mm512_srli_epi32(gc, 4)),
                        _mm512_add_epi32(_mm512_srli_epi32(gc, 6), d)),
                    4);
                b5 = _mm512_srli_epi32(
                    _mm512_add_epi32(
                        _mm512_sub_epi32(_mm512_slli_epi32(bc, 1), _mm512_srli_epi32(bc, 4)),
                        _mm512_add_epi32(_mm512_srli_epi32(bc, 7), d)),
                    4);
            } else {
                r5 = _mm512_srli_epi32(rc, 3);
                g6 = _mm512_srli_epi32(gc, 2);
                b5 = _mm512_srli_epi32(bc, 3);
            }
            const __m512i pixel = _mm512_or_si512(
                _mm512_or_si512(_mm512_slli_epi32(r5, 11), _mm512_slli_epi32(g6, 5)), b5);
            Store16(s.color + i, pass, old, _mm512_cvtepi32_epi16(pixel), whole);
        }
        for (int c = 0; c < 4; ++c) {
            channel[c] = _mm512_add_epi32(channel[c], step[c]);
        }
    }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

AVX512 void SpanOpaqueWAvx512(const PixelPath& path, const Span& s) {
    SpanPixelsAvx512<GR_DEPTHBUFFER_WBUFFER, GR_BLEND_ONE, GR_BLEND_ZERO>(path, s, LaneSteps512(s));
}

AVX512 void SpanOpaqueZAvx512(const PixelPath& path, const Span& s) {
    SpanPixelsAvx512<GR_DEPTHBUFFER_ZBUFFER, GR_BLEND_ONE, GR_BLEND_ZERO>(path, s, LaneSteps512(s));
}

// The additive loop 32 pixels at a time; the tail is a masked load and store, so
// no pixel outside the span is read or written.
// The source terms of a flat additive polygon, the same for all its spans.
struct AdditiveTerms512 {
    __m512i addR, addG, addB;
    __m256i addR16, addG16, addB16; // the same for 16 lanes
    bool dither;
    AVX512 AdditiveTerms512(const PixelPath& path, const Span& s) : dither(path.dither) {
        int add[3];
        AdditiveTerms(path, s, add);
        addR = _mm512_set1_epi16(int16_t(add[0]));
        addG = _mm512_set1_epi16(int16_t(add[1]));
        addB = _mm512_set1_epi16(int16_t(add[2]));
        addR16 = _mm256_set1_epi16(int16_t(add[0]));
        addG16 = _mm256_set1_epi16(int16_t(add[1]));
        addB16 = _mm256_set1_epi16(int16_t(add[2]));
    }
};

AVX512 inline __attribute__((always_inline)) void AdditiveAvx512(const Span& s,
                                                                 const AdditiveTerms512& terms) {
    const __m512i addR = terms.addR, addG = terms.addG, addB = terms.addB;
    const __m512i d = _mm512_set1_epi64(int64_t(tables.pattern64[s.y & 3][s.x & 3]));
    const __m512i m5 = _mm512_set1_epi16(31), m6 = _mm512_set1_epi16(63);
    const __m512i max8 = _mm512_set1_epi16(255);
    const bool dither = terms.dither;
    auto blend32 = [&](__m512i p) AVX512 {
        __m512i r5 = _mm512_srli_epi16(p, 11);
        __m512i g6 = _mm512_and_si512(_mm512_srli_epi16(p, 5), m6);
        __m512i b5 = _mm512_and_si512(p, m5);
        __m512i r = _mm512_or_si512(_mm512_slli_epi16(r5, 3), _mm512_srli_epi16(r5, 2));
        __m512i g = _mm512_or_si512(_mm512_slli_epi16(g6, 2), _mm512_srli_epi16(g6, 4));
        __m512i b = _mm512_or_si512(_mm512_slli_epi16(b5, 3), _mm512_srli_epi16(b5, 2));
        r = _mm512_min_epi16(_mm512_add_epi16(r, addR), max8);
        g = _mm512_min_epi16(_mm512_add_epi16(g, addG), max8);
        b = _mm512_min_epi16(_mm512_add_epi16(b, addB), max8);
        if (dither) {
            r = _mm512_srli_epi16(
                _mm512_add_epi16(_mm512_sub_epi16(_mm512_slli_epi16(r, 1), _mm512_srli_epi16(r, 4)),
                                 _mm512_add_epi16(_mm512_srli_epi16(r, 7), d)),
                4);
            g = _mm512_srli_epi16(
                _mm512_add_epi16(_mm512_sub_epi16(_mm512_slli_epi16(g, 2), _mm512_srli_epi16(g, 4)),
                                 _mm512_add_epi16(_mm512_srli_epi16(g, 6), d)),
                4);
            b = _mm512_srli_epi16(
                _mm512_add_epi16(_mm512_sub_epi16(_mm512_slli_epi16(b, 1), _mm512_srli_epi16(b, 4)),
                                 _mm512_add_epi16(_mm512_srli_epi16(b, 7), d)),
                4);
        } else {
            r = _mm512_srli_epi16(r, 3);
            g = _mm512_srli_epi16(g, 2);
            b = _mm512_srli_epi16(b, 3);
        }
        return _mm512_or_si512(_mm512_or_si512(_mm512_slli_epi16(r, 11), _mm512_slli_epi16(g, 5)),
                               b);
    };
    uint16_t* out = s.color;
    if (s.count <= 16 && s.x + 16 <= s.width) {
        // A short span (most rows of a thin polygon) in one 256-bit block: half the
        // work of a 512-bit one on cores that split those in two.
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out));
        const __m256i d16 = _mm256_set1_epi64x(int64_t(tables.pattern64[s.y & 3][s.x & 3]));
        const __m256i q = AddAndPack16(p, terms.addR16, terms.addG16, terms.addB16, d16, dither);
        const __mmask16 lanes = __mmask16((1u << s.count) - 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_mask_blend_epi16(lanes, p, q));
        return;
    }
    int i = 0;
    for (; i + 32 <= s.count; i += 32) {
        _mm512_storeu_si512(out + i, blend32(_mm512_loadu_si512(out + i)));
    }
    if (i < s.count) {
        const __mmask32 lanes = __mmask32((uint64_t(1) << (s.count - i)) - 1);
        if (s.x + i + 32 <= s.width) {
            // Within the row: a whole load and store, the lanes past the span rewritten
            // unchanged. A masked load waits for earlier masked stores near it (measured:
            // a quarter of the saver's time went to that wait).
            const __m512i p = _mm512_loadu_si512(out + i);
            _mm512_storeu_si512(out + i, _mm512_mask_blend_epi16(lanes, p, blend32(p)));
        } else {
            const __m512i p = _mm512_maskz_loadu_epi16(lanes, out + i);
            _mm512_mask_storeu_epi16(out + i, lanes, blend32(p));
        }
    }
}

AVX512 void SpanAdditiveAvx512(const PixelPath& path, const Span& s) {
    AdditiveAvx512(s, AdditiveTerms512(path, s));
}

// Row walks with the two loops the show spends its time in inlined: a small polygon's
// rows then cost the loop's pixels and little else. The walk is compiled again here,
// for AVX-512, so that the loops can be inlined into it.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,avx512f,avx512bw,avx512vl"))),            \
                             apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,avx512f,avx512bw,avx512vl")
#endif
namespace fused {
// The AVX-512 copy under names of its own, so that calls with glide's types find one
// walk only.
#define WalkRows WalkRowsAvx512
#define WalkRowsFor WalkRowsForAvx512
#include "glide/rows_walk.inc"
#undef WalkRows
#undef WalkRowsFor

struct OpaqueWKernel {
    LaneSteps512 steps; // the polygon's, unless the set-up cuts a span's steps
    explicit OpaqueWKernel(const RowWalk& w) : steps(w.span) {}
    inline __attribute__((always_inline)) void Draw(const RowWalk& w, const Span& s) const {
        if (w.stepsSafe) {
            SpanPixelsAvx512<GR_DEPTHBUFFER_WBUFFER, GR_BLEND_ONE, GR_BLEND_ZERO, true>(*w.path, s,
                                                                                        steps);
        } else {
            SpanPixelsAvx512<GR_DEPTHBUFFER_WBUFFER, GR_BLEND_ONE, GR_BLEND_ZERO, true>(
                *w.path, s, LaneSteps512(s));
        }
    }
};
struct AdditiveKernel {
    AdditiveTerms512 terms; // flat: every span starts with the polygon's colour
    explicit AdditiveKernel(const RowWalk& w) : terms(*w.path, w.span) {}
    inline __attribute__((always_inline)) void Draw(const RowWalk&, const Span& s) const {
        AdditiveAvx512(s, terms);
    }
};

uint64_t OpaqueW(RowWalk& w, EdgeWalk* leftEdges, int lefts, EdgeWalk* rightEdges, int rights) {
    return WalkRowsForAvx512<OpaqueWKernel>(w, leftEdges, lefts, rightEdges, rights);
}
uint64_t Additive(RowWalk& w, EdgeWalk* leftEdges, int lefts, EdgeWalk* rightEdges, int rights) {
    return WalkRowsForAvx512<AdditiveKernel>(w, leftEdges, lefts, rightEdges, rights);
}
} // namespace fused
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif // SOLVANE_GLIDE_X86

RowWalker FusedRowWalker(const PixelPath& path, bool flat, Implementation implementation) {
#ifdef SOLVANE_GLIDE_X86
    if (implementation == Implementation::Avx512) {
        if (path.additive && flat) {
            return fused::Additive;
        }
        if (path.opaqueW && path.depthFunction == showDepthFunction && path.depthWrite &&
            path.dither) {
            return fused::OpaqueW;
        }
    }
#else
    (void)path, (void)flat, (void)implementation;
#endif
    return nullptr;
}

// The loop of each state with one: [depth mode][source ONE, SRC_ALPHA][destination
// ZERO, ONE, ONE_MINUS_SRC_ALPHA], for the portable and the AVX-512 sets.
namespace {

template <template <int, int, int> class Loop> struct BlendTable {
    SpanFunction entry[3][2][3];
    constexpr BlendTable() : entry{} {
        Fill<GR_DEPTHBUFFER_DISABLE>(0);
        Fill<GR_DEPTHBUFFER_ZBUFFER>(1);
        Fill<GR_DEPTHBUFFER_WBUFFER>(2);
    }
    template <int Depth> constexpr void Fill(int d) {
        entry[d][0][0] = Loop<Depth, GR_BLEND_ONE, GR_BLEND_ZERO>::Run;
        entry[d][0][1] = Loop<Depth, GR_BLEND_ONE, GR_BLEND_ONE>::Run;
        entry[d][0][2] = Loop<Depth, GR_BLEND_ONE, GR_BLEND_ONE_MINUS_SRC_ALPHA>::Run;
        entry[d][1][0] = Loop<Depth, GR_BLEND_SRC_ALPHA, GR_BLEND_ZERO>::Run;
        entry[d][1][1] = Loop<Depth, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE>::Run;
        entry[d][1][2] = Loop<Depth, GR_BLEND_SRC_ALPHA, GR_BLEND_ONE_MINUS_SRC_ALPHA>::Run;
    }
};

template <int Depth, int Src, int Dst> struct PortableLoop {
    static void Run(const PixelPath& path, const Span& s) {
        SpanPixelsPortable<Depth, Src, Dst>(path, s);
    }
};
const BlendTable<PortableLoop> portableLoops;

#ifdef SOLVANE_GLIDE_X86
template <int Depth, int Src, int Dst> struct Avx512Loop {
    AVX512 static void Run(const PixelPath& path, const Span& s) {
        SpanPixelsAvx512<Depth, Src, Dst>(path, s, LaneSteps512(s));
    }
};
const BlendTable<Avx512Loop> avx512Loops;
#endif

} // namespace

SpanFunction BlendSpan(const PixelPath& path, Implementation implementation) {
    const int depth = path.depthMode == GR_DEPTHBUFFER_ZBUFFER   ? 1
                      : path.depthMode == GR_DEPTHBUFFER_WBUFFER ? 2
                      : path.depthMode == GR_DEPTHBUFFER_DISABLE ? 0
                                                                 : -1;
    const int src = path.srcFactor == GR_BLEND_ONE         ? 0
                    : path.srcFactor == GR_BLEND_SRC_ALPHA ? 1
                                                           : -1;
    const int dst = path.dstFactor == GR_BLEND_ZERO                  ? 0
                    : path.dstFactor == GR_BLEND_ONE                 ? 1
                    : path.dstFactor == GR_BLEND_ONE_MINUS_SRC_ALPHA ? 2
                                                                     : -1;
    if (depth < 0 || src < 0 || dst < 0 || implementation == Implementation::Reference) {
        return nullptr;
    }
#ifdef SOLVANE_GLIDE_X86
    if (implementation == Implementation::Avx512) {
        return avx512Loops.entry[depth][src][dst];
    }
#endif
    return portableLoops.entry[depth][src][dst];
}

} // namespace glide
