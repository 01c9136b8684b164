// Bytes: numbers in a stated byte order read from a bounded buffer and written to
// a growing one. Every file format of the system goes through here, from the
// board's recordings at the bottom to the archive and the objects above.
// Header-only and free of the rest of the board, so that every layer may use it
// without linking the board.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

enum class ByteOrder : uint8_t { Little, Big };

// The order of the machine running the program.
inline ByteOrder HostByteOrder() {
    const uint16_t one = 1;
    uint8_t first;
    std::memcpy(&first, &one, 1);
    return first == 1 ? ByteOrder::Little : ByteOrder::Big;
}

namespace bytes_detail {

template <size_t Size> struct UnsignedOf;
template <> struct UnsignedOf<1> { using Type = uint8_t; };
template <> struct UnsignedOf<2> { using Type = uint16_t; };
template <> struct UnsignedOf<4> { using Type = uint32_t; };
template <> struct UnsignedOf<8> { using Type = uint64_t; };

} // namespace bytes_detail

// The sizeof(T) bytes at p as a T (an integer, float or double) stored in order.
// p must hold them: parsers read through ByteReader, which checks.
template <typename T> T LoadBytes(const uint8_t* p, ByteOrder order) {
    static_assert(std::is_arithmetic<T>::value, "numbers only");
    using Unsigned = typename bytes_detail::UnsignedOf<sizeof(T)>::Type;
    Unsigned bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        const size_t shift = 8 * (order == ByteOrder::Little ? i : sizeof(T) - 1 - i);
        bits = static_cast<Unsigned>(bits | static_cast<Unsigned>(p[i]) << shift);
    }
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Stores value's sizeof(T) bytes at p in order. p must have room for them.
template <typename T> void StoreBytes(uint8_t* p, T value, ByteOrder order) {
    static_assert(std::is_arithmetic<T>::value, "numbers only");
    using Unsigned = typename bytes_detail::UnsignedOf<sizeof(T)>::Type;
    Unsigned bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (size_t i = 0; i < sizeof(T); ++i) {
        const size_t shift = 8 * (order == ByteOrder::Little ? i : sizeof(T) - 1 - i);
        p[i] = static_cast<uint8_t>(bits >> shift);
    }
}

// Reads numbers from size bytes at data, which it does not own. A read that needs
// more bytes than are left fails, stores nothing and leaves the position alone.
class ByteReader {
public:
    ByteReader(const void* data, size_t size, ByteOrder order)
        : data(static_cast<const uint8_t*>(data)), size(size), order(order) {}

    bool U8(uint8_t* out) { return Read(out); }
    bool U16(uint16_t* out) { return Read(out); }
    bool I16(int16_t* out) { return Read(out); }
    bool U32(uint32_t* out) { return Read(out); }
    bool I32(int32_t* out) { return Read(out); }
    bool U64(uint64_t* out) { return Read(out); }
    bool F32(float* out) { return Read(out); }
    bool F64(double* out) { return Read(out); }
    // count bytes as they are.
    bool Bytes(void* out, size_t count) {
        if (!Has(count))
            return false;
        std::memcpy(out, data + position, count);
        position += count;
        return true;
    }
    // A reader of the next count bytes, in the same order; this one moves past them.
    bool Part(size_t count, ByteReader* part) {
        if (!Has(count))
            return false;
        *part = ByteReader(data + position, count, order);
        position += count;
        return true;
    }
    bool Skip(size_t count) {
        if (!Has(count))
            return false;
        position += count;
        return true;
    }
    // Moves to an absolute position; false past the end.
    bool Seek(size_t to) {
        if (to > size)
            return false;
        position = to;
        return true;
    }
    bool Has(size_t count) const { return size - position >= count; }
    size_t Position() const { return position; }
    size_t Remaining() const { return size - position; }
    // The unread bytes; Remaining() of them.
    const uint8_t* Here() const { return data + position; }

private:
    template <typename T> bool Read(T* out) {
        if (!Has(sizeof(T)))
            return false;
        *out = LoadBytes<T>(data + position, order);
        position += sizeof(T);
        return true;
    }

    const uint8_t* data;
    size_t size;
    size_t position = 0;
    ByteOrder order;
};

// Writes numbers into a byte vector it does not own, from the vector's end or from
// a position sought within it: bytes written before the end replace what stands
// there, bytes past it extend the vector. While in use it must be the vector's
// only writer, as it keeps its own position.
class ByteWriter {
public:
    ByteWriter(std::vector<uint8_t>& out, ByteOrder order)
        : out(out), position(out.size()), order(order) {}

    void U8(uint8_t value) { Write(value); }
    void U16(uint16_t value) { Write(value); }
    void I16(int16_t value) { Write(value); }
    void U32(uint32_t value) { Write(value); }
    void I32(int32_t value) { Write(value); }
    void U64(uint64_t value) { Write(value); }
    void F32(float value) { Write(value); }
    void F64(double value) { Write(value); }
    void Bytes(const void* data, size_t count) {
        Room(count);
        if (count > 0)
            std::memcpy(out.data() + position, data, count);
        position += count;
    }
    // Moves to an absolute position within what is written; false past the end.
    bool Seek(size_t to) {
        if (to > out.size())
            return false;
        position = to;
        return true;
    }
    size_t Position() const { return position; }

private:
    void Room(size_t count) {
        if (out.size() - position < count)
            out.resize(position + count);
    }
    template <typename T> void Write(T value) {
        Room(sizeof(T));
        StoreBytes(out.data() + position, value, order);
        position += sizeof(T);
    }

    std::vector<uint8_t>& out;
    size_t position;
    ByteOrder order;
};
