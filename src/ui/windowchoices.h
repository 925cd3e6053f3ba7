#pragma once

#include <QStringView>

#include <array>

namespace kovrant {

// The five modes of the main window, in the order of their buttons and panels.
enum class MainMode {
    BatchDivide,
    Combine,
    BatchCombine,
    ExtensionSettings,
    ExtensionTool,
};
inline constexpr int ModeCount = 5;

// The position of a mode's button and panel.
constexpr std::size_t ModeIndex(MainMode mode)
{
    return static_cast<std::size_t>(mode);
}

// What each list of the extension settings offers, in order; the settings keep a position in
// the first two. File extensions, not words: the same in every language.
inline constexpr std::array<QStringView, 3> LyricsExtensionChoices{u".LRC", u".KRA", u".TXT"};
inline constexpr std::array<QStringView, 3> SourceExtensionChoices{u".TXT", u".SRC", u".SZI"};
inline constexpr std::array<QStringView, 1> TtdExtensionChoices{u".TTD"};

} // namespace kovrant
