#include "model/User.h"

#include <algorithm>
#include <set>

namespace vexamo {

namespace {

// An extension plays with one player only: one that an earlier player (or this one) already has
// is dropped. The unknown extensions keep their places among those that stay.
void DropTakenExtensions(TUserPlayer& user, std::set<std::string>& taken) {
    std::vector<TExtension> kept;
    std::vector<size_t> keptBefore(user.Extensions.size() + 1, 0);
    for (size_t i = 0; i < user.Extensions.size(); ++i) {
        if (taken.insert(user.Extensions[i].Ext).second) kept.push_back(std::move(user.Extensions[i]));
        keptBefore[i + 1] = kept.size();
    }
    for (TKeptExtension& unknown : user.UnknownExtensions)
        unknown.Before = keptBefore[std::min(unknown.Before, user.Extensions.size())];
    user.Extensions = std::move(kept);
}

}  // namespace

void TUserPlayer::AddExtension(const std::string& ext) {
    TExtension e;
    e.Ext = ext;
    e.Disc = DiscKindOf(ext);
    if (e.Disc != DiscKind::None) {
        e.Kind = 1;  // every disc of these kinds is a film
    } else {
        // Without a kind an extension could never be scanned or listed.
        e.KnownIndex = KnownIndexOf(ext);
        if (e.KnownIndex < 0) return;
        e.Kind = static_cast<std::uint8_t>(KindOfExtension(ext));
    }
    Extensions.push_back(std::move(e));
}

int TUserPlayer::IndexOfExtension(const std::string& ext) const {
    for (size_t i = 0; i < Extensions.size(); ++i)
        if (Extensions[i].Ext == ext) return static_cast<int>(i);
    return -1;
}

int TUserPlayer::CountKind(int kind) const {
    return static_cast<int>(std::count_if(Extensions.begin(), Extensions.end(),
                                          [kind](const TExtension& e) { return e.Kind == kind; }));
}

void TUserPlayer::SaveToIni(const std::string& path) const {
    const std::string& section = Player->Name;
    StringList exts;
    auto unknown = UnknownExtensions.begin();
    for (size_t i = 0; i <= Extensions.size(); ++i) {
        for (; unknown != UnknownExtensions.end() && unknown->Before <= i; ++unknown) exts.push_back(unknown->Ext);
        if (i < Extensions.size()) exts.push_back(Extensions[i].Ext);
    }
    WriteIniString(path, section, "Name", section);
    WriteIniString(path, section, "Prompt", PromptWords[Prompt == 0 ? 0 : 1]);
    WriteIniString(path, section, "Ext", JoinList(exts, ";"));
}

void TUserPlayer::LoadFromIni(const std::string& path, const std::string& section,
                              const std::string& catalogueFileName) {
    LoadFromSections(ReadIniSection(path, section), ReadIniSection(ExtractFilePath(path) + catalogueFileName, section),
                     section);
}

void TUserPlayer::LoadFromSections(const IniSection& selection, const IniSection& catalogue,
                                   const std::string& section) {
    Player = std::make_unique<TPlayer>();
    Player->Name = section;
    // Anything but an exact "Yes" (including a missing value) plays without asking.
    Prompt = selection.String("prompt") == PromptWords[0] ? 0 : 1;
    const std::string ext = selection.String("ext");
    Player->LoadFromSection(catalogue, section);
    Extensions.clear();
    UnknownExtensions.clear();
    for (const std::string& piece : SplitString(ext, ';')) {
        if (KnownIndexOf(piece) >= 0 || DiscKindOf(piece) != DiscKind::None)
            AddExtension(piece);
        else if (!piece.empty())
            UnknownExtensions.push_back(TKeptExtension{Extensions.size(), piece});
    }
}

void TSelectedPlayer::AddNew() { Players.push_back(std::make_shared<TUserPlayer>()); }

int TSelectedPlayer::IndexOfPlayer(const std::string& name) const {
    for (size_t i = 0; i < Players.size(); ++i)
        if (Players[i]->Player->Name == name) return static_cast<int>(i);
    return -1;
}

std::unique_ptr<TSelectedPlayer> TSelectedPlayer::Without(const std::string& name) const {
    auto result = std::make_unique<TSelectedPlayer>();
    for (const auto& p : Players)
        if (p->Player->Name != name) result->Players.push_back(p);
    return result;
}

bool TSelectedPlayer::AnyPrompt() const {
    return std::any_of(Players.begin(), Players.end(), [](const auto& p) { return p->Prompt == 0; });
}

std::unique_ptr<TSelectedPlayer> LoadSelection(const std::string& folder) {
    const std::string selection = folder + SelectionFileName;
    const std::string players = folder + PlayersFileName;
    auto result = std::make_unique<TSelectedPlayer>();
    // A hand-edited or merged file may give an extension to two players: the first keeps it. The
    // file is left as it is; the later player's section loses it when it is next written.
    std::set<std::string> taken;
    // Each file read once: a section read on its own searches the whole file again.
    const IniFile selectionFile = ReadIniFile(selection), playersFile = ReadIniFile(players);
    for (const std::string& name : selectionFile.Sections()) {
        const IniSection catalogue = playersFile.Section(name);
        const bool known = catalogue.Exists() || std::find(DefaultPlayerNames.begin(), DefaultPlayerNames.end(),
                                                           name) != DefaultPlayerNames.end();
        if (!known || !Sys().FileExists(catalogue.String("exe"))) continue;
        result->AddNew();
        result->Players.back()->LoadFromSections(selectionFile.Section(name), catalogue, name);
        DropTakenExtensions(*result->Players.back(), taken);
    }
    return result;
}

TUserPlayer* AddToSelection(TSelectedPlayer& selection, const std::string& folder, const std::string& name,
                            const StringList& extensions, bool prompt) {
    if (extensions.empty()) return nullptr;
    auto user = std::make_shared<TUserPlayer>();
    for (const std::string& ext : extensions) user->AddExtension(ext);
    user->Player->LoadFromIni(folder + PlayersFileName, name);
    user->Prompt = prompt ? 0 : 1;
    // The scan uses the selection in memory: a player joins it only once its section is on disk.
    const std::string path = folder + SelectionFileName;
    const bool existed = IniSectionExists(path, name);
    try {
        user->SaveToIni(path);
    } catch (...) {
        // A section written in part would come back at the next load as a player nobody added.
        if (!existed) {
            try {
                DeleteIniSectionOrFile(path, name);
            } catch (...) {
                // Best effort: the error that counts is the one of the write.
            }
        }
        throw;
    }
    selection.Players.push_back(user);
    return user.get();
}

std::intptr_t RunProgram(const std::string& exe, const std::string& parameters) {
    // No message box for a player that fails to start: the caller decides what the user hears of it.
    return Sys().ShellOpen(exe, parameters);
}

}  // namespace vexamo
