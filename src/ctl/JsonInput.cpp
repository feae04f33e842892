#include "ctl/JsonInput.h"

#include "core/app/Utf.h"

namespace rz::ctl {

namespace {
const nlohmann::json kNull;
}

JsonInput JsonInput::member(const char* key) const
{
    const std::string path = p + "." + key;
    if (v->is_null())
        return {kNull, path};
    if (!v->is_object())
        refuse("an object is expected");
    const auto it = v->find(key);
    return {it == v->end() ? kNull : *it, path};
}

JsonInput JsonInput::element(std::size_t i) const
{
    const std::string path = p + "[" + std::to_string(i) + "]";
    if (!v->is_array() || i >= v->size())
        return {kNull, path};
    return {(*v)[i], path};
}

std::size_t JsonInput::arraySize(std::size_t maxSize) const
{
    if (v->is_null())
        return 0;
    if (!v->is_array())
        refuse("an array is expected");
    if (v->size() > maxSize)
        refuse("at most " + std::to_string(maxSize) + " elements are allowed, not " +
               std::to_string(v->size()));
    return v->size();
}

long long JsonInput::number(long long lo, long long hi) const
{
    long long n = 0;
    if (v->is_number_integer())
        n = v->get<long long>();
    else if (v->is_number_unsigned()) {
        const auto u = v->get<unsigned long long>();
        n = u > static_cast<unsigned long long>(hi) ? hi + 1 : static_cast<long long>(u);
    } else if (!v->is_null())
        refuse("a whole number is expected");
    if (n < lo || n > hi)
        refuse("value " + v->dump() + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    return n;
}

std::u16string JsonInput::text(std::size_t maxLength) const
{
    if (v->is_null())
        return {};
    if (!v->is_string())
        refuse("a text is expected");
    std::u16string t = fromUtf8(v->get_ref<const std::string&>());
    if (t.size() > maxLength)
        refuse("the text is longer than " + std::to_string(maxLength) + " characters");
    return t;
}

} // namespace rz::ctl
