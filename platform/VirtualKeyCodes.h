// Virtual key codes of the US ANSI keyboard (Carbon's kVK_ constants) for the keys the agent
// and the simulated keyboard name.
#pragma once

#include <cstdint>

namespace vantor::platform::vk {

inline constexpr std::uint16_t A = 0;              // kVK_ANSI_A
inline constexpr std::uint16_t H = 4;              // kVK_ANSI_H
inline constexpr std::uint16_t Q = 12;             // kVK_ANSI_Q
inline constexpr std::uint16_t Equal = 24;         // kVK_ANSI_Equal
inline constexpr std::uint16_t Minus = 27;         // kVK_ANSI_Minus
inline constexpr std::uint16_t Return = 36;        // kVK_Return
inline constexpr std::uint16_t Tab = 48;           // kVK_Tab
inline constexpr std::uint16_t Space = 49;         // kVK_Space
inline constexpr std::uint16_t Delete = 51;        // kVK_Delete (backspace)
inline constexpr std::uint16_t Escape = 53;        // kVK_Escape
inline constexpr std::uint16_t RightCommand = 54;  // kVK_RightCommand
inline constexpr std::uint16_t LeftCommand = 55;   // kVK_Command
inline constexpr std::uint16_t LeftShift = 56;     // kVK_Shift
inline constexpr std::uint16_t LeftOption = 58;    // kVK_Option
inline constexpr std::uint16_t LeftControl = 59;   // kVK_Control
inline constexpr std::uint16_t RightShift = 60;    // kVK_RightShift
inline constexpr std::uint16_t RightOption = 61;   // kVK_RightOption
inline constexpr std::uint16_t RightControl = 62;  // kVK_RightControl
inline constexpr std::uint16_t LeftArrow = 123;    // kVK_LeftArrow
inline constexpr std::uint16_t RightArrow = 124;   // kVK_RightArrow
inline constexpr std::uint16_t DownArrow = 125;    // kVK_DownArrow
inline constexpr std::uint16_t UpArrow = 126;      // kVK_UpArrow

}  // namespace vantor::platform::vk
