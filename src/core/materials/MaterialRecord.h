#pragma once
// The byte layouts every file holding materials uses: the material record and the material
// set (all valid materials of one effect). Positions inside them are offsets from the start
// of the image being built or read, stored as 24-bit numbers.
#include "core/files/ByteImage.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/MaterialStore.h"

namespace rz::materials {

// Appends the record of `m` at the writer's cursor. The patch and address tables come from
// the output map with the library as it is now. An address count is a byte in the record:
// a virtual channel with more than 255 addresses keeps its first 255 (patching refuses to
// get there; only a later library change can).
void writeMaterial(const Material& m, const fixtures::FixtureLibrary& library, files::ByteWriter& w);

// Reads a record at the reader's cursor into a cleared material; the cursor ends after the
// record. False for a record that does not fit the image or holds counts, positions or
// fixture numbers outside their tables; `m` may then be half filled (callers read into a
// scratch material).
bool readMaterial(Material& m, files::ByteReader& r);

// The material set of the whole store; false (nothing written) when no material is valid.
bool writeMaterialSet(const MaterialStore& store, const fixtures::FixtureLibrary& library,
                      files::ByteWriter& w);
// Reads a set at the cursor into a cleared store. A malformed set leaves the store as it was.
bool readMaterialSet(MaterialStore& store, files::ByteReader& r);

} // namespace rz::materials
