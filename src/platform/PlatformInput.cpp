#include "platform/PlatformInput.h"

#include <charconv>
#include <limits>
#include <sstream>
#include <vector>

namespace Flurr {

std::string EventToText(const PlatformEvent& event) {
    std::ostringstream out;
    switch (event.kind) {
    case PlatformEvent::Window:
        out << "W " << event.a << ' ' << event.b << ' ' << event.c;
        break;
    case PlatformEvent::Key:
        out << "K " << event.a << ' ' << event.b;
        break;
    case PlatformEvent::Focus:
        out << "F " << event.a;
        break;
    case PlatformEvent::Pad: {
        const PadState& p = event.pad;
        out << "P " << (p.connected ? 1 : 0) << ' ' << p.buttons << ' ' << int(p.leftTrigger) << ' '
            << int(p.rightTrigger) << ' ' << p.thumbLX << ' ' << p.thumbLY << ' ' << p.thumbRX
            << ' ' << p.thumbRY;
        break;
    }
    }
    return out.str();
}

namespace {

// The whitespace-separated whole numbers after the tag; false when any
// word is not a number.
bool SplitNumbers(const std::string& text, std::vector<int64_t>& numbers) {
    std::size_t i = 1;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i >= text.size())
            break;
        int64_t n = 0;
        auto res = std::from_chars(text.data() + i, text.data() + text.size(), n);
        if (res.ec != std::errc() || (res.ptr != text.data() + text.size() && *res.ptr != ' '))
            return false;
        numbers.push_back(n);
        i = static_cast<std::size_t>(res.ptr - text.data());
    }
    return true;
}

template <typename T> bool Fits(int64_t n) {
    return n >= std::numeric_limits<T>::min() && n <= std::numeric_limits<T>::max();
}

} // namespace

std::optional<PlatformEvent> EventFromText(const std::string& text) {
    if (text.size() < 2 || text[1] != ' ')
        return std::nullopt;
    std::vector<int64_t> n;
    if (!SplitNumbers(text, n))
        return std::nullopt;
    switch (text[0]) {
    case 'W':
        if (n.size() != 3 || !Fits<int32_t>(n[0]) || !Fits<int32_t>(n[1]) || !Fits<int32_t>(n[2]))
            return std::nullopt;
        return PlatformEvent::WindowMessage(int32_t(n[0]), int32_t(n[1]), int32_t(n[2]));
    case 'K':
        if (n.size() != 2 || !Fits<uint8_t>(n[0]) || (n[1] != 0 && n[1] != 1))
            return std::nullopt;
        return PlatformEvent::KeyState(uint8_t(n[0]), n[1] == 1);
    case 'F':
        if (n.size() != 1 || (n[0] != 0 && n[0] != 1))
            return std::nullopt;
        return PlatformEvent::FocusState(n[0] == 1);
    case 'P': {
        if (n.size() != 8 || (n[0] != 0 && n[0] != 1) || !Fits<uint16_t>(n[1]) ||
            !Fits<uint8_t>(n[2]) || !Fits<uint8_t>(n[3]))
            return std::nullopt;
        for (int i = 4; i < 8; ++i)
            if (!Fits<int16_t>(n[i]))
                return std::nullopt;
        PadState p;
        p.connected = n[0] == 1;
        p.buttons = uint16_t(n[1]);
        p.leftTrigger = uint8_t(n[2]);
        p.rightTrigger = uint8_t(n[3]);
        p.thumbLX = int16_t(n[4]);
        p.thumbLY = int16_t(n[5]);
        p.thumbRX = int16_t(n[6]);
        p.thumbRY = int16_t(n[7]);
        return PlatformEvent::PadChange(p);
    }
    default:
        return std::nullopt;
    }
}

void PlatformInput::Apply(const PlatformEvent& event) {
    switch (event.kind) {
    case PlatformEvent::Key:
        if (event.a >= 0 && event.a < 256)
            keys[event.a] = event.b != 0;
        break;
    case PlatformEvent::Focus:
        focused = event.a != 0;
        break;
    case PlatformEvent::Pad:
        pad = event.pad;
        break;
    case PlatformEvent::Window:
        break;
    }
}

} // namespace Flurr
