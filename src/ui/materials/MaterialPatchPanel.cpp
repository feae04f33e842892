#include "ui/materials/MaterialPatchPanel.h"

#include "ui/fixtures/ControlNames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rz::ui {

namespace {

const QColor kChosenColour(255, 128, 128);
const QColor kNormalColour(192, 192, 192);
constexpr int kLibraryColumns = 10;

QComboBox* countBox(QWidget* parent, const char* name, const QString& caption, int last)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setAccessibleName(caption);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(21);
    for (int n = 0; n <= last; ++n)
        box->addItem(QString::number(n));
    return box;
}

void markBox(QComboBox* box, bool valid)
{
    box->setStyleSheet(valid ? QString() : QStringLiteral("QComboBox{background-color:#ff8080;}"));
}

} // namespace

MaterialPatchPanel::MaterialPatchPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame灯具设置"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QGridLayout(this);
    layout->setSpacing(3);

    auto* counts = new QHBoxLayout;
    fixtureCountBox = countBox(this, "Combo设置灯具数", tr("灯具数"), materials::kMaxVirtualFixtures);
    channelCountBox = countBox(this, "Combo设置通道数", tr("通道数"), materials::kMaxChannels);
    counts->addWidget(new QLabel(tr("灯具数"), this));
    counts->addWidget(fixtureCountBox);
    counts->addWidget(new QLabel(tr("通道数"), this));
    counts->addWidget(channelCountBox);
    auto* clear = new QPushButton(tr("清除"), this);
    clear->setObjectName(QStringLiteral("Command清除灯具选择"));
    clear->setAccessibleName(tr("清除灯具选择"));
    counts->addWidget(clear);
    counts->addStretch(1);
    auto* hide = new QPushButton(tr("隐藏"), this);
    hide->setObjectName(QStringLiteral("Command隐藏灯具设置"));
    hide->setAccessibleName(tr("隐藏灯具设置"));
    counts->addWidget(hide);
    layout->addLayout(counts, 0, 0, 1, kLibraryColumns);

    auto* patchRow = new QHBoxLayout;
    patchRow->addWidget(new QLabel(tr("配接灯具"), this));
    for (int i = 1; i <= materials::kMaxVirtualFixtures; ++i) {
        auto* b = new QPushButton(QString::number(i), this);
        b->setObjectName(arrayElementName(QStringLiteral("Command配接灯具"), i));
        b->setAccessibleName(tr("配接灯具%1").arg(i));
        b->setMinimumWidth(28);
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        connect(b, &QPushButton::clicked, this, [this, i] { emit patchFixtureChosen(i); });
        patchRow->addWidget(b);
        patchButtons[i] = b;
    }
    layout->addLayout(patchRow, 1, 0, 1, kLibraryColumns);

    for (int r = 1; r <= materials::kLibraryFixtures; ++r) {
        auto* b = new QPushButton(this);
        b->setObjectName(arrayElementName(QStringLiteral("Command实际_灯具"), r));
        b->setMinimumHeight(22);
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        connect(b, &QPushButton::clicked, this, [this, r] { emit libraryFixtureClicked(r); });
        layout->addWidget(b, 2 + (r - 1) / kLibraryColumns, (r - 1) % kLibraryColumns);
        libraryButtons[r] = b;
    }

    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(new QLabel(tr("分组"), this));
    for (int g = 1; g <= kGroupButtons; ++g) {
        auto* b = new QPushButton(QString::number(g), this);
        b->setObjectName(arrayElementName(QStringLiteral("Command灯具分组N"), g));
        connect(b, &QPushButton::clicked, this, [this, g] { emit groupClicked(g); });
        groupRow->addWidget(b);
        groupButtons[g] = b;
    }
    layout->addLayout(groupRow, 2 + materials::kLibraryFixtures / kLibraryColumns, 0, 1, kLibraryColumns);

    connect(fixtureCountBox->lineEdit(), &QLineEdit::textEdited, this, &MaterialPatchPanel::fixtureCountTyped);
    connect(channelCountBox->lineEdit(), &QLineEdit::textEdited, this, &MaterialPatchPanel::channelCountTyped);
    connect(fixtureCountBox, &QComboBox::activated, this,
            [this](int index) { emit fixtureCountTyped(QString::number(index)); });
    connect(channelCountBox, &QComboBox::activated, this,
            [this](int index) { emit channelCountTyped(QString::number(index)); });
    connect(clear, &QPushButton::clicked, this, &MaterialPatchPanel::clearClicked);
    connect(hide, &QPushButton::clicked, this, &MaterialPatchPanel::closed);
}

void MaterialPatchPanel::showMaterial(const materials::Material& m, int patchFixture,
                                      const fixtures::FixtureLibrary& library, const fixtures::FixtureGroups& groups)
{
    showing = true;
    for (auto [box, value] : {std::pair{fixtureCountBox, int(m.fixtureCount)}, std::pair{channelCountBox, int(m.channelCount)}}) {
        // The box the user is typing into keeps the typed text.
        if (!box->lineEdit()->hasFocus())
            box->setCurrentIndex(value < box->count() ? value : -1);
    }
    for (int i = 1; i <= materials::kMaxVirtualFixtures; ++i) {
        patchButtons[i]->setVisible(i <= m.fixtureCount);
        patchButtons[i]->setStyleSheet(buttonBackgroundStyle(i == patchFixture ? kChosenColour : kNormalColour));
    }
    const auto& row = m.patch[static_cast<std::size_t>(patchFixture)];
    for (int r = 1; r <= materials::kLibraryFixtures; ++r) {
        QPushButton* b = libraryButtons[r];
        const bool valid = library.fixtureIsValid(r);
        b->setVisible(valid);
        if (!valid)
            continue;
        const QString name = QString::fromStdU16String(library.fixture(r).name);
        b->setText(name.isEmpty() ? QString::number(r) : QStringLiteral("%1.%2").arg(r).arg(name));
        b->setAccessibleName(b->text());
        b->setStyleSheet(buttonBackgroundStyle(row[static_cast<std::size_t>(r)] != 0 ? kChosenColour : kNormalColour));
    }
    for (int g = 1; g <= kGroupButtons; ++g) {
        const QString note = QString::fromStdU16String(groups.note(g));
        groupButtons[g]->setText(note.isEmpty() ? QString::number(g) : note);
        groupButtons[g]->setAccessibleName(tr("分组%1").arg(g));
    }
    showing = false;
}

void MaterialPatchPanel::markFixtureCount(bool valid)
{
    markBox(fixtureCountBox, valid);
}

void MaterialPatchPanel::markChannelCount(bool valid)
{
    markBox(channelCountBox, valid);
}

} // namespace rz::ui
