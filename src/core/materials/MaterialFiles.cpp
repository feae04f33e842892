#include "core/materials/MaterialFiles.h"

#include "core/materials/MaterialRecord.h"

#include <cstdio>
#include <optional>
#include <system_error>
#include <vector>

namespace rz::materials {

namespace {

// Positions are 24-bit, so no image of these kinds can usefully grow past 16 MiB.
constexpr std::size_t kImageCapacity = std::size_t{1} << 24;

void removeQuietly(const std::filesystem::path& p)
{
    std::error_code ec;
    std::filesystem::remove(p, ec);
}

bool startsWithId(std::span<const uint8_t> image, std::string_view id)
{
    files::ByteReader r(image);
    return r.getId() == id && r.ok();
}

} // namespace

MaterialFiles::MaterialFiles(MaterialStore& store, const fixtures::FixtureLibrary& library,
                             EditingContext& context, const std::filesystem::path& dataRoot,
                             FileChooser& chooser, Prompt& prompt)
    : store(store), library(library), context(context), root(dataRoot), chooser(chooser), prompt(prompt)
{
}

std::filesystem::path MaterialFiles::tempFolder() const
{
    return root / "AppSet" / "Sys_config" / "SC_TEMP";
}

std::filesystem::path MaterialFiles::clipboardFile() const { return tempFolder() / "SCCOPY.K_1SC"; }

std::filesystem::path MaterialFiles::tempFile(int effect) const
{
    char name[8];
    std::snprintf(name, sizeof name, "%03d", effect);
    return tempFolder() / name;
}

std::vector<uint8_t> MaterialFiles::materialFileImage(int m, int s) const
{
    files::ByteWriter w(kImageCapacity);
    w.putId(kMaterialFileId);
    writeMaterial(store.at(m, s), library, w);
    return w.overflowed() ? std::vector<uint8_t>{} : w.take();
}

bool MaterialFiles::exportMaterial(int m, int s, bool toClipboard)
{
    std::filesystem::path target;
    if (toClipboard) {
        target = clipboardFile();
    } else {
        auto chosen = chooser.chooseSave(std::u16string(kSaveMaterialTitle), std::u16string(kMaterialExtension));
        if (!chosen || chosen->empty())
            return false;
        target = *chosen;
    }
    const std::vector<uint8_t> image = materialFileImage(m, s);
    return !image.empty() && files::saveImage(target, image);
}

bool MaterialFiles::importMaterial(int m, int s, const ImportSource& source)
{
    std::filesystem::path path;
    switch (source.kind) {
    case ImportSource::ask:
        if (auto chosen = chooser.chooseOpen(std::u16string(kReadMaterialTitle), std::u16string(kMaterialExtension)))
            path = *chosen;
        break;
    case ImportSource::clipboard:
        path = clipboardFile();
        break;
    case ImportSource::path:
        path = source.file;
        break;
    }
    std::optional<std::vector<uint8_t>> image;
    if (!path.empty())
        image = files::loadImage(path);
    if (!image || image->empty()) {
        prompt.message(std::u16string(kMsgMaterialReadFailed));
        return false;
    }
    // Read once into a scratch material to see that the whole record is sound, so a damaged
    // file cannot leave the material half replaced.
    files::ByteReader check(*image);
    Material scratch;
    if (check.getId() != kMaterialFileId || check.failed() || !readMaterial(scratch, check)) {
        prompt.message(std::u16string(kMsgMaterialInvalid));
        return false;
    }
    Material& target = store.at(m, s);
    clearMaterial(target);
    files::ByteReader r(*image);
    r.setCursor(4);
    readMaterial(target, r);
    return true;
}

void MaterialFiles::deleteClipboardFile() { removeQuietly(clipboardFile()); }

bool MaterialFiles::saveEffectToTemp(int effect)
{
    files::ByteWriter w(kImageCapacity);
    w.putId(kEffectTempFileId);
    if (!writeMaterialSet(store, library, w)) {
        removeQuietly(tempFile(effect));
        return true;
    }
    if (w.overflowed())
        return false;
    return files::saveImage(tempFile(effect), w.bytes());
}

void MaterialFiles::loadEffectFromTemp(int effect)
{
    store.clearAll();
    const auto image = files::loadImage(tempFile(effect));
    if (!image || !startsWithId(*image, kEffectTempFileId))
        return;
    files::ByteReader r(*image);
    r.setCursor(4);
    readMaterialSet(store, r);
}

void MaterialFiles::clearCurrentEffectMaterials()
{
    store.clearAll();
    if (context.currentEffect != 0)
        removeQuietly(tempFile(context.currentEffect));
}

void MaterialFiles::deleteAllTemps()
{
    for (int e = 1; e <= kEffectCount; ++e)
        removeQuietly(tempFile(e));
}

void MaterialFiles::switchEffect(int p)
{
    if (p == context.currentEffect)
        return;
    if (context.currentEffect != 0)
        saveEffectToTemp(context.currentEffect);
    context.currentEffect = static_cast<uint8_t>(p >= 1 && p <= kEffectCount ? p : 0);
    if (context.currentEffect != 0)
        loadEffectFromTemp(p);
    else
        store.clearAll();
}

bool MaterialFiles::writeMaterialsSection(int sectionNo, files::ByteWriter& w)
{
    if (context.currentEffect != 0)
        saveEffectToTemp(context.currentEffect);
    w.beginSection(sectionNo, kMaterialsSectionId);
    const std::size_t table = w.cursor();
    w.putZeros(3 * kEffectCount);
    std::vector<uint32_t> positions(kEffectCount, 0);
    for (int e = 1; e <= kEffectCount; ++e) {
        // Every temporary file goes through the current writer; invalid materials drop out.
        loadEffectFromTemp(e);
        saveEffectToTemp(e);
        const auto image = files::loadImage(tempFile(e));
        if (!image || !startsWithId(*image, kEffectTempFileId))
            continue;
        positions[e - 1] = static_cast<uint32_t>(w.cursor());
        w.putInt24(static_cast<uint32_t>(image->size()));
        w.putBytes(*image);
    }
    if (context.currentEffect != 0)
        loadEffectFromTemp(context.currentEffect);
    else
        store.clearAll();
    w.putInt24ArrayAt(table, positions);
    w.putBytes(kMaterialsTrailer);
    return !w.overflowed();
}

bool MaterialFiles::readMaterialsSection(int sectionNo, files::ByteReader& r)
{
    context.currentEffect = 0;
    if (!r.openSection(sectionNo, kMaterialsSectionId))
        return false;
    const std::vector<uint32_t> positions = r.getInt24Array(kEffectCount);
    if (r.failed())
        return false;
    std::vector<std::vector<uint8_t>> blocks(kEffectCount);
    for (int e = 1; e <= kEffectCount; ++e) {
        if (positions[e - 1] < 1)
            continue;
        r.setCursor(positions[e - 1]);
        const uint32_t length = r.getInt24();
        blocks[e - 1] = r.getBytes(length);
        if (r.failed() || length == 0)
            return false;
    }
    for (int e = 1; e <= kEffectCount; ++e) {
        if (blocks[e - 1].empty())
            removeQuietly(tempFile(e));
        else
            files::saveImage(tempFile(e), blocks[e - 1]);
    }
    return true;
}

} // namespace rz::materials
