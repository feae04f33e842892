#include "ctl/ShowDiff.h"

#include <algorithm>
#include <array>
#include <map>

namespace rz::ctl {

namespace {

using nlohmann::json;

constexpr std::size_t kValuesListedOneByOne = 3; // more differing values of one array: one entry
constexpr std::size_t kPositionsNamed = 8;
constexpr std::size_t kStepsListed = 20;
constexpr std::size_t kShortText = 60;
const std::string kArrow = " \u2192 ";

// The members that number the entries of a list, most specific first.
const std::array<std::vector<const char*>, 3> kKeySets{{{"module", "slot"}, {"mode", "bar", "beat"}, {"number"}}};

std::string shown(const json& v)
{
    return v.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool isScalar(const json& v)
{
    return !v.is_structured();
}

bool isMaterial(const json& v)
{
    return v.is_object() && v.contains("steps") && v.contains("stepCount") && v["steps"].is_array();
}

// "\"Spot 1\", 8 steps" for an added or removed entry.
std::string summary(const json& v)
{
    if (v.is_object()) {
        std::vector<std::string> parts;
        if (const auto it = v.find("name"); it != v.end() && it->is_string() && !it->get_ref<const std::string&>().empty())
            parts.push_back(shown(*it));
        if (const auto it = v.find("note"); it != v.end() && it->is_string() && !it->get_ref<const std::string&>().empty())
            parts.push_back("note " + shown(*it));
        if (const auto it = v.find("steps"); it != v.end() && it->is_array())
            parts.push_back(std::to_string(it->size()) + " steps");
        if (const auto it = v.find("materials"); it != v.end() && it->is_array() && !it->empty())
            parts.push_back(std::to_string(it->size()) + " materials");
        if (!parts.empty()) {
            std::string text = parts[0];
            for (std::size_t i = 1; i < parts.size(); ++i)
                text += ", " + parts[i];
            return text;
        }
    }
    const std::string text = shown(v);
    if (text.size() <= kShortText)
        return text;
    return v.is_array() ? std::to_string(v.size()) + " elements" : std::to_string(v.size()) + " members";
}

// The key sets every element of both lists carries; null when the lists are not numbered.
const std::vector<const char*>* keysOf(const json& a, const json& b)
{
    if (a.empty() && b.empty())
        return nullptr;
    for (const auto& keys : kKeySets) {
        const auto carries = [&](const json& e) {
            return e.is_object() && std::all_of(keys.begin(), keys.end(), [&](const char* k) { return e.contains(k); });
        };
        if (std::all_of(a.begin(), a.end(), carries) && std::all_of(b.begin(), b.end(), carries))
            return &keys;
    }
    return nullptr;
}

// "number=7", "module=1,slot=2".
std::string keyText(const json& entry, const std::vector<const char*>& keys)
{
    std::string text;
    for (const char* k : keys)
        text += (text.empty() ? "" : ",") + std::string(k) + "=" + shown(entry[k]);
    return text;
}

// A level of a step's "levels" (rows of virtual fixtures, columns of channels); a step without
// levels is all zero.
long long levelAt(const json& step, std::size_t row, std::size_t column)
{
    const auto levels = step.find("levels");
    if (levels == step.end() || !levels->is_array() || row >= levels->size())
        return 0;
    const json& r = (*levels)[row];
    if (!r.is_array() || column >= r.size() || !r[column].is_number_integer())
        return 0;
    return r[column].get<long long>();
}

std::pair<std::size_t, std::size_t> levelShape(const json& step)
{
    const auto levels = step.find("levels");
    if (levels == step.end() || !levels->is_array())
        return {0, 0};
    std::size_t columns = 0;
    for (const json& row : *levels)
        columns = std::max<std::size_t>(columns, row.is_array() ? row.size() : 0);
    return {levels->size(), columns};
}

// "stepTime 10 → 20, 12 of 96 levels differ"; empty when the steps are equal.
std::string stepChanges(const json& a, const json& b)
{
    std::string text;
    const auto note = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    std::vector<std::string> members;
    for (const json* step : {&a, &b})
        if (step->is_object())
            for (const auto& [key, v] : step->items())
                if (key != "levels" && std::find(members.begin(), members.end(), key) == members.end())
                    members.push_back(key);
    for (const std::string& key : members) {
        const json va = a.is_object() ? a.value(key, json()) : json();
        const json vb = b.is_object() ? b.value(key, json()) : json();
        if (va != vb)
            note(key + " " + shown(va) + kArrow + shown(vb));
    }
    const auto [rowsA, columnsA] = levelShape(a);
    const auto [rowsB, columnsB] = levelShape(b);
    const std::size_t rows = std::max(rowsA, rowsB);
    const std::size_t columns = std::max(columnsA, columnsB);
    std::size_t differing = 0;
    for (std::size_t r = 0; r < rows; ++r)
        for (std::size_t c = 0; c < columns; ++c)
            differing += levelAt(a, r, c) != levelAt(b, r, c) ? 1 : 0;
    if (differing != 0)
        note(std::to_string(differing) + " of " + std::to_string(rows * columns) + " levels differ");
    return text;
}

class Differ {
public:
    std::vector<Difference> found;

    void value(const std::string& path, const json& a, const json& b)
    {
        if (a == b)
            return;
        if (isMaterial(a) && isMaterial(b)) {
            members(path, a, b, "steps");
            steps(path + ".steps", a["steps"], b["steps"]);
        } else if (a.is_object() && b.is_object()) {
            members(path, a, b, nullptr);
        } else if (a.is_array() && b.is_array()) {
            array(path, a, b);
        } else {
            add(path, shown(a) + kArrow + shown(b));
        }
    }

private:
    void add(const std::string& path, std::string what) { found.push_back({path, std::move(what)}); }

    // Every member but `skip`, in a's order and then b's.
    void members(const std::string& path, const json& a, const json& b, const char* skip)
    {
        for (const auto& [key, va] : a.items()) {
            if (skip && key == skip)
                continue;
            const auto vb = b.find(key);
            if (vb == b.end())
                add(path + "." + key, "removed: " + summary(va));
            else
                value(path + "." + key, va, *vb);
        }
        for (const auto& [key, vb] : b.items())
            if (!a.contains(key) && !(skip && key == skip))
                add(path + "." + key, "added: " + summary(vb));
    }

    void array(const std::string& path, const json& a, const json& b)
    {
        if (const auto* keys = keysOf(a, b))
            return numbered(path, a, b, *keys);
        const bool plain = std::all_of(a.begin(), a.end(), isScalar) && std::all_of(b.begin(), b.end(), isScalar);
        if (plain)
            return scalars(path, a, b);
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i)
            value(path + "[" + std::to_string(i) + "]", a[i], b[i]);
        for (std::size_t i = common; i < a.size(); ++i)
            add(path + "[" + std::to_string(i) + "]", "removed: " + summary(a[i]));
        for (std::size_t i = common; i < b.size(); ++i)
            add(path + "[" + std::to_string(i) + "]", "added: " + summary(b[i]));
    }

    // Entries in the order of their numbers.
    void numbered(const std::string& path, const json& a, const json& b, const std::vector<const char*>& keys)
    {
        struct Entry {
            json number; // the key members' values, compared as numbers
            const json* inA = nullptr;
            const json* inB = nullptr;
        };
        std::map<std::string, Entry> entries;
        for (const json* list : {&a, &b})
            for (const json& e : *list) {
                Entry& entry = entries[keyText(e, keys)];
                if (entry.number.is_null())
                    for (const char* k : keys)
                        entry.number.push_back(e[k]);
                const json*& side = list == &a ? entry.inA : entry.inB;
                if (!side) // a number listed twice: the first counts, as show build refuses the second
                    side = &e;
            }
        std::vector<std::pair<const std::string*, const Entry*>> order;
        for (const auto& [k, entry] : entries)
            order.emplace_back(&k, &entry);
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& x, const auto& y) { return x.second->number < y.second->number; });
        for (const auto& [k, entry] : order) {
            const std::string at = path + "[" + *k + "]";
            if (!entry->inB)
                add(at, "removed: " + summary(*entry->inA));
            else if (!entry->inA)
                add(at, "added: " + summary(*entry->inB));
            else
                value(at, *entry->inA, *entry->inB);
        }
    }

