#pragma once
// Where materials live between edits: the single-material file ("K_1SC") and the material
// clipboard, the per-effect temporary files that park every effect's materials except the
// current one's, and the materials section of the show and all-effects files, which packs
// those temporary files.
#include "core/app/Seams.h"
#include "core/files/ByteImage.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/MaterialStore.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace rz::materials {

inline constexpr std::u16string_view kMsgMaterialReadFailed = u"读取失败";
inline constexpr std::u16string_view kMsgMaterialInvalid = u"素材无效!";
inline constexpr std::u16string_view kSaveMaterialTitle = u"保存素材";
inline constexpr std::u16string_view kReadMaterialTitle = u"读取素材";
inline constexpr std::u16string_view kMaterialExtension = u"K_1SC";

inline constexpr std::string_view kMaterialFileId = "F1042601";
inline constexpr std::string_view kEffectTempFileId = "F10416A1";
inline constexpr std::string_view kMaterialsSectionId = "F10417A1";
inline constexpr int kEffectCount = 50;
inline constexpr int kShowMaterialsSection = 11;

// Ends every materials section; written, never checked.
inline constexpr std::array<uint8_t, 50> kMaterialsTrailer{
    0x52, 0x5A, 0x37, 0x36, 0x30, 0x4D, 0x41, 0x54, 0x45, 0x52, 0x49, 0x41, 0x4C, 0x53, 0x00, 0x0B, 0xA5,
    0x5A, 0xC3, 0x3C, 0x96, 0x69, 0x0F, 0xF0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF1, 0x23,
    0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x7E, 0x81, 0x42, 0xBD, 0x24, 0xDB, 0x18, 0xE7, 0x00, 0x32,
};

// Where the import takes its file from.
struct ImportSource {
    enum Kind { ask, clipboard, path } kind = ask;
    std::filesystem::path file; // for `path`
};

class MaterialFiles {
public:
    // The tables and seams must outlive this object.
    MaterialFiles(MaterialStore& store, const fixtures::FixtureLibrary& library, EditingContext& context,
                  const std::filesystem::path& dataRoot, FileChooser& chooser, Prompt& prompt);

    std::filesystem::path clipboardFile() const;  // AppSet/Sys_config/SC_TEMP/SCCOPY.K_1SC
    std::filesystem::path tempFile(int effect) const; // AppSet/Sys_config/SC_TEMP/007

    // The single-material file bytes: identifier, then the record.
    std::vector<uint8_t> materialFileImage(int m, int s) const;

    // To a file the user chooses ("保存素材"; a cancelled dialog ends silently) or to the
    // clipboard file. False when nothing was written.
    bool exportMaterial(int m, int s, bool toClipboard);
    // Replaces (m, s) with a single-material file. "读取失败" for no path or an empty or
    // unreadable file, "素材无效!" for another file kind or a malformed record; the material
    // is untouched then.
    bool importMaterial(int m, int s, const ImportSource& source);
    void deleteClipboardFile();

    // The store as effect e's temporary file; the file is removed when no material is valid.
    bool saveEffectToTemp(int effect);
    // clearAll, then effect e's temporary file when it exists and is one; a malformed file
    // leaves the store cleared.
    void loadEffectFromTemp(int effect);
    void clearCurrentEffectMaterials();
    void deleteAllTemps();
    // The scene editor's effect choice: parks the current effect and loads effect p.
    void switchEffect(int p);

    // Show file section `sectionNo` (11) or the all-effects file's: every temporary file,
    // rewritten through the current writer. False when the image overflowed.
    bool writeMaterialsSection(int sectionNo, files::ByteWriter& w);
    // Recreates the temporary files from a section. The current effect becomes 0. False for a
    // section that is missing or malformed; no temporary file is written from such a section.
    bool readMaterialsSection(int sectionNo, files::ByteReader& r);

private:
    std::filesystem::path tempFolder() const;

    MaterialStore& store;
    const fixtures::FixtureLibrary& library;
    EditingContext& context;
    std::filesystem::path root;
    FileChooser& chooser;
    Prompt& prompt;
};

} // namespace rz::materials
