// The user's selection of players (Selection.ini): which players the program uses, the extensions
// each plays and whether to ask first; and the start of a program through the shell.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/PlayersCfg.h"
#include "model/VexaCfg.h"

namespace vexamo {

// Whether the chooser asks first, the position of its words below.
constexpr std::uint8_t PromptYes = 0;
constexpr std::uint8_t PromptNo = 1;
inline const std::array<std::string, 2> PromptWords = {"Yes", "No"};

// An extension, or a kind of disc played as a whole ("DVD-Video"): then KnownIndex is -1, Kind is
// video and Found holds the drive roots of such discs.
struct TExtension {
    std::int32_t KnownIndex = -1;
    std::uint8_t Kind = 0;
    std::string Ext;
    std::unique_ptr<TPlaylist> Found;  // null until a scan finds a file
    DiscKind Disc = DiscKind::None;
};

// An extension of a hand-edited Selection.ini that the program does not know. It has no kind and
// no place in any list the user sees, but goes back to the file where it stood: after the first
// `Before` entries of Extensions.
struct TKeptExtension {
    size_t Before = 0;
    std::string Ext;
};

class TUserPlayer {
public:
    std::unique_ptr<TPlayer> Player = std::make_unique<TPlayer>();
    std::uint8_t Prompt = PromptYes;
    std::vector<TExtension> Extensions;
    std::vector<TKeptExtension> UnknownExtensions;

    // An extension outside KnownExtensions (and no disc kind) has no kind and is not added.
    void AddExtension(const std::string& ext);
    int IndexOfExtension(const std::string& ext) const;
    int CountKind(int kind) const;
    void SaveToIni(const std::string& path) const;
    void LoadFromIni(const std::string& path, const std::string& section, const std::string& catalogueFileName);
    // The same from the player's sections of the selection and of the catalogue, already read.
    void LoadFromSections(const IniSection& selection, const IniSection& catalogue, const std::string& section);
};

class TSelectedPlayer {
public:
    std::vector<std::shared_ptr<TUserPlayer>> Players;

    void AddNew();
    int IndexOfPlayer(const std::string& name) const;
    std::unique_ptr<TSelectedPlayer> Without(const std::string& name) const;
    bool AnyPrompt() const;
};

// Builds the selection from Selection.ini and Players.ini in the given folder. An extension two
// sections claim goes to the first of them only.
std::unique_ptr<TSelectedPlayer> LoadSelection(const std::string& folder);

// Appends the catalogue player `name` (from folder + Players.ini) with the given extensions to the
// selection and writes its section of folder + Selection.ini. Without extensions nothing is added
// and null is returned: the caller tells the user. A write that fails adds nothing and raises.
TUserPlayer* AddToSelection(TSelectedPlayer& selection, const std::string& folder, const std::string& name,
                            const StringList& extensions, bool prompt);

// Starts a program through the shell and returns the shell's answer (above 32: started).
std::intptr_t RunProgram(const std::string& exe, const std::string& parameters);

}  // namespace vexamo
