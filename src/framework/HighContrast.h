#pragma once
// Whether the user has a high-contrast theme on: every colour the program chooses itself then gives way
// to the system's colours, which such a theme sets.
namespace fw {

// The system's answer (SPI_GETHIGHCONTRAST); where it says off, the setting as the user's profile
// keeps it (HKCU\Control Panel\Accessibility\HighContrast, Flags), which some systems that emulate
// Windows (Wine) never report through the call. Asked afresh each time: a theme switched while the
// program runs is followed.
bool HighContrastOn();

}  // namespace fw
