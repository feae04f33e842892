#pragma once
// Field encodings of every binary parameter file: big-endian numbers, identifiers written
// from 8 hexadecimal digits, length-prefixed UTF-16BE texts, sectioned files with an offset
// table. A file is built in memory by a ByteWriter and saved in one piece; it is read whole
// and decoded by a ByteReader, which is bounds-checked: a read outside the image puts the
// reader in a failed state and returns zeros, it never reads outside its buffer.
//
// Arrays: the files number elements 1..m; here they are spans of m values, element 1 first.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::files {

inline constexpr std::string_view kSectionMarker = "EEEEEEEE";

class ByteWriter {
public:
    // `capacity` is the largest image the file kind may produce; writing past it sets
    // overflowed() and the bytes beyond are not stored.
    explicit ByteWriter(std::size_t capacity);

    void putByte(uint32_t value);   // low 8 bits
    void putWord(uint32_t value);   // low 16 bits
    void putInt24(uint32_t value);  // low 24 bits
    void putLong(uint32_t value);
    // 8 hexadecimal digits, digit pairs in order ("F1040401" -> F1 04 04 01).
    void putId(std::string_view hex8);
    // Length byte n (after truncation to maxLength), then n UTF-16 code units high byte first.
    void putText(std::u16string_view text, std::size_t maxLength);
    void putBytes(std::span<const uint8_t> bytes);
    void putZeros(std::size_t count);

    // At a given position; the cursor does not move.
    void putByteAt(std::size_t pos, uint32_t value);
    void putWordAt(std::size_t pos, uint32_t value);
    void putInt24At(std::size_t pos, uint32_t value);
    void putLongAt(std::size_t pos, uint32_t value);
    void putWordArrayAt(std::size_t pos, std::span<const uint32_t> values);
    void putInt24ArrayAt(std::size_t pos, std::span<const uint32_t> values);

    // Sectioned files: writes "00000000" into slots 1..slotCount after the identifier at 0.
    void beginSectionedFile(std::string_view fileId, int slotCount);
    // The marker, the position after it stored as a long into slot k, then the identifier.
    void beginSection(int slot, std::string_view sectionId);

    std::size_t cursor() const { return pos; }
    void setCursor(std::size_t p) { pos = p; }
    bool overflowed() const { return overflow; }
    // Bytes 0 .. highest position written.
    std::span<const uint8_t> bytes() const { return {image.data(), used}; }
    std::vector<uint8_t> take();

private:
    void store(std::size_t at, uint8_t b);

    std::vector<uint8_t> image;
    std::size_t capacity;
    std::size_t used = 0;
    std::size_t pos = 0;
    bool overflow = false;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> image);

    uint8_t getByte();
    uint32_t getWord();
    uint32_t getInt24();
    uint32_t getLong();
    int16_t getSignedWord(); // two's complement, for the fields held as signed 16-bit
    std::string getId();     // 8 upper-case hexadecimal digits
    std::u16string getText();
    std::vector<uint8_t> getBytes(std::size_t count);
    std::vector<uint32_t> getWordArray(std::size_t count);
    std::vector<uint32_t> getInt24Array(std::size_t count);

    uint8_t getByteAt(std::size_t pos);
    uint32_t getWordAt(std::size_t pos);
    uint32_t getInt24At(std::size_t pos);
    uint32_t getLongAt(std::size_t pos);

    // Reads slot k as a long, moves the cursor there, reads an identifier and compares.
    bool openSection(int slot, std::string_view sectionId);

    std::size_t cursor() const { return pos; }
    // Moving outside the image fails the reader.
    void setCursor(std::size_t p);
    std::size_t size() const { return image.size(); }
    std::size_t remaining() const { return pos <= image.size() ? image.size() - pos : 0; }
    bool failed() const { return fail; }
    bool ok() const { return !fail; }

private:
    bool take(std::size_t n); // true when n bytes are available at the cursor

    std::span<const uint8_t> image;
    std::size_t pos = 0;
    bool fail = false;
};

// Replaces the file's content atomically (written beside it, then renamed over it); folders
// are created when missing. False when the file could not be written.
bool saveImage(const std::filesystem::path& path, std::span<const uint8_t> bytes);
// The whole file; empty optional when it is missing, unreadable or empty.
std::optional<std::vector<uint8_t>> loadImage(const std::filesystem::path& path);
// True when the file's length can be read.
bool fileExists(const std::filesystem::path& path);

} // namespace rz::files
