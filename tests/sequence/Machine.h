// The machine a sequence runs on: Vexamo's folder and settings, the players, the registry values
// that belong to Windows, an administrator and another program, and the two CD drives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/FakePlatform.h"

namespace vexamo::sequence {

inline const std::string Folder = "C:\\Vexamo\\";
inline const std::string PlayerExe = "C:\\Player\\player.exe";
inline const std::string OtherExe = "C:\\Other\\other.exe";
inline const std::string WinampExe = "C:\\Winamp\\winamp.exe";
inline const std::string NewExe = "C:\\Tools\\new.exe";
inline const std::string MissingExe = "C:\\Gone\\gone.exe";

// An administrator switched AutoPlay off for every kind of drive; another program starts itself
// at logon under the name Vexamo uses.
constexpr std::uint32_t AdministratorsAutoPlayPolicy = 0xFF;
inline const std::string ForeignRunValue = "\"C:\\Tools\\vexamo-sync.exe\" /background";

// The tray pictures, told apart by the invariants.
constexpr std::uintptr_t TrayOnPicture = 1;
constexpr std::uintptr_t TrayOffPicture = 2;

// The discs the user puts into the drives.
struct Disc {
    std::string Label;
    std::vector<std::string> Files;  // from the drive's root
};
extern const std::vector<Disc> Discs;
void PutDisc(test::FakePlatform& fake, const std::string& drive, int disc);
void TakeDisc(test::FakePlatform& fake, const std::string& drive, int disc);

// Sets the machine up as the seed says; `loaded` gets the disc in D: and E: (-1 for none).
// Returns a one-line description.
std::string BuildMachine(test::FakePlatform& fake, std::uint64_t seed, int loaded[2]);

}  // namespace vexamo::sequence