    void scalars(const std::string& path, const json& a, const json& b)
    {
        if (a.size() != b.size()) {
            const std::string ta = shown(a);
            const std::string tb = shown(b);
            if (ta.size() <= kShortText && tb.size() <= kShortText)
                add(path, ta + kArrow + tb);
            else
                add(path, std::to_string(a.size()) + kArrow + std::to_string(b.size()) + " values");
            return;
        }
        std::vector<std::size_t> differing;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                differing.push_back(i);
        if (differing.size() <= kValuesListedOneByOne) {
            for (std::size_t i : differing)
                add(path + "[" + std::to_string(i) + "]", shown(a[i]) + kArrow + shown(b[i]));
            return;
        }
        std::string at;
        for (std::size_t n = 0; n < differing.size() && n < kPositionsNamed; ++n)
            at += (n == 0 ? "" : ", ") + std::string("[") + std::to_string(differing[n]) + "]";
        if (differing.size() > kPositionsNamed)
            at += ", ...";
        add(path, std::to_string(differing.size()) + " of " + std::to_string(a.size()) + " values differ (at " + at + ")");
    }

    // One entry per differing step (step numbers count from 1), steps added or removed as one.
    void steps(const std::string& path, const json& a, const json& b)
    {
        const std::size_t common = std::min(a.size(), b.size());
        std::size_t listed = 0;
        std::size_t unlisted = 0;
        for (std::size_t i = 0; i < common; ++i) {
            const std::string changes = stepChanges(a[i], b[i]);
            if (changes.empty())
                continue;
            if (listed == kStepsListed) {
                ++unlisted;
                continue;
            }
            ++listed;
            add(path + "[" + std::to_string(i) + "]", "step " + std::to_string(i + 1) + ": " + changes);
        }
        if (unlisted != 0)
            add(path, std::to_string(unlisted) + " more steps differ");
        const auto range = [](std::size_t from, std::size_t to) {
            return from + 1 == to ? "step " + std::to_string(to) : "steps " + std::to_string(from + 1) + ".." + std::to_string(to);
        };
        if (a.size() > common)
            add(path, range(common, a.size()) + " removed");
        if (b.size() > common)
            add(path, range(common, b.size()) + " added");
    }
};

} // namespace

std::vector<Difference> diffDocuments(const json& a, const json& b)
{
    Differ d;
    d.value("$", a, b);
    return std::move(d.found);
}

} // namespace rz::ctl
