#pragma once
// Reading values out of a JSON document with their path kept, so that every refusal names
// the value it is about ("$.fixtures[2].startAddress"). A missing member reads as 0 or empty:
// hand-written files need only say what differs from an empty show.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace rz::ctl {

// A value the show cannot hold; what() is the message for the user.
class JsonRefusal : public std::runtime_error {
public:
    JsonRefusal(const std::string& path, const std::string& why)
        : std::runtime_error(path + ": " + why), jsonPath(path)
    {
    }
    std::string jsonPath;
};

class JsonInput {
public:
    JsonInput(const nlohmann::json& value, std::string path) : v(&value), p(std::move(path)) {}

    const std::string& path() const { return p; }
    const nlohmann::json& value() const { return *v; }
    bool has(const char* key) const { return v->is_object() && v->contains(key); }

    // A member; a missing one reads as null.
    JsonInput member(const char* key) const;
    // Element i of an array.
    JsonInput element(std::size_t i) const;
    // The array's size; a missing member (null) is an empty array. At most maxSize elements.
    std::size_t arraySize(std::size_t maxSize) const;

    // A whole number in lo..hi; null reads as 0 (which must then lie in the range).
    long long number(long long lo, long long hi) const;
    long long number(const char* key, long long lo, long long hi) const { return member(key).number(lo, hi); }
    // A text of at most maxLength UTF-16 code units; null reads as "".
    std::u16string text(std::size_t maxLength) const;
    std::u16string text(const char* key, std::size_t maxLength) const { return member(key).text(maxLength); }

    [[noreturn]] void refuse(const std::string& why) const { throw JsonRefusal(p, why); }

private:
    const nlohmann::json* v;
    std::string p;
};

} // namespace rz::ctl
