#pragma once
// What the JSON readers and writers of the tables share: tables numbered from 1 as JSON
// arrays, byte fields listed once for both directions, and the duplicate check of numbered
// lists.
#include "ctl/JsonInput.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace rz::ctl::detail {

using nlohmann::json;

inline constexpr long long kWordMin = std::numeric_limits<int16_t>::min();
inline constexpr long long kWordMax = std::numeric_limits<int16_t>::max();
inline constexpr std::size_t kTextLength = 20;

// Elements 1..n of a table numbered from 1.
template <typename T, std::size_t N>
json oneBased(const std::array<T, N>& a, int n)
{
    json out = json::array();
    for (int i = 1; i <= n; ++i)
        out.push_back(a[static_cast<std::size_t>(i)]);
    return out;
}

template <typename T, std::size_t N>
void oneBasedFrom(const JsonInput& in, std::array<T, N>& a, int n, long long lo, long long hi)
{
    const std::size_t size = in.arraySize(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < size; ++i)
        a[i + 1] = static_cast<T>(in.element(i).number(lo, hi));
}

template <typename Owner>
struct ByteField {
    const char* name;
    uint8_t Owner::*field;
    long long max;
};

template <typename Owner, std::size_t N>
void putBytes(json& out, const Owner& o, const std::array<ByteField<Owner>, N>& fields)
{
    for (const auto& f : fields)
        out[f.name] = o.*(f.field);
}

template <typename Owner, std::size_t N>
void takeBytes(const JsonInput& in, Owner& o, const std::array<ByteField<Owner>, N>& fields)
{
    for (const auto& f : fields)
        o.*(f.field) = static_cast<uint8_t>(in.number(f.name, 0, f.max));
}

inline void checkUnique(const JsonInput& at, std::vector<bool>& seen, std::size_t n, const char* what)
{
    if (seen[n])
        at.refuse(std::string(what) + " " + std::to_string(n) + " is listed twice");
    seen[n] = true;
}


} // namespace rz::ctl::detail
