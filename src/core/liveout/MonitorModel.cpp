#include "core/liveout/MonitorModel.h"
#include "core/app/Universe.h"

#include <algorithm>
#include <cmath>

namespace rz::liveout {

namespace {

std::u16string normalised(std::u16string_view name)
{
    std::u16string out;
    for (char16_t c : name) {
        if (c == u' ' || c == u'\t')
            continue;
        out += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
    }
    return out;
}

bool isDigits(std::u16string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// A letter alone or followed by digits ("R", "R1", "X2").
bool letterWithNumber(std::u16string_view name, char16_t letter)
{
    return !name.empty() && name[0] == letter && isDigits(name.substr(1));
}

bool contains(std::u16string_view name, std::u16string_view part)
{
    return name.find(part) != std::u16string_view::npos;
}

} // namespace

ChannelRole roleOfChannelName(std::u16string_view raw)
{
    const std::u16string name = normalised(raw);
    if (name.empty())
        return ChannelRole::None;
    if (name == u"X微调" || name == u"XFINE" || name == u"PANFINE")
        return ChannelRole::PanFine;
    if (name == u"Y微调" || name == u"YFINE" || name == u"TILTFINE")
        return ChannelRole::TiltFine;
    if (letterWithNumber(name, u'X') || name == u"PAN" || name == u"水平")
        return ChannelRole::Pan;
    if (letterWithNumber(name, u'Y') || name == u"TILT" || name == u"垂直")
        return ChannelRole::Tilt;
    if (letterWithNumber(name, u'R') || name == u"RED" || name == u"红" || name == u"红色")
        return ChannelRole::Red;
    if (letterWithNumber(name, u'G') || name == u"GREEN" || name == u"绿" || name == u"绿色")
        return ChannelRole::Green;
    if (letterWithNumber(name, u'B') || name == u"BLUE" || name == u"蓝" || name == u"蓝色")
        return ChannelRole::Blue;
    if (letterWithNumber(name, u'W') || name == u"WHITE" || name == u"白" || name == u"白色")
        return ChannelRole::White;
    if (letterWithNumber(name, u'A') || name == u"AMBER" || name == u"琥珀" || name == u"琥珀色")
        return ChannelRole::Amber;
    if (contains(name, u"调光") || name == u"DIMMER" || name == u"DIM")
        return ChannelRole::Dimmer;
    return ChannelRole::None;
}

FixtureLook lookOf(const std::vector<ChannelRole>& roles, const std::vector<uint8_t>& levels)
{
    FixtureLook look;
    double r = 0, g = 0, b = 0;
    bool colourChannel = false;
    std::optional<double> dimmer;
    int pan = -1, panFine = 0, tilt = -1, tiltFine = 0;
    const std::size_t n = std::min(roles.size(), levels.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double v = levels[i];
        switch (roles[i]) {
        case ChannelRole::Red:
            r = std::max(r, v);
            colourChannel = true;
            break;
        case ChannelRole::Green:
            g = std::max(g, v);
            colourChannel = true;
            break;
        case ChannelRole::Blue:
            b = std::max(b, v);
            colourChannel = true;
            break;
        case ChannelRole::White:
            r = std::max(r, v), g = std::max(g, v), b = std::max(b, v);
            colourChannel = true;
            break;
        case ChannelRole::Amber:
            r = std::max(r, v), g = std::max(g, v * 0.75);
            colourChannel = true;
            break;
        case ChannelRole::Dimmer:
            // Several dimmers (colour, gobo) light the fixture as the brightest one does.
            dimmer = std::max(dimmer.value_or(0), v / 255.0);
            break;
        case ChannelRole::Pan:
            pan = levels[i];
            break;
        case ChannelRole::PanFine:
            panFine = levels[i];
            break;
        case ChannelRole::Tilt:
            tilt = levels[i];
            break;
        case ChannelRole::TiltFine:
            tiltFine = levels[i];
            break;
        case ChannelRole::None:
            break;
        }
    }
    if (!colourChannel && dimmer)
        r = g = b = 255; // a plain dimmer fixture lights white
    const double scale = dimmer.value_or(1.0);
    auto toByte = [scale](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v * scale, 0.0, 255.0))); };
    look.hasColour = colourChannel || dimmer.has_value();
    if (look.hasColour)
        look.colour = {toByte(r), toByte(g), toByte(b)};
    if (pan >= 0)
        look.pan = (pan * 256 + panFine) / 65535.0;
    if (tilt >= 0)
        look.tilt = (tilt * 256 + tiltFine) / 65535.0;
    return look;
}

void MonitorModel::rebuild(const fixtures::FixtureLibrary& library, const fixtures::ChannelDefinitions& names)
{
    const fixtures::AddressMap map(library);
    groups.clear();
    for (int i = 1; i <= fixtures::kFixtureCount; ++i) {
        if (!library.fixtureIsValid(i))
            continue;
        const fixtures::Fixture& f = library.fixture(i);
        FixtureGroup group;
        group.fixture = i;
        group.name = f.name;
        group.overlaps = !map.overlapsOf(i).empty();
        for (int c = 1; c <= f.channelCount && c <= fixtures::kMaxChannels; ++c) {
            const int address = f.startAddress + c - 1;
            if (address > kUniverseSize)
                break;
            const std::u16string& definition = names.name(f.channelCode[static_cast<std::size_t>(c)]);
            group.rows.push_back({address, c, definition, 0, map.shared(address)});
            group.roles.push_back(roleOfChannelName(definition));
        }
        if (!group.rows.empty())
            groups.push_back(std::move(group));
    }
    unowned.clear();
    for (int a = 1; a <= kUniverseSize; ++a)
        if (map.owners(a).empty())
            unowned.push_back(a);
    update(levels, {});
}

void MonitorModel::update(const DmxFrame& frame, const RoomOutputs& room)
{
    levels = frame;
    std::vector<uint8_t> fixtureLevels;
    for (FixtureGroup& group : groups) {
        fixtureLevels.clear();
        for (ChannelRow& row : group.rows) {
            row.level = frame[static_cast<std::size_t>(row.address)];
            fixtureLevels.push_back(row.level);
        }
        group.look = lookOf(group.roles, fixtureLevels);
    }
    for (int k = 1; k <= kRelayCount; ++k)
        relays[static_cast<std::size_t>(k)] = room.debugRelays[static_cast<std::size_t>(k)] != 0
                                              || room.sceneRelays[static_cast<std::size_t>(k)] != 0;
    thyristorDimming = room.thyristorDimming;
    dimmers = room.dimmers;
}

uint8_t MonitorModel::level(int address) const
{
    return address >= 1 && address <= kUniverseSize ? levels[static_cast<std::size_t>(address)] : 0;
}

bool MonitorModel::relayOn(int k) const
{
    return k >= 1 && k <= kRelayCount && relays[static_cast<std::size_t>(k)];
}

uint8_t MonitorModel::dimmer(int k) const
{
    return k >= 1 && k <= kDimmerCount ? dimmers[static_cast<std::size_t>(k)] : 0;
}

} // namespace rz::liveout
