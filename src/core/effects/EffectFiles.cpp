#include "core/effects/EffectFiles.h"

#include "core/effects/EffectSection.h"
#include "core/files/FileDialogs.h"
#include "core/materials/MaterialRecord.h"

#include <array>
#include <memory>
#include <system_error>

namespace rz::effects {

using files::ByteReader;
using files::ByteWriter;
using materials::Material;
using materials::MaterialStore;

namespace {

// Every position in these files is 24-bit.
constexpr std::size_t kImageCapacity = std::size_t{1} << 24;

bool startsWith(std::span<const uint8_t> image, std::string_view id)
{
    ByteReader r(image);
    return r.getId() == id && r.ok();
}

void copyStore(const MaterialStore& from, MaterialStore& to)
{
    for (int m = 1; m <= kModules; ++m)
        for (int s = 1; s <= kSlots; ++s)
            to.at(m, s) = from.at(m, s);
}

} // namespace

// The material set of one effect: the store itself for the current effect; for any other a
// copy read from its temporary file, which commit() rewrites.
class EffectFiles::MaterialsOf {
public:
    MaterialsOf(EffectFiles& files, int effect) : files(files), effect(effect)
    {
        if (effect == files.context.currentEffect) {
            set = &files.store;
            return;
        }
        own = std::make_unique<MaterialStore>();
        set = own.get();
        const auto image = files::loadImage(files.materialFiles.tempFile(effect));
        if (!image || !startsWith(*image, materials::kEffectTempFileId))
            return;
        ByteReader r(*image);
        r.setCursor(4);
        materials::readMaterialSet(*own, r);
    }

    MaterialStore& store() { return *set; }

