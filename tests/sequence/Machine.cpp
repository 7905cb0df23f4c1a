#include "sequence/Machine.h"

#include "model/PlayersCfg.h"
#include "model/general.h"
#include "sequence/World.h"

namespace vexamo::sequence {

const std::vector<Disc> Discs = {
    {"FILMS", {"film.avi", "film.srt", "Extras\\making of.mpg", "Extras\\trailer.divx"}},
    {"MUSIC", {"01 intro.mp3", "02 song.mp3", "bonus\\live.wav", "bonus\\live.ogg"}},
    {"MIXED", {"clip.avi", "track.mp3", "video\\talk.mov", "video\\talk.sub"}},
    {"", {"readme.txt", "setup\\install.exe"}},  // a data disc without a label
};

void PutDisc(test::FakePlatform& fake, const std::string& drive, int disc) {
    const Disc& d = Discs.at(static_cast<size_t>(disc));
    for (const std::string& file : d.Files) fake.AddFile(drive + file, "media");
    fake.SetDisc(drive, d.Label);
}

void TakeDisc(test::FakePlatform& fake, const std::string& drive, int disc) {
    for (const std::string& file : Discs.at(static_cast<size_t>(disc)).Files) fake.DeleteFile(drive + file);
    fake.SetDisc(drive, std::nullopt);
}

std::string BuildMachine(test::FakePlatform& fake, std::uint64_t seed, int loaded[2]) {
    Rng rng(seed ^ 0x6D616368696E65ULL);
    std::string about;
    auto note = [&](const std::string& text) { about += (about.empty() ? "" : "; ") + text; };

    fake.AddDrive("C:\\", DriveKind::Fixed);
    fake.AddDrive("D:\\", DriveKind::CdRom);
    fake.AddDrive("E:\\", DriveKind::CdRom);
    fake.AddFolder("C:\\Vexamo");
    fake.AddFolder("C:\\Subs");
    for (const std::string& exe : {PlayerExe, OtherExe, NewExe}) fake.AddFile(exe);

    const bool autoRun = rng.Chance(90);
    fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, autoRun ? 1 : 0);
    if (!autoRun) note("CD-ROM AutoRun off");
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, AdministratorsAutoPlayPolicy);
    fake.SetRegString(RegRoot::CurrentUser, RunKey, AutoStartValueName, ForeignRunValue);
    fake.AddRegKey(RegRoot::LocalMachine, RunKey);
    if (rng.Chance(50)) {
        // An ordinary user: the machine-wide Run key opens for reading only.
        fake.DenyRegKey(RegRoot::LocalMachine, RunKey);
        note("ordinary user");
    } else {
        note("administrator");
    }
    if (rng.Chance(50)) {
        const DefaultPlayer& winamp = DefaultPlayers[2];
        fake.SetRegString(RegRoot::LocalMachine, winamp.RegistryKey, "", "\"" + WinampExe + "\" \"%1\"");
        fake.AddFile(WinampExe);
        note("Winamp installed");
    }

    fake.AddFile(Folder + PlayersFileName, "[Stand-In]\r\nexe=" + PlayerExe + "\r\next=.m3u\r\n"
                                           "[Other]\r\nexe=" + OtherExe + "\r\nplaylist=\r\n");
    const std::vector<std::pair<std::string, std::string>> selections = {
        {"no Selection.ini", ""},
        {"Stand-In .avi", "[Stand-In]\r\nName=Stand-In\r\nPrompt=No\r\nExt=.avi\r\n"},
        {"Stand-In .avi.mpg (prompt), Other .mp3",
         "[Stand-In]\r\nName=Stand-In\r\nPrompt=Yes\r\nExt=.avi;.mpg\r\n"
         "[Other]\r\nName=Other\r\nPrompt=No\r\nExt=.mp3\r\n"},
        {"Other .mp3.wav (prompt)", "[Other]\r\nName=Other\r\nPrompt=Yes\r\nExt=.mp3;.wav\r\n"},
        {"Stand-In .avi, Other .mp3", "[Stand-In]\r\nName=Stand-In\r\nPrompt=No\r\nExt=.avi\r\n"
                                      "[Other]\r\nName=Other\r\nPrompt=No\r\nExt=.mp3\r\n"},
    };
    const auto& selection = rng.Pick(selections);
    if (!selection.second.empty()) fake.AddFile(Folder + SelectionFileName, selection.second);
    note(selection.first);

    const std::vector<std::pair<std::string, std::string>> settings = {
        {"no Vexamo.ini", ""},
        {"monitoring on", "[Main]\r\nStatus=On\r\n"},
        {"monitoring off", "[Main]\r\nStatus=Off\r\n"},
        {"monitoring on, E: only, priority to Other",
         "[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=E:\\\r\n[Priority]\r\nUser=1\r\nChoice=1\r\nPlayer=Other\r\n"},
        {"monitoring on, closes after play", "[Main]\r\nStatus=On\r\n[Monitor]\r\nOnPlayClose=1\r\n"},
    };
    const auto& ini = settings[static_cast<size_t>(rng.Chance(70) ? 1 : rng.Below(static_cast<int>(settings.size())))];
    if (!ini.second.empty()) fake.AddFile(Folder + SettingsFileName, ini.second);
    note(ini.first);

    loaded[0] = loaded[1] = -1;
    if (rng.Chance(30)) {
        loaded[0] = rng.Below(static_cast<int>(Discs.size()));
        PutDisc(fake, "D:\\", loaded[0]);
        const std::string& label = Discs[static_cast<size_t>(loaded[0])].Label;
        note("disc " + (label.empty() ? std::string("(no label)") : label) + " in D:");
    }
    return about;
}

}  // namespace vexamo::sequence
