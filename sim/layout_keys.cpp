// layout_keys.cpp - the table of Layout key codes.
#include "layout_keys.h"

namespace sim {

namespace {

struct LayoutKey {
    Key key;
    int code;
};

constexpr LayoutKey kLayoutKeys[] = {
    {Key::Backspace, 8},     {Key::Tab, 9},         {Key::Return, 13},     {Key::F1, 0x1030},
    {Key::F2, 0x1031},       {Key::F3, 0x1032},     {Key::F4, 0x1033},     {Key::F5, 0x1034},
    {Key::F6, 0x1035},       {Key::F7, 0x1036},     {Key::F8, 0x1037},     {Key::F9, 0x1038},
    {Key::F10, 0x1039},      {Key::Left, 0x1040},   {Key::Right, 0x1041},  {Key::Up, 0x1042},
    {Key::Down, 0x1043},     {Key::Home, 0x1044},   {Key::End, 0x1045},    {Key::PageUp, 0x1046},
    {Key::PageDown, 0x1047}, {Key::Insert, 0x1048}, {Key::Delete, 0x1049}, {Key::Shift, 0x1061},
    {Key::Ctrl, 0x1062},
};

// Characters Layout passes on as their own code: Latin-1 without the controls.
bool hasCharacterCode(uint32_t ch) { return (ch >= 32 && ch <= 126) || (ch >= 160 && ch <= 255); }

}  // namespace

int panelKeyCode(const KeyPress &k) {
    if (k.key == Key::Char) return !k.ctrl && !k.alt && hasCharacterCode(k.ch) ? static_cast<int>(k.ch) : -1;
    for (const LayoutKey &l : kLayoutKeys)
        if (l.key == k.key) return l.code;
    return -1;
}

}  // namespace sim
