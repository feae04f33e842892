// Outside bytes read as every fixture-library file kind: the single- and all-fixtures exchange
// files, the show file's fixture and motion sections, the fixture-group file. A file either
// loads or changes nothing; whatever loads writes back byte-stable.
#include "FuzzSupport.h"
#include "core/fixtures/FixtureFiles.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureRecords.h"
#include "core/fixtures/MotionSection.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using rz::fuzz::check;
using rz::fixtures::FixtureLibrary;
using rz::fixtures::ReadResult;

// A library that was read must encode to a file that reads back to the same bytes again.
void checkStable(FixtureLibrary& library)
{
    const std::vector<uint8_t> first = rz::fixtures::encodeAllFixturesFile(library);
    FixtureLibrary again;
    check(rz::fixtures::decodeAllFixturesFile(first, again) == ReadResult::ok);
    check(rz::fixtures::encodeAllFixturesFile(again) == first);
}

FixtureLibrary seededLibrary()
{
    FixtureLibrary lib;
    lib.fixture(1).name = u"seed";
    lib.fixture(1).startAddress = 1;
    lib.fixture(1).channelCount = 2;
    return lib;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> file(data, size);

    {
        FixtureLibrary lib = seededLibrary();
        const FixtureLibrary before = lib;
        if (rz::fixtures::decodeSingleFixtureFile(file, lib, 5) == ReadResult::ok)
            checkStable(lib);
        else
            check(lib == before);
    }
    {
        FixtureLibrary lib = seededLibrary();
        const FixtureLibrary before = lib;
        if (rz::fixtures::decodeAllFixturesFile(file, lib) == ReadResult::ok)
            checkStable(lib);
        else
            check(lib == before);
    }
    {
        FixtureLibrary lib = seededLibrary();
        const FixtureLibrary before = lib;
        rz::fuzz::SilentPrompt prompt;
        rz::files::ByteReader in(file);
        const ReadResult r = rz::fixtures::readFixtureSection(lib, in, prompt);
        if (r == ReadResult::ok)
            checkStable(lib);
        else if (r != ReadResult::absent)
            check(lib == before);
        (void)rz::fixtures::readMotionSection(rz::files::ByteReader(file));
    }
    {
        rz::fixtures::FixtureGroups groups;
        groups.setMember(1, 1, true);
        const rz::fixtures::FixtureGroups before = groups;
        if (rz::fixtures::decodeGroupFile(file, groups)) {
            rz::fixtures::FixtureGroups again;
            const std::vector<uint8_t> bytes = rz::fixtures::encodeGroupFile(groups);
            check(rz::fixtures::decodeGroupFile(bytes, again));
            check(rz::fixtures::encodeGroupFile(again) == bytes);
        } else {
            check(groups == before);
        }
    }
    return 0;
}
