#pragma once
// The controller's scene-association report (CE 20): while the scene page asks for it
// (CE 20 88, until CE 20 44) every wall-panel or VOD scene selection is reported as
// CE 20 source number scene, where source is 0 for the wall panel and 1 for VOD and scene is
// the show scene associated with that number in the show file the controller holds (the
// default association, scene n for number n, when it holds none). Selections happen through
// selectScene (what the room injects).
#include "sim/CommandFamily.h"

#include <cstdint>

namespace rz::sim {

class FileStore;

inline constexpr uint8_t kAssociationSub = 0x20;

enum class SceneSource : uint8_t { WallPanel = 0, Vod = 1 };

class SceneAssociations : public CommandFamily {
public:
    explicit SceneAssociations(const FileStore& files) : files(files) {}

    void handle(const ReceivedFrame& frame, FamilyContext& context) override;
    void reset() override { reporting = false; }

    // A wall panel or the VOD system selects scene `number` (1..30): the room event, and the
    // report while reporting is on. The show scene it selected (0 when none answers to it).
    uint8_t selectScene(SceneSource source, uint8_t number, FamilyContext& context);
    // The first of scenes 1..30 associated with `number`, from the held show; 0 when none.
    uint8_t associatedScene(SceneSource source, uint8_t number) const;

    bool reportingOn() const { return reporting; }

private:
    const FileStore& files;
    bool reporting = false;
};

} // namespace rz::sim
