#include "platform/ui/Colors.h"

#include <QApplication>
#include <QPalette>

namespace platform::ui {

namespace {

// The platform's system colour indexes and the palette role that stands for each.
QColor systemColor(unsigned index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 0x00: // scroll bar
        return palette.color(QPalette::Mid);
    case 0x01: // desktop
    case 0x0C: // application workspace
        return palette.color(QPalette::Dark);
    case 0x02: // active caption
    case 0x0A: // active border
    case 0x0D: // highlight
        return palette.color(QPalette::Highlight);
    case 0x03: // inactive caption
    case 0x0B: // inactive border
        return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 0x04: // menu
        return palette.color(QPalette::Window);
    case 0x05: // window
        return palette.color(QPalette::Base);
    case 0x06: // window frame
    case 0x15: // 3D dark shadow
        return palette.color(QPalette::Shadow);
    case 0x07: // menu text
        return palette.color(QPalette::WindowText);
    case 0x08: // window text
        return palette.color(QPalette::Text);
    case 0x09: // caption text
    case 0x0E: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 0x0F: // button face
        return palette.color(QPalette::Button);
    case 0x10: // button shadow
        return palette.color(QPalette::Dark);
    case 0x11: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 0x12: // button text
        return palette.color(QPalette::ButtonText);
    case 0x13: // inactive caption text
        return palette.color(QPalette::Inactive, QPalette::HighlightedText);
    case 0x14: // button highlight
        return palette.color(QPalette::Light);
    case 0x16: // 3D light
        return palette.color(QPalette::Midlight);
    case 0x17: // tool-tip text
        return palette.color(QPalette::ToolTipText);
    case 0x18: // tool-tip background
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor toQColor(OleColor value)
{
    if (value & kSystemColorFlag) {
        return systemColor(value & 0xFFu);
    }
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

OleColor fromQColor(const QColor& color)
{
    return rgb(color.red(), color.green(), color.blue());
}

} // namespace platform::ui
