#pragma once
// Field encodings of every binary parameter file: big-endian numbers, identifiers written
// from 8 hexadecimal digits, length-prefixed UTF-16BE texts, sectioned files with an offset
// table. A file is built in memory by a ByteWriter and saved in one piece; it is read whole
// and decoded by a ByteReader, which is bounds-checked: a read outside the image puts the
// reader in a failed state and returns zeros, it never reads outside its buffer.
//
// Arrays: the files number elements 1..m; here they are spans of m values, element 1 first.
#include "core/files/MarkerSequence.h"

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
// The longest text any file kind stores; the length byte could hold more, no reader expects it.
inline constexpr std::size_t kMaxTextLength = 250;

class ByteWriter {
public:
    // `capacity` is the largest image the file kind may produce; writing past it sets
    // overflowed() and the bytes beyond are not stored. Memory grows with the content, so a
    // large capacity costs nothing for a small file.
    explicit ByteWriter(std::size_t capacity);

    void putByte(uint32_t value);   // low 8 bits
    void putWord(uint32_t value);   // low 16 bits
    void putInt24(uint32_t value);  // low 24 bits
    void putLong(uint32_t value);
    // 8 hexadecimal digits, digit pairs in order ("F1040401" -> F1 04 04 01); either case.
    // Anything else is a programming error: four zero bytes are written (asserts in debug).
    void putId(std::string_view hex8);
    // Length byte n (after truncation to maxLength), then n UTF-16 code units high byte first.
    // maxLength is at most kMaxTextLength. A cut that would split a surrogate pair drops its
    // first half too, so a stored text never ends in half a character.
    void putText(std::u16string_view text, std::size_t maxLength);
    void putBytes(std::span<const uint8_t> bytes);
    void putZeros(std::size_t count);
    void putWordArray(std::span<const uint32_t> values);
    void putInt24Array(std::span<const uint32_t> values);

    // At a given position; the cursor does not move.
    void putByteAt(std::size_t pos, uint32_t value);
    void putWordAt(std::size_t pos, uint32_t value);
    void putInt24At(std::size_t pos, uint32_t value);
    void putLongAt(std::size_t pos, uint32_t value);
    void putWordArrayAt(std::size_t pos, std::span<const uint32_t> values);
    void putInt24ArrayAt(std::size_t pos, std::span<const uint32_t> values);

    // Sectioned files: writes "00000000" into slots 1..slotCount after the identifier at 0.
    // The cursor is left after the table.
    void beginSectionedFile(std::string_view fileId, int slotCount);
    // The marker, the position after it stored as a long into slot k (k >= 1), then the
    // identifier.
    void beginSection(int slot, std::string_view sectionId);

    std::size_t cursor() const { return pos; }
    // Positions skipped over read as zeros.
    void setCursor(std::size_t p) { pos = p; }
    bool overflowed() const { return overflow; }
    // Bytes 0 .. highest position written.
    std::span<const uint8_t> bytes() const { return {image.data(), used}; }
    // Moves the bytes out; the writer is left empty with its cursor at 0 (overflowed() stays).
    std::vector<uint8_t> take();

private:
    void store(std::size_t at, uint8_t b);
    void storeBytes(std::size_t at, std::span<const uint8_t> bytes);
    void storeZeros(std::size_t at, std::size_t count);
    bool makeRoom(std::size_t at, std::size_t count); // false when it passes the capacity
    void append(std::span<const uint8_t> bytes);

    std::vector<uint8_t> image;
    std::size_t capacity;
    std::size_t used = 0;
    std::size_t pos = 0;
    bool overflow = false;
};

// Once failed, a reader stays failed and every further read returns zeros: numbers are 0,
// getId() and getText() are empty, and a block or array read gives `count` zeros (empty when
// `count` elements could not fit in the whole image, so a garbled count never allocates more
// than the file's size). The cursor does not move on a failed read.
//
// The reader is a view: the image must outlive it. Make one reader per independent part of a
// file when a failure in one part must not hide the others.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> image);

    uint8_t getByte();
    uint32_t getWord();
    uint32_t getInt24();
    uint32_t getLong();
    int16_t getSignedWord(); // two's complement, for the fields held as signed 16-bit
    std::string getId();     // 8 upper-case hexadecimal digits
    // Fails when the declared length passes the end of the image.
    std::u16string getText();
    std::vector<uint8_t> getBytes(std::size_t count);
    std::vector<uint32_t> getWordArray(std::size_t count);
    std::vector<uint32_t> getInt24Array(std::size_t count);

    uint8_t getByteAt(std::size_t pos);
    uint32_t getWordAt(std::size_t pos);
    uint32_t getInt24At(std::size_t pos);
    uint32_t getLongAt(std::size_t pos);

    // Reads slot k as a long, moves the cursor there, reads an identifier and compares
    // (either case). A slot or stored position outside the image fails the reader; a
    // different identifier only returns false.
    bool openSection(int slot, std::string_view sectionId);

    std::size_t cursor() const { return pos; }
    // Moving outside the image fails the reader; the end itself is inside.
    void setCursor(std::size_t p);
    std::size_t size() const { return image.size(); }
    std::size_t remaining() const { return pos <= image.size() ? image.size() - pos : 0; }
    bool failed() const { return fail; }
    bool ok() const { return !fail; }

private:
    bool take(std::size_t n); // true when n bytes are available at the cursor
    bool available(std::size_t at, std::size_t n); // fails the reader when they are not
    template <typename T>
    std::vector<T> zerosAfterFailure(std::size_t count, std::size_t width) const;
    std::vector<uint32_t> getArray(std::size_t count, std::size_t width);

    std::span<const uint8_t> image;
    std::size_t pos = 0;
    bool fail = false;
};

// Replaces the file's content atomically and durably (replaceFileDurably); folders are
// created when missing. False when the file could not be written; the old file is then left
// as it was.
bool saveImage(const std::filesystem::path& path, std::span<const uint8_t> bytes);
// A file larger than this is not a parameter file of ours; loading it would only waste memory.
inline constexpr std::size_t kDefaultLoadLimit = 64u * 1024 * 1024;
// The whole file; empty optional when it is missing, unreadable, empty or larger than maxSize.
std::optional<std::vector<uint8_t>> loadImage(const std::filesystem::path& path);
std::optional<std::vector<uint8_t>> loadImage(const std::filesystem::path& path, std::size_t maxSize);
// True when the file's length can be read.
bool fileExists(const std::filesystem::path& path);

} // namespace rz::files