    void commit()
    {
        if (!own)
            return;
        const std::filesystem::path path = files.materialFiles.tempFile(effect);
        ByteWriter w(kImageCapacity);
        w.putId(materials::kEffectTempFileId);
        if (materials::writeMaterialSet(*own, files.library, w)) {
            if (!w.overflowed())
                files::saveImage(path, w.bytes());
        } else {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    }

private:
    EffectFiles& files;
    int effect;
    std::unique_ptr<MaterialStore> own;
    MaterialStore* set = nullptr;
};

EffectFiles::EffectFiles(EffectTable& table, MaterialStore& store, materials::MaterialFiles& materialFiles,
                         const fixtures::FixtureLibrary& library, materials::EditingContext& context,
                         FileChooser& chooser, Prompt& prompt)
    : table(table), store(store), materialFiles(materialFiles), library(library), context(context),
      chooser(chooser), prompt(prompt)
{
}

void EffectFiles::clearEffectByUser(int effect)
{
    table.clearEffect(effect);
    if (effect == context.currentEffect) {
        materialFiles.clearCurrentEffectMaterials();
    } else {
        std::error_code ec;
        std::filesystem::remove(materialFiles.tempFile(effect), ec);
    }
}

void EffectFiles::clearModule(int effect, int module)
{
    clearModuleFields(table.effect(effect), module);
    MaterialsOf set(*this, effect);
    clearModuleMaterials(set.store(), module);
    set.commit();
}

std::optional<std::vector<uint8_t>> EffectFiles::allEffectsImage()
{
    ByteWriter w(kImageCapacity);
    w.beginSectionedFile(kAllEffectsFileId, kAllEffectsSlots);
    const bool ok = materialFiles.writeMaterialsSection(kAllEffectsMaterialsSection, w) &&
                    writeEffectSection(table, kAllEffectsEffectSection, w);
    if (!ok)
        return std::nullopt;
    return w.take();
}

std::optional<std::vector<uint8_t>> EffectFiles::effectImage(int effect)
{
    const Effect& e = table.effect(effect);
    ByteWriter w(kImageCapacity);
    w.putId(kOneEffectFileId);
    w.putZeros(20);
    w.putZeros(6); // the two entries
    bool ok = true;
    if (hasContent(e)) {
        w.putInt24At(kOneEffectBodyEntry, static_cast<uint32_t>(w.cursor()));
        ok = writeEffectBody(e, w);
    }
    writeTextBlock(e, w);
    const std::size_t materialsAt = w.cursor();
    MaterialsOf set(*this, effect);
    if (materials::writeMaterialSet(set.store(), library, w))
        w.putInt24At(kOneEffectMaterialsEntry, static_cast<uint32_t>(materialsAt));
    if (!ok || w.overflowed() || materialsAt > kMaxFilePosition)
        return std::nullopt;
    return w.take();
}

std::optional<std::vector<uint8_t>> EffectFiles::moduleImage(int effect, int module)
{
    const EffectModule& mod = table.effect(effect).modules.at(static_cast<std::size_t>(module));
    MaterialsOf set(*this, effect);
    ByteWriter w(kImageCapacity);
    w.putId(kModuleFileId);
    std::vector<uint32_t> entries(kModuleFileEntries, 0);
    w.putZeros(3 * kModuleFileEntries);
    entries[0] = static_cast<uint32_t>(w.cursor());
    w.putText(mod.note, kMaxNoteLength);
    w.putByte(mod.fourMaterialLink);
    w.putByte(mod.linkRepeatCount);
    w.putZeros(kModuleBlockSize - 2);
    for (int s = 1; s <= kSlots; ++s) {
        const Material& mat = set.store().at(module, s);
        if (!mat.isValid())
            continue;
        entries[static_cast<std::size_t>(s)] = static_cast<uint32_t>(w.cursor());
        materials::writeMaterial(mat, library, w);
    }
    w.putInt24ArrayAt(4, entries);
    if (w.overflowed() || w.cursor() > kMaxFilePosition + 1)
        return std::nullopt;
    return w.take();
}

bool EffectFiles::fileError()
{
    prompt.message(std::u16string(kMsgEffectFileError));
    return false;
}

bool EffectFiles::importAllEffects(std::span<const uint8_t> image)
{
    if (!startsWith(image, kAllEffectsFileId))
        return fileError();
    const ByteReader in(image);
    EffectTable read;
    if (readEffectSection(read, kAllEffectsEffectSection, in) != ReadResult::ok)
        return fileError();
    // The materials section replaces or deletes every temporary file, or writes nothing at
    // all when it is malformed.
    const uint8_t current = context.currentEffect;
    ByteReader materialsIn(image);
    if (!materialFiles.readMaterialsSection(kAllEffectsMaterialsSection, materialsIn)) {
        context.currentEffect = current;
        return fileError();
    }
    store.clearAll();
    table = std::move(read);
    return true;
}

bool EffectFiles::importEffect(int effect, std::span<const uint8_t> image)
{
    if (!startsWith(image, kOneEffectFileId))
        return fileError();
    ByteReader in(image);
    const uint32_t body = in.getInt24At(kOneEffectBodyEntry);
    const uint32_t materialSet = in.getInt24At(kOneEffectMaterialsEntry);
    Effect read;
    if (body > 0) {
        in.setCursor(body);
        if (in.failed() || !readEffectBody(read, in))
            return fileError();
    } else {
        in.setCursor(kOneEffectContent);
    }
    if (in.failed() || !readTextBlock(read, in))
        return fileError();
    auto readSet = std::make_unique<MaterialStore>();
    if (materialSet > 0) {
        in.setCursor(materialSet);
        if (in.failed() || !materials::readMaterialSet(*readSet, in) || in.failed())
            return fileError();
    }

    clearEffectByUser(effect);
    table.effect(effect) = std::move(read);
    MaterialsOf set(*this, effect);
    copyStore(*readSet, set.store());
    set.commit();
    return true;
}

bool EffectFiles::importModule(int effect, int module, std::span<const uint8_t> image)
{
    if (!startsWith(image, kModuleFileId))
        return fileError();
    ByteReader in(image);
    in.setCursor(4);
    const std::vector<uint32_t> entries = in.getInt24Array(kModuleFileEntries);
    if (in.failed())
        return fileError();
    in.setCursor(entries[0]);
    std::u16string note = in.getText();
    const std::vector<uint8_t> block = in.getBytes(kModuleBlockSize);
    if (in.failed())
        return fileError();
    std::array<std::optional<Material>, kSlots + 1> read;
    for (int s = 1; s <= kSlots; ++s) {
        const uint32_t at = entries[static_cast<std::size_t>(s)];
        if (at == 0)
            continue;
        in.setCursor(at);
        Material m;
        if (in.failed() || !materials::readMaterial(m, in) || in.failed())
            return fileError();
        read[static_cast<std::size_t>(s)] = std::move(m);
    }

    Effect& e = table.effect(effect);
    clearModuleFields(e, module);
    EffectModule& mod = e.modules.at(static_cast<std::size_t>(module));
    mod.note = std::move(note);
    mod.fourMaterialLink = block[0];
    mod.linkRepeatCount = block[1];
    MaterialsOf set(*this, effect);
    clearModuleMaterials(set.store(), module);
    for (int s = 1; s <= kSlots; ++s)
        if (read[static_cast<std::size_t>(s)])
            set.store().at(module, s) = std::move(*read[static_cast<std::size_t>(s)]);
    set.commit();
    return true;
}

bool EffectFiles::exportTo(std::u16string_view title, std::u16string_view extension,
                           const std::function<std::optional<std::vector<uint8_t>>()>& build)
{
    const auto path = files::chooseSaveFile(chooser, prompt, std::u16string(title), std::u16string(extension));
    if (!path)
        return false;
    const auto image = build();
    if (!image)
        return false;
    return files::saveImage(*path, *image);
}

std::optional<std::vector<uint8_t>> EffectFiles::chooseAndLoad(std::u16string_view title,
                                                               std::u16string_view extension)
{
    const auto path = chooser.chooseOpen(std::u16string(title), std::u16string(extension));
    if (!path || path->empty()) {
        prompt.message(std::u16string(files::kMsgWrongFileName));
        return std::nullopt;
    }
    // A missing, empty or oversized file is not a file of the kind.
    auto image = files::loadImage(*path);
    if (!image)
        fileError();
    return image;
}

bool EffectFiles::exportAllEffects()
{
    return exportTo(kExportAllEffectsTitle, kAllEffectsExtension, [this] { return allEffectsImage(); });
}

bool EffectFiles::importAllEffects()
{
    const auto image = chooseAndLoad(kImportAllEffectsTitle, kAllEffectsExtension);
    return image && importAllEffects(*image);
}

bool EffectFiles::exportEffect(int effect)
{
    return exportTo(kExportEffectTitle, kOneEffectExtension, [&] { return effectImage(effect); });
}

bool EffectFiles::importEffect(int effect)
{
    const auto image = chooseAndLoad(kImportEffectTitle, kOneEffectExtension);
    return image && importEffect(effect, *image);
}

bool EffectFiles::exportModule(int effect, int module)
{
    return exportTo(kExportModuleTitle, kModuleExtension, [&] { return moduleImage(effect, module); });
}

bool EffectFiles::importModule(int effect, int module)
{
    const auto image = chooseAndLoad(kImportModuleTitle, kModuleExtension);
    return image && importModule(effect, module, *image);
}

} // namespace rz::effects
