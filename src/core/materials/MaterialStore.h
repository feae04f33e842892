#pragma once
// The materials of the current effect: 20 function modules x 12 slots. Only the current
// effect's materials are held; the others are parked in per-effect temporary files.
#include "core/materials/Material.h"

#include <array>
#include <memory>
#include <optional>

namespace rz::materials {

inline constexpr int kModules = 20;
inline constexpr int kSlots = 12;
inline constexpr int kMaterialsPerEffect = kModules * kSlots;

// Which material the scene, effect and material editors are working on.
struct EditingContext {
    uint8_t currentEffect = 0; // 0 = none, 1..50
    uint8_t currentModule = 1; // 1..20
    uint8_t currentSlot = 1;   // 1..12
    int16_t currentStep = 0;   // 0 exactly when the material has no steps
};

struct MaterialAddress {
    int module = 0; // 1..20
    int slot = 0;   // 1..12
    bool operator==(const MaterialAddress&) const = default;
};

// (module - 1) x 12 + slot, 1..240.
int materialNumber(int module, int slot);
// The inverse for 1..240; empty for any other number.
std::optional<MaterialAddress> materialFromNumber(int number);

class MaterialStore {
public:
    MaterialStore();

    Material& at(int module, int slot);
    const Material& at(int module, int slot) const;
    Material& at(MaterialAddress a) { return at(a.module, a.slot); }
    const Material& at(MaterialAddress a) const { return at(a.module, a.slot); }

    bool isValid(int module, int slot) const { return at(module, slot).isValid(); }
    bool moduleHasValid(int module) const;
    int validCount() const;
    // Every material cleared and its storage given back.
    void clearAll();

private:
    std::unique_ptr<std::array<Material, kMaterialsPerEffect>> materials;
};

} // namespace rz::materials
