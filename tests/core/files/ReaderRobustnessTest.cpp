// A reader fed a truncated or garbled image must fail cleanly: never read outside the image,
// fail at exactly the first field that does not fit, and give zeros from then on.
#include "core/files/ByteImage.h"

#include "core/app/HexText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace rz::files;

namespace {

enum class Kind { Byte, Word, SignedWord, Int24, Long, Id, Text, Bytes, WordArray, Int24Array, Section, ByteAt, WordAt, Int24At, LongAt };

// One field of the image, or (the *At kinds) a read-only look back at an earlier field.
struct Field {
    Kind kind = Kind::Byte;
    uint32_t value = 0;
    std::string id;
    std::u16string text;
    std::size_t maxLength = 0;
    std::vector<uint32_t> list; // block bytes or array elements
    int slot = 0;
    std::size_t at = 0;         // start of the field looked at
};

struct Value {
    uint64_t number = 0;
    std::string id;
    std::u16string text;
    std::vector<uint32_t> list;
    bool operator==(const Value&) const = default;
    bool isZero() const
    {
        return number == 0 && id.empty() && text.empty() &&
               std::all_of(list.begin(), list.end(), [](uint32_t v) { return v == 0; });
    }
};

constexpr int kSlots = 6;
constexpr const char* kFileId = "F10410A1";

std::string randomId(std::mt19937& rng)
{
    std::string id;
    for (int i = 0; i < 8; ++i)
        id += rz::hexDigit(rng() % 16);
    return id;
}

std::u16string randomText(std::mt19937& rng, std::size_t length)
{
    std::u16string t;
    for (std::size_t i = 0; i < length; ++i)
        t += static_cast<char16_t>(rng() % 2 ? 0x4E00 + rng() % 0x5000 : 0x20 + rng() % 0x60);
    return t;
}

// A sectioned file: the sections in a random slot order, each with a random run of fields.
// Returns the plan (the section starts included) and writes the image.
std::vector<Field> buildPlan(std::mt19937& rng, std::vector<uint8_t>& image)
{
    std::vector<Field> plan;
    ByteWriter w(1 << 20);
    w.beginSectionedFile(kFileId, kSlots);
    std::vector<int> slots{1, 2, 3, 4, 5, 6};
    std::shuffle(slots.begin(), slots.end(), rng);
    for (int slot : slots) {
        Field section;
        section.kind = Kind::Section;
        section.slot = slot;
        section.id = randomId(rng);
        w.beginSection(slot, section.id);
        plan.push_back(section);
        for (int i = 0; i < 30; ++i) {
            Field f;
            f.kind = static_cast<Kind>(rng() % 10);
            const std::size_t start = w.cursor();
            f.value = static_cast<uint32_t>(rng());
            switch (f.kind) {
            case Kind::Byte: w.putByte(f.value); break;
            case Kind::Word:
            case Kind::SignedWord: w.putWord(f.value); break;
            case Kind::Int24: w.putInt24(f.value); break;
            case Kind::Long: w.putLong(f.value); break;
            case Kind::Id: f.id = randomId(rng); w.putId(f.id); break;
            case Kind::Text:
                f.maxLength = rng() % 8 == 0 ? 250 : 1 + rng() % 40;
                f.text = randomText(rng, rng() % 16 == 0 ? 300 : rng() % 45);
                w.putText(f.text, f.maxLength);
                break;
            case Kind::Bytes:
                f.list.resize(rng() % 40);
                for (auto& b : f.list)
                    b = rng() % 256;
                w.putBytes(std::vector<uint8_t>(f.list.begin(), f.list.end()));
                break;
            case Kind::WordArray:
            case Kind::Int24Array:
                f.list.resize(rng() % 20);
                for (auto& v : f.list)
                    v = static_cast<uint32_t>(rng());
                f.kind == Kind::WordArray ? w.putWordArray(f.list) : w.putInt24Array(f.list);
                break;
            default: break;
            }
            plan.push_back(f);
            // Now and then look back at the field just written by position.
            const Kind lookBack = f.kind == Kind::Byte    ? Kind::ByteAt
                                  : f.kind == Kind::Word  ? Kind::WordAt
                                  : f.kind == Kind::Int24 ? Kind::Int24At
                                  : f.kind == Kind::Long  ? Kind::LongAt
                                                          : Kind::Section;
            if (lookBack != Kind::Section && rng() % 3 == 0) {
                Field again = f;
                again.kind = lookBack;
                again.at = start;
                plan.push_back(again);
            }
        }
    }
    EXPECT_FALSE(w.overflowed());
    image = w.take();
    return plan;
}

Value read(ByteReader& r, const Field& f)
{
    Value v;
    switch (f.kind) {
    case Kind::Byte: v.number = r.getByte(); break;
    case Kind::Word: v.number = r.getWord(); break;
    case Kind::SignedWord: v.number = static_cast<uint16_t>(r.getSignedWord()); break;
    case Kind::Int24: v.number = r.getInt24(); break;
    case Kind::Long: v.number = r.getLong(); break;
    case Kind::Id: v.id = r.getId(); break;
    case Kind::Text: v.text = r.getText(); break;
    case Kind::Bytes: {
        const auto b = r.getBytes(f.list.size());
        v.list.assign(b.begin(), b.end());
        break;
    }
    case Kind::WordArray: v.list = r.getWordArray(f.list.size()); break;
    case Kind::Int24Array: v.list = r.getInt24Array(f.list.size()); break;
    case Kind::Section: v.number = r.openSection(f.slot, f.id); break;
    case Kind::ByteAt: v.number = r.getByteAt(f.at); break;
    case Kind::WordAt: v.number = r.getWordAt(f.at); break;
    case Kind::Int24At: v.number = r.getInt24At(f.at); break;
    case Kind::LongAt: v.number = r.getLongAt(f.at); break;
    }
    return v;
}

// What reading the intact image gives.
Value expected(const Field& f)
{
    Value v;
    switch (f.kind) {
    case Kind::Byte:
    case Kind::ByteAt: v.number = f.value & 0xFF; break;
    case Kind::Word:
    case Kind::SignedWord:
    case Kind::WordAt: v.number = f.value & 0xFFFF; break;
    case Kind::Int24:
    case Kind::Int24At: v.number = f.value & 0xFFFFFF; break;
    case Kind::Long:
    case Kind::LongAt: v.number = f.value; break;
    case Kind::Id: v.id = f.id; break;
    case Kind::Text: v.text = f.text.substr(0, f.maxLength); break;
    case Kind::Bytes: v.list = f.list; break;
    case Kind::WordArray:
        for (uint32_t e : f.list)
            v.list.push_back(e & 0xFFFF);
        break;
    case Kind::Int24Array:
        for (uint32_t e : f.list)
            v.list.push_back(e & 0xFFFFFF);
        break;
    case Kind::Section: v.number = 1; break;
    }
    return v;
}

// Where the reader must be after each field when reading `image`, found from the image's own
// length bytes and section table; stops at the first field that does not fit.
std::vector<std::size_t> cursorsUntilFailure(const std::vector<uint8_t>& image, const std::vector<Field>& plan)
{
    std::vector<std::size_t> cursors;
    std::size_t pos = 0;
    const std::size_t size = image.size();
    const auto fits = [&](std::size_t at, std::size_t n) { return at <= size && n <= size - at; };
    for (const Field& f : plan) {
        std::size_t width = 0;
        switch (f.kind) {
        case Kind::Byte: width = 1; break;
        case Kind::Word:
        case Kind::SignedWord: width = 2; break;
        case Kind::Int24: width = 3; break;
        case Kind::Long:
        case Kind::Id: width = 4; break;
        case Kind::Text:
            if (!fits(pos, 1))
                return cursors;
            width = 1 + 2 * std::size_t{image[pos]};
            break;
        case Kind::Bytes: width = f.list.size(); break;
        case Kind::WordArray: width = 2 * f.list.size(); break;
        case Kind::Int24Array: width = 3 * f.list.size(); break;
        case Kind::Section: {
            const std::size_t slotAt = 4 * static_cast<std::size_t>(f.slot);
            if (!fits(slotAt, 4))
                return cursors;
            pos = (std::size_t{image[slotAt]} << 24) | (image[slotAt + 1] << 16) |
                  (image[slotAt + 2] << 8) | image[slotAt + 3];
            width = 4;
            break;
        }
        case Kind::ByteAt:
        case Kind::WordAt:
        case Kind::Int24At:
        case Kind::LongAt: {
            const std::size_t w = f.kind == Kind::ByteAt ? 1 : f.kind == Kind::WordAt ? 2 : f.kind == Kind::Int24At ? 3 : 4;
            if (!fits(f.at, w))
                return cursors;
            cursors.push_back(pos);
            continue;
        }
        }
        if (!fits(pos, width))
            return cursors;
        pos += width;
        cursors.push_back(pos);
    }
    return cursors;
}

// Reads the whole plan from `image`; the reader must fail exactly at the first field that does
// not fit and give zeros from then on. For a truncated image every field read before that
// must give its written value.
void checkReads(const std::vector<uint8_t>& image, const std::vector<Field>& plan, bool truncatedOnly)
{
    const auto cursors = cursorsUntilFailure(image, plan);
    ByteReader r(image);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const Value v = read(r, plan[i]);
        if (i < cursors.size()) {
            ASSERT_TRUE(r.ok()) << "field " << i;
            ASSERT_EQ(r.cursor(), cursors[i]) << "field " << i;
            if (truncatedOnly) {
                ASSERT_EQ(v, expected(plan[i])) << "field " << i;
            }
        } else {
            ASSERT_TRUE(r.failed()) << "field " << i;
            ASSERT_TRUE(v.isZero()) << "field " << i;
        }
    }
}

} // namespace

