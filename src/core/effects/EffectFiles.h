#pragma once
// The effect exchange files and the clears that reach into an effect's materials:
//   all effects  "K_AXG": "F1042701", a 50-slot section table, the materials section (11) and
//                the effect section (12);
//   one effect   "K_1XG": "F1042901", 20 reserved bytes, the positions of the body and of the
//                material set (24-bit, 0 = none), then body and text block (or the text block
//                alone at 30), then the material set;
//   one module   "K_1MK": "F1043001", 13 positions (the note at 43, then the records of slots
//                1..12, 0 for a slot whose material is not valid), the note, a 200-byte block
//                (fourMaterialLink, linkRepeatCount, zeros), the material records.
//
// Imports check the whole file before they change anything: a file of another kind, a
// truncated or garbled one shows "文件错误！！！" and leaves effects and materials as they were.
//
// The materials of the current effect are the store; any other effect's are in its
// temporary file, which these operations read and rewrite.
#include "core/app/Seams.h"
#include "core/effects/EffectTable.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/MaterialFiles.h"
#include "core/materials/MaterialStore.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace rz::effects {

inline constexpr std::string_view kAllEffectsFileId = "F1042701";
inline constexpr std::string_view kOneEffectFileId = "F1042901";
inline constexpr std::string_view kModuleFileId = "F1043001";
inline constexpr int kAllEffectsSlots = 50;
inline constexpr int kAllEffectsMaterialsSection = 11;
inline constexpr int kAllEffectsEffectSection = 12;

inline constexpr std::u16string_view kAllEffectsExtension = u"K_AXG";
inline constexpr std::u16string_view kOneEffectExtension = u"K_1XG";
inline constexpr std::u16string_view kModuleExtension = u"K_1MK";
inline constexpr std::u16string_view kExportAllEffectsTitle = u"全部效果另存为";
inline constexpr std::u16string_view kImportAllEffectsTitle = u"导入全部效果";
inline constexpr std::u16string_view kExportEffectTitle = u"一个效果另存为";
inline constexpr std::u16string_view kImportEffectTitle = u"导入一个效果";
inline constexpr std::u16string_view kExportModuleTitle = u"模块另存为";
inline constexpr std::u16string_view kImportModuleTitle = u"导入模块";
inline constexpr std::u16string_view kMsgEffectFileError = u"文件错误！！！";

// One-effect file layout.
inline constexpr std::size_t kOneEffectBodyEntry = 24;
inline constexpr std::size_t kOneEffectMaterialsEntry = 27;
inline constexpr std::size_t kOneEffectContent = 30;
// Module file layout.
inline constexpr int kModuleFileEntries = 13;
inline constexpr std::size_t kModuleNotePosition = 43;
inline constexpr std::size_t kModuleBlockSize = 200;

class EffectFiles {
public:
    // Everything must outlive this object.
    EffectFiles(EffectTable& table, materials::MaterialStore& store, materials::MaterialFiles& materialFiles,
                const fixtures::FixtureLibrary& library, materials::EditingContext& context,
                FileChooser& chooser, Prompt& prompt);

    // The clear of the editor's "清空效果": the effect's fields and its materials (the store
    // for the current effect, the temporary file for any other).
    void clearEffectByUser(int effect);
    // Module m's note and link settings and its 12 materials; slot flags and grid cells stay.
    void clearModule(int effect, int module);

    // File images; empty when the content does not fit its positions (never for a real show).
    std::optional<std::vector<uint8_t>> allEffectsImage();
    std::optional<std::vector<uint8_t>> effectImage(int effect);
    std::optional<std::vector<uint8_t>> moduleImage(int effect, int module);

    // From a file image; "文件错误！！！" and false when it is not a sound file of the kind.
    // Importing all effects leaves no effect current (the store then belongs to none).
    bool importAllEffects(std::span<const uint8_t> image);
    bool importEffect(int effect, std::span<const uint8_t> image);
    bool importModule(int effect, int module, std::span<const uint8_t> image);

    // Through the file dialog: nothing chosen shows "文件名错误！". False when nothing was
    // written or imported.
    bool exportAllEffects();
    bool importAllEffects();
    bool exportEffect(int effect);
    bool importEffect(int effect);
    bool exportModule(int effect, int module);
    bool importModule(int effect, int module);

private:
    class MaterialsOf;
    bool exportTo(std::u16string_view title, std::u16string_view extension,
                  const std::function<std::optional<std::vector<uint8_t>>()>& build);
    std::optional<std::vector<uint8_t>> chooseAndLoad(std::u16string_view title, std::u16string_view extension);
    bool fileError();

    EffectTable& table;
    materials::MaterialStore& store;
    materials::MaterialFiles& materialFiles;
    const fixtures::FixtureLibrary& library;
    materials::EditingContext& context;
    FileChooser& chooser;
    Prompt& prompt;
};

} // namespace rz::effects
