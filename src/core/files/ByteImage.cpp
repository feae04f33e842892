#include "core/files/ByteImage.h"
#include "core/app/Conversions.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>

namespace rz::files {

namespace {

constexpr std::size_t kNoPosition = std::numeric_limits<std::size_t>::max();

// a + b, or kNoPosition when it does not fit, so a position never wraps to a small one.
std::size_t addPositions(std::size_t a, std::size_t b)
{
    return b > kNoPosition - a ? kNoPosition : a + b;
}

template <std::size_t N>
std::array<uint8_t, N> bigEndian(uint32_t value)
{
    std::array<uint8_t, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[N - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
    return out;
}

uint32_t decodeBigEndian(const uint8_t* p, std::size_t width)
{
    uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v = (v << 8) | p[i];
    return v;
}

std::optional<std::array<uint8_t, 4>> parseId(std::string_view hex8)
{
    if (hex8.size() != 8)
        return std::nullopt;
    std::array<uint8_t, 4> out{};
    for (std::size_t i = 0; i < 4; ++i) {
        const int hi = hexDigitValue(hex8[2 * i]);
        const int lo = hexDigitValue(hex8[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return out;
}

std::string upperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

template <std::size_t Width>
std::vector<uint8_t> encodeArray(std::span<const uint32_t> values)
{
    std::vector<uint8_t> out;
    out.reserve(values.size() * Width);
    for (uint32_t v : values) {
        const auto b = bigEndian<Width>(v);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

} // namespace

// ---- ByteWriter ----

ByteWriter::ByteWriter(std::size_t capacity) : capacity(capacity) {}

bool ByteWriter::makeRoom(std::size_t at, std::size_t count)
{
    const std::size_t end = addPositions(at, count);
    const bool fits = end <= capacity;
    if (!fits)
        overflow = true;
    // The part that fits is stored; nothing at or beyond the capacity.
    const std::size_t storedEnd = at < capacity ? std::min(end, capacity) : 0;
    if (storedEnd > image.size()) {
        if (storedEnd > image.capacity()) {
            // Geometric growth, but never beyond what the file kind may hold.
            const std::size_t grown = std::max({storedEnd, 2 * image.capacity(), std::size_t{256}});
            image.reserve(std::min(grown, capacity));
        }
        image.resize(storedEnd, 0);
        used = storedEnd;
    }
    return fits;
}

void ByteWriter::store(std::size_t at, uint8_t b)
{
    makeRoom(at, 1);
    if (at < capacity)
        image[at] = b;
}

void ByteWriter::storeBytes(std::size_t at, std::span<const uint8_t> bytes)
{
    makeRoom(at, bytes.size());
    if (at >= capacity)
        return;
    const std::size_t n = std::min(bytes.size(), capacity - at);
    std::copy_n(bytes.begin(), n, image.begin() + static_cast<std::ptrdiff_t>(at));
}

void ByteWriter::storeZeros(std::size_t at, std::size_t count)
{
    makeRoom(at, count);
    if (at >= capacity)
        return;
    const std::size_t n = std::min(count, capacity - at);
    std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(at), n, uint8_t{0});
}

void ByteWriter::append(std::span<const uint8_t> bytes)
{
    storeBytes(pos, bytes);
    pos = addPositions(pos, bytes.size());
}

void ByteWriter::putByte(uint32_t value)
{
    store(pos, static_cast<uint8_t>(value));
    pos = addPositions(pos, 1);
}

void ByteWriter::putWord(uint32_t value) { append(bigEndian<2>(value)); }
void ByteWriter::putInt24(uint32_t value) { append(bigEndian<3>(value)); }
void ByteWriter::putLong(uint32_t value) { append(bigEndian<4>(value)); }

void ByteWriter::putId(std::string_view hex8)
{
    const auto id = parseId(hex8);
    assert(id && "an identifier is 8 hexadecimal digits");
    append(id.value_or(std::array<uint8_t, 4>{}));
}

void ByteWriter::putText(std::u16string_view text, std::size_t maxLength)
{
    assert(maxLength <= kMaxTextLength);
    std::size_t n = std::min({text.size(), maxLength, kMaxTextLength});
    if (n > 0 && n < text.size() && isHighSurrogate(text[n - 1]) && isLowSurrogate(text[n]))
        --n;
    std::vector<uint8_t> field;
    field.reserve(1 + 2 * n);
    field.push_back(static_cast<uint8_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
        field.push_back(static_cast<uint8_t>(text[i] >> 8));
        field.push_back(static_cast<uint8_t>(text[i] & 0xFF));
    }
    append(field);
}

void ByteWriter::putBytes(std::span<const uint8_t> bytes) { append(bytes); }

void ByteWriter::putZeros(std::size_t count)
{
    storeZeros(pos, count);
    pos = addPositions(pos, count);
}

void ByteWriter::putWordArray(std::span<const uint32_t> values) { append(encodeArray<2>(values)); }
void ByteWriter::putInt24Array(std::span<const uint32_t> values) { append(encodeArray<3>(values)); }

void ByteWriter::putByteAt(std::size_t at, uint32_t value) { store(at, static_cast<uint8_t>(value)); }
void ByteWriter::putWordAt(std::size_t at, uint32_t value) { storeBytes(at, bigEndian<2>(value)); }
void ByteWriter::putInt24At(std::size_t at, uint32_t value) { storeBytes(at, bigEndian<3>(value)); }
void ByteWriter::putLongAt(std::size_t at, uint32_t value) { storeBytes(at, bigEndian<4>(value)); }

void ByteWriter::putWordArrayAt(std::size_t at, std::span<const uint32_t> values)
{
    storeBytes(at, encodeArray<2>(values));
}

void ByteWriter::putInt24ArrayAt(std::size_t at, std::span<const uint32_t> values)
{
    storeBytes(at, encodeArray<3>(values));
}

void ByteWriter::beginSectionedFile(std::string_view fileId, int slotCount)
{
    assert(slotCount >= 0);
    pos = 0;
    putId(fileId);
    putZeros(4 * static_cast<std::size_t>(std::max(slotCount, 0)));
}

void ByteWriter::beginSection(int slot, std::string_view sectionId)
{
    assert(slot >= 1 && "slot 0 is the file's own identifier");
    putId(kSectionMarker);
    if (slot >= 1)
        putLongAt(4 * static_cast<std::size_t>(slot), static_cast<uint32_t>(pos));
    putId(sectionId);
}

std::vector<uint8_t> ByteWriter::take()
{
    std::vector<uint8_t> out = std::move(image);
    image = {};
    used = 0;
    pos = 0;
    return out;
}

// ---- ByteReader ----

ByteReader::ByteReader(std::span<const uint8_t> image) : image(image) {}

bool ByteReader::available(std::size_t at, std::size_t n)
{
    if (fail)
        return false;
    if (at > image.size() || n > image.size() - at) {
        fail = true;
        return false;
    }
    return true;
}

bool ByteReader::take(std::size_t n) { return available(pos, n); }

template <typename T>
std::vector<T> ByteReader::zerosAfterFailure(std::size_t count, std::size_t width) const
{
    if (count > image.size() / width)
        return {};
    return std::vector<T>(count, T{0});
}

uint8_t ByteReader::getByte()
{
    if (!take(1))
        return 0;
    return image[pos++];
}

uint32_t ByteReader::getWord()
{
    const uint32_t v = getWordAt(pos);
    if (ok())
        pos += 2;
    return v;
}

uint32_t ByteReader::getInt24()
{
    const uint32_t v = getInt24At(pos);
    if (ok())
        pos += 3;
    return v;
}

uint32_t ByteReader::getLong()
{
    const uint32_t v = getLongAt(pos);
    if (ok())
        pos += 4;
    return v;
}

int16_t ByteReader::getSignedWord() { return static_cast<int16_t>(static_cast<uint16_t>(getWord())); }

std::string ByteReader::getId()
{
    if (!take(4))
        return {};
    std::string out = hexText(image.subspan(pos, 4));
    pos += 4;
    return out;
}

std::u16string ByteReader::getText()
{
    if (!take(1))
        return {};
    const std::size_t n = image[pos];
    if (!available(pos + 1, 2 * n))
        return {};
    std::u16string out(n, u'\0');
    const uint8_t* p = image.data() + pos + 1;
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<char16_t>((p[2 * i] << 8) | p[2 * i + 1]);
    pos += 1 + 2 * n;
    return out;
}

std::vector<uint8_t> ByteReader::getBytes(std::size_t count)
{
    if (!take(count))
        return zerosAfterFailure<uint8_t>(count, 1);
    std::vector<uint8_t> out(image.begin() + static_cast<std::ptrdiff_t>(pos),
                             image.begin() + static_cast<std::ptrdiff_t>(pos + count));
    pos += count;
    return out;
}

std::vector<uint32_t> ByteReader::getArray(std::size_t count, std::size_t width)
{
    if (fail || count > remaining() / width) {
        fail = true;
        return zerosAfterFailure<uint32_t>(count, width);
    }
    std::vector<uint32_t> out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = decodeBigEndian(image.data() + pos + width * i, width);
    pos += width * count;
    return out;
}

std::vector<uint32_t> ByteReader::getWordArray(std::size_t count) { return getArray(count, 2); }
std::vector<uint32_t> ByteReader::getInt24Array(std::size_t count) { return getArray(count, 3); }

uint8_t ByteReader::getByteAt(std::size_t at) { return available(at, 1) ? image[at] : 0; }

uint32_t ByteReader::getWordAt(std::size_t at)
{
    return available(at, 2) ? decodeBigEndian(image.data() + at, 2) : 0;
}

uint32_t ByteReader::getInt24At(std::size_t at)
{
    return available(at, 3) ? decodeBigEndian(image.data() + at, 3) : 0;
}

uint32_t ByteReader::getLongAt(std::size_t at)
{
    return available(at, 4) ? decodeBigEndian(image.data() + at, 4) : 0;
}

void ByteReader::setCursor(std::size_t p)
{
    if (p > image.size())
        fail = true;
    else
        pos = p;
}

bool ByteReader::openSection(int slot, std::string_view sectionId)
{
    if (slot < 0) {
        fail = true;
        return false;
    }
    const uint32_t at = getLongAt(4 * static_cast<std::size_t>(slot));
    if (failed())
        return false;
    setCursor(at);
    const std::string found = getId();
    return ok() && found == upperCase(sectionId);
}

} // namespace rz::files