TEST(ReaderRobustness, IntactImageReadsBackEveryField)
{
    std::mt19937 rng(20261210);
    std::vector<uint8_t> image;
    const auto plan = buildPlan(rng, image);
    const auto cursors = cursorsUntilFailure(image, plan);
    ASSERT_EQ(cursors.size(), plan.size());
    checkReads(image, plan, true);
}

TEST(ReaderRobustness, EveryTruncationFailsAtTheFirstFieldCut)
{
    std::mt19937 rng(1760);
    std::vector<uint8_t> image;
    const auto plan = buildPlan(rng, image);
    for (std::size_t length = 0; length <= image.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length << " of " << image.size());
        // A copy of exactly `length` bytes, so the sanitizer sees any read beyond it.
        const std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(length));
        checkReads(cut, plan, true);
        if (HasFatalFailure())
            return;
    }
}

TEST(ReaderRobustness, GarbledImagesFailCleanly)
{
    std::mt19937 rng(512);
    std::vector<uint8_t> image;
    const auto plan = buildPlan(rng, image);
    for (int copy = 0; copy < 3000; ++copy) {
        SCOPED_TRACE(testing::Message() << "copy " << copy);
        std::vector<uint8_t> garbled = image;
        const int changes = 1 + static_cast<int>(rng() % 6);
        for (int c = 0; c < changes; ++c) {
            // The section table is small but decides where everything is read: hit it often.
            const std::size_t at = rng() % 4 == 0 ? 4 + rng() % (4 * kSlots) : rng() % garbled.size();
            garbled[at] = static_cast<uint8_t>(rng());
        }
        if (rng() % 2 == 0)
            garbled.resize(rng() % garbled.size());
        checkReads(garbled, plan, false);
        if (HasFatalFailure())
            return;
    }
}
