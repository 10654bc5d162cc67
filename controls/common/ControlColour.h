#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>
#include <array>

// Colours of the controls are stored as 32-bit values in the 0x00BBGGRR order.
// A value with the high bit set names a system colour by its index in the low
// byte; it is shown in the matching role of the widget's palette, so the control
// follows the desktop's colour scheme.
struct ControlColour
{
    static constexpr quint32 kSystemFlag = 0x80000000u;

    static constexpr quint32 kButtonFace = 0x8000000Fu;
    static constexpr quint32 kButtonText = 0x80000012u;
    static constexpr quint32 kWindowBackground = 0x80000005u;
    static constexpr quint32 kWindowText = 0x80000008u;

    static constexpr quint32 rgb(int red, int green, int blue)
    {
        return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
    }

    static constexpr bool isSystem(quint32 value) { return (value & kSystemFlag) != 0; }

    static QColor toColor(quint32 value, const QPalette &palette)
    {
        if (!isSystem(value))
            return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
        const SystemRole role = systemRole(value & 0xFF);
        return palette.color(role.group, role.role);
    }

    static quint32 fromColor(const QColor &colour)
    {
        return rgb(colour.red(), colour.green(), colour.blue());
    }

private:
    struct SystemRole
    {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };

    static SystemRole systemRole(quint32 index)
    {
        constexpr auto N = QPalette::Normal;
        constexpr auto D = QPalette::Disabled;
        // Indexed by the system colour number.
        static constexpr std::array<SystemRole, 31> kRoles {{
            {N, QPalette::Midlight}, //  0 scroll bar
            {N, QPalette::Dark}, //  1 desktop
            {N, QPalette::Highlight}, //  2 active caption
            {N, QPalette::Mid}, //  3 inactive caption
            {N, QPalette::Window}, //  4 menu background
            {N, QPalette::Base}, //  5 window background
            {N, QPalette::Shadow}, //  6 window frame
            {N, QPalette::WindowText}, //  7 menu text
            {N, QPalette::Text}, //  8 window text
            {N, QPalette::HighlightedText}, //  9 caption text
            {N, QPalette::Button}, // 10 active border
            {N, QPalette::Window}, // 11 inactive border
            {N, QPalette::Mid}, // 12 application workspace
            {N, QPalette::Highlight}, // 13 highlight
            {N, QPalette::HighlightedText}, // 14 highlighted text
            {N, QPalette::Button}, // 15 button face
            {N, QPalette::Dark}, // 16 button shadow
            {D, QPalette::Text}, // 17 grey text
            {N, QPalette::ButtonText}, // 18 button text
            {D, QPalette::WindowText}, // 19 inactive caption text
            {N, QPalette::Light}, // 20 button highlight
            {N, QPalette::Shadow}, // 21 3D dark shadow
            {N, QPalette::Midlight}, // 22 3D light
            {N, QPalette::ToolTipText}, // 23 tool tip text
            {N, QPalette::ToolTipBase}, // 24 tool tip background
            {N, QPalette::Window}, // 25 unused
            {N, QPalette::Link}, // 26 hot-tracked item
            {N, QPalette::Highlight}, // 27 active caption gradient
            {N, QPalette::Mid}, // 28 inactive caption gradient
            {N, QPalette::Highlight}, // 29 menu highlight
            {N, QPalette::Window}, // 30 menu bar
        }};
        if (index < kRoles.size())
            return kRoles[index];
        return {N, QPalette::WindowText};
    }
};
