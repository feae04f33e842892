#include "core/materials/MaterialStore.h"

#include <cassert>

namespace rz::materials {

int materialNumber(int module, int slot) { return (module - 1) * kSlots + slot; }

std::optional<MaterialAddress> materialFromNumber(int number)
{
    if (number < 1 || number > kMaterialsPerEffect)
        return std::nullopt;
    const int module = (number + kSlots - 1) / kSlots; // smallest i with 12 i >= n
    return MaterialAddress{module, number - kSlots * (module - 1)};
}

MaterialStore::MaterialStore() : materials(std::make_unique<std::array<Material, kMaterialsPerEffect>>()) {}

Material& MaterialStore::at(int module, int slot)
{
    assert(module >= 1 && module <= kModules && slot >= 1 && slot <= kSlots);
    return (*materials)[materialNumber(module, slot) - 1];
}

const Material& MaterialStore::at(int module, int slot) const
{
    assert(module >= 1 && module <= kModules && slot >= 1 && slot <= kSlots);
    return (*materials)[materialNumber(module, slot) - 1];
}

bool MaterialStore::moduleHasValid(int module) const
{
    for (int s = 1; s <= kSlots; ++s)
        if (isValid(module, s))
            return true;
    return false;
}

int MaterialStore::validCount() const
{
    int n = 0;
    for (const Material& m : *materials)
        n += m.isValid() ? 1 : 0;
    return n;
}

void MaterialStore::clearAll()
{
    for (Material& m : *materials) {
        clearMaterial(m);
        m.dropAllSteps();
    }
}

} // namespace rz::materials
