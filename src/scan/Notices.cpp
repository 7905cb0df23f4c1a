#include "scan/Notices.h"

#include <array>

#include "platform/Utf8.h"

namespace vexamo {

namespace {

// "D:\ (MY_DISC)", "D:\", or "D:\ and E:\": a label only names the disc of a single drive.
std::string Place(const StringList& drives, const std::string& label) {
    std::string text;
    for (size_t i = 0; i < drives.size(); ++i) {
        if (i > 0) text += i + 1 == drives.size() ? " and " : ", ";
        text += drives[i];
    }
    if (drives.size() == 1 && !label.empty()) text += " (" + label + ")";
    return text;
}

// The disc of each kind as a sentence names it, by DiscKind.
const std::array<std::string, 5> DiscWords = {"the DVD", "the Blu-ray disc", "the Video CD", "the Super Video CD",
                                              "the audio CD"};

}  // namespace

std::string PlayingNotice(const std::string& player, const TLaunch& launch, const StringList& drives,
                          const std::string& label) {
    if (launch.Disc != DiscKind::None)
        return FitBalloon("Playing " + DiscWords.at(static_cast<size_t>(launch.Disc)) + " in " + launch.DiscRoot +
                          " with " + player);
    const std::string what =
        launch.Files == 1 ? ExtractFileName(launch.FirstFile) : std::to_string(launch.Files) + " files";
    return FitBalloon("Playing " + what + " from " + Place(drives, label) + " with " + player);
}

std::string NothingToPlayNotice(const StringList& drives, const std::string& label) {
    return FitBalloon("Nothing on " + Place(drives, label) +
                      " for your players: give its file types to a player in the configuration window");
}

std::string NotStartedNotice(const std::string& player, const std::string& exe, std::intptr_t shellResult,
                             bool missing) {
    // The shell's 2 and 3 are "file not found" and "path not found".
    const std::string why = missing || shellResult == 2 || shellResult == 3
                                ? exe + " is missing"
                                : "Windows answered error " + std::to_string(shellResult) + " for " + exe;
    return FitBalloon(player + " could not be started: " + why);
}

std::string FitBalloon(const std::string& text) {
    constexpr std::size_t visible = BalloonTextSize - 1;
    if (text.size() <= visible) return text;
    // Cut between characters: half a character would show as a replacement sign.
    return std::string(CutAtCharacter(text, visible - 3)) + "...";
}

}  // namespace vexamo
