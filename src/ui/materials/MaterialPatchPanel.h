#pragma once
// The material page's fixture settings: the fixture and channel counts, which virtual fixture
// is being patched, the library fixtures patched to it, and the fixture-group shortcuts.
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/Material.h"

#include <QFrame>

#include <array>

class QComboBox;
class QPushButton;

namespace rz::ui {

class MaterialPatchPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kGroupButtons = 12;
    explicit MaterialPatchPanel(QWidget* parent = nullptr);

    void showMaterial(const materials::Material& m, int patchFixture, const fixtures::FixtureLibrary& library,
                      const fixtures::FixtureGroups& groups);
    // A refused count turns its box light red until a valid number is typed or chosen.
    void markFixtureCount(bool valid);
    void markChannelCount(bool valid);

signals:
    void fixtureCountTyped(const QString& text);
    void channelCountTyped(const QString& text);
    void patchFixtureChosen(int fixture);
    void libraryFixtureClicked(int fixture);
    void clearClicked();
    void groupClicked(int group);
    void closed();

private:
    QComboBox* fixtureCountBox = nullptr;
    QComboBox* channelCountBox = nullptr;
    std::array<QPushButton*, materials::kMaxVirtualFixtures + 1> patchButtons{};
    std::array<QPushButton*, materials::kLibraryFixtures + 1> libraryButtons{};
    std::array<QPushButton*, kGroupButtons + 1> groupButtons{};
    bool showing = false;
};

} // namespace rz::ui
