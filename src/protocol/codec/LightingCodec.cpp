#include "protocol/codec/LightingCodec.h"

#include <algorithm>
#include <array>

#include "protocol/codec/ColorBytes.h"

namespace corvane::protocol {

namespace {

constexpr int kModeByte = 4;
constexpr int kLevelsByte = 5;
constexpr int kNibbleMax = 15;

// How SetLighting lays out one mode: the size byte, how many colours follow B5, and
// whether a colour-count byte comes in front of them.
struct LightingLayout {
    int mode;
    std::uint8_t size;
    int colors;
    bool countByte;
};

constexpr auto kLayouts = std::to_array<LightingLayout>({
    {0, 0x02, 0, false},
    {1, 0x03, 0, false}, // B6 = 0
    {2, 0x18, 7, true},  // B6 = 7, the seven colours from B7
    {3, 0x05, 1, false}, // the first colour in B6..B8
    {4, 0x02, 0, false},
    {5, 0x02, 0, false},
});
constexpr std::uint8_t kUnknownModeSize = 0x00;

} // namespace

std::uint8_t packBrightnessSpeed(int brightness, int speed) {
    return static_cast<std::uint8_t>((std::clamp(brightness, 0, kNibbleMax) << 4) |
                                     std::clamp(speed, 0, kNibbleMax));
}

ReportPacket encodeSetLighting(const store::LightEffect& light) {
    ReportPacket packet(Command::SetLighting);
    const auto* layout =
        std::find_if(kLayouts.begin(), kLayouts.end(),
                     [&](const LightingLayout& l) { return l.mode == light.mode; });
    if (layout == kLayouts.end()) {
        packet.setSize(kUnknownModeSize); // every parameter stays zero
        return packet;
    }
    packet.setSize(layout->size);
    packet.setParameter(kModeByte, static_cast<std::uint8_t>(light.mode));
    packet.setParameter(kLevelsByte, packBrightnessSpeed(light.brightness, light.speed));
    int b = kLevelsByte + 1;
    if (layout->countByte) {
        packet.setParameter(b++, static_cast<std::uint8_t>(layout->colors));
    }
    for (int i = 0; i < layout->colors; ++i, b += kColorBytes) {
        putColor(packet, b, light.colorValues[i]);
    }
    return packet;
}

ReportPacket encodeLightControl(LightControlParameter parameter) {
    ReportPacket packet(Command::LightControl);
    packet.setSize(parameter == LightControlParameter::Reset ? 0x04 : 0x01);
    packet.setParameter(4, static_cast<std::uint8_t>(parameter));
    return packet;
}

LightingState decodeLighting(AnswerBytes answer) {
    const int levels = answerAt(answer, kLevelsByte);
    return {answerAt(answer, kModeByte), levels >> 4, levels & 0x0F};
}

} // namespace corvane::protocol
