// The user's selection: Selection.ini, the players and extensions in memory, and starting a
// program through the shell.
#include <gtest/gtest.h>

#include "model/User.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

const std::string Folder = "C:\\Vexamo\\";
const std::string Selection = Folder + "Selection.ini";
const std::string Players = Folder + "Players.ini";

struct SelectionFile : ::testing::Test {
    FakePlatform fake;
    SelectionFile() {
        fake.AddFolder("C:\\Vexamo");
        fake.AddFile("C:\\BS\\bsplayer.exe");
        fake.AddFile("C:\\WMP\\wmplayer.exe");
        fake.AddFile(Players,
                     "[BsPlayer]\r\nexe=C:\\BS\\bsplayer.exe\r\nindex=1\r\next=.bsl\r\n"
                     "[Windows Media Player]\r\nexe=C:\\WMP\\wmplayer.exe\r\nindex=5\r\n"
                     "[Gone]\r\nexe=C:\\Gone\\gone.exe\r\n");
    }
};

std::shared_ptr<TUserPlayer> UserPlayer(const std::string& name, std::uint8_t prompt) {
    auto p = std::make_shared<TUserPlayer>();
    p->Player->Name = name;
    p->Prompt = prompt;
    return p;
}

}  // namespace

TEST(UserPlayer, ExtensionsGetTheirRowAndKind) {
    TUserPlayer p;
    for (const char* ext : {".avi", ".mpg", ".mp3", ".wmv"}) p.AddExtension(ext);
    ASSERT_EQ(p.Extensions.size(), 4u);
    EXPECT_EQ(p.Extensions[0].KnownIndex, 7);
    EXPECT_EQ(p.Extensions[1].KnownIndex, 10);
    EXPECT_EQ(p.Extensions[1].Kind, 1);
    EXPECT_EQ(p.Extensions[3].Kind, 0);
    EXPECT_EQ(p.CountKind(1), 2);
    EXPECT_EQ(p.CountKind(0), 2);
    EXPECT_EQ(p.IndexOfExtension(".mp3"), 2);
    EXPECT_EQ(p.IndexOfExtension(".MP3"), -1);
    EXPECT_EQ(p.Extensions[0].Found, nullptr);
}

TEST(UserPlayer, UnknownExtensionsAreNotTakenIn) {
    TUserPlayer p;
    for (const char* ext : {"", ".xyz", ".AVI", ".ogg"}) p.AddExtension(ext);
    ASSERT_EQ(p.Extensions.size(), 1u);
    EXPECT_EQ(p.Extensions[0].Ext, ".ogg");
}

TEST(SelectedPlayers, LookupWithoutAndAnyPrompt) {
    TSelectedPlayer none;
    EXPECT_FALSE(none.AnyPrompt());
    EXPECT_EQ(none.IndexOfPlayer("BsPlayer"), -1);
    EXPECT_TRUE(none.Without("BsPlayer")->Players.empty());

    TSelectedPlayer s;
    s.Players = {UserPlayer("BsPlayer", 1), UserPlayer("Winamp", 1), UserPlayer("BsPlayer", 1)};
    EXPECT_FALSE(s.AnyPrompt());
    EXPECT_EQ(s.IndexOfPlayer("BsPlayer"), 0);
    EXPECT_EQ(s.IndexOfPlayer("winamp"), -1);

    auto same = s.Without("Radlight");
    EXPECT_EQ(same->Players, s.Players);
    auto rest = s.Without("BsPlayer");
    ASSERT_EQ(rest->Players.size(), 1u);
    EXPECT_EQ(rest->Players[0], s.Players[1]);  // the same object, not a copy
    EXPECT_EQ(s.Without("bsplayer")->Players.size(), 3u);

    s.Players[1]->Prompt = 0;
    EXPECT_TRUE(s.AnyPrompt());
    EXPECT_FALSE(s.Without("Winamp")->AnyPrompt());

    s.AddNew();
    EXPECT_EQ(s.Players.back()->Prompt, 0);
    EXPECT_TRUE(s.Players.back()->Extensions.empty());
    EXPECT_EQ(s.Players.back()->Player->Name, "");
}

TEST_F(SelectionFile, AddedPlayerIsWrittenAndReadBack) {
    TSelectedPlayer s;
    EXPECT_EQ(AddToSelection(s, Folder, "BsPlayer", {}, true), nullptr);
    EXPECT_TRUE(s.Players.empty());
    EXPECT_FALSE(fake.Content(Selection));

    AddToSelection(s, Folder, "Windows Media Player", {".mp3", ".wma"}, false);
    TUserPlayer* bs = AddToSelection(s, Folder, "BsPlayer", {".avi", ".divx", ".mpg"}, true);
    ASSERT_NE(bs, nullptr);
    EXPECT_EQ(bs->Player->Exe, "C:\\BS\\bsplayer.exe");
    EXPECT_EQ(*fake.Content(Selection),
              "[Windows Media Player]\r\nName=Windows Media Player\r\nPrompt=No\r\nExt=.mp3;.wma\r\n"
              "[BsPlayer]\r\nName=BsPlayer\r\nPrompt=Yes\r\nExt=.avi;.divx;.mpg\r\n");

    auto back = LoadSelection(Folder);
    ASSERT_EQ(back->Players.size(), 2u);
    const TUserPlayer& wmp = *back->Players[0];
    EXPECT_EQ(wmp.Player->Name, "Windows Media Player");
    EXPECT_EQ(wmp.Player->Index, 5);
    EXPECT_EQ(wmp.Prompt, 1);
    ASSERT_EQ(wmp.Extensions.size(), 2u);
    EXPECT_EQ(wmp.Extensions[1].Ext, ".wma");
    EXPECT_EQ(back->Players[1]->Prompt, 0);
    EXPECT_EQ(back->Players[1]->Player->PlaylistExt, ".bsl");
    EXPECT_EQ(back->Players[1]->CountKind(1), 3);
}

TEST_F(SelectionFile, SelectionSkipsPlayersThatCannotBeStarted) {
    fake.AddFile(Selection,
                 "[Gone]\r\nPrompt=Yes\r\nExt=.mp3\r\n"
                 "[Winamp]\r\nPrompt=Yes\r\nExt=.mp3\r\n"
                 "[Stranger]\r\nPrompt=Yes\r\nExt=.mp3\r\n"
                 "[bsplayer]\r\nPrompt=Yes\r\nExt=.avi\r\n");
    auto s = LoadSelection(Folder);
    ASSERT_EQ(s->Players.size(), 1u);
    // The section name as the selection spells it; the catalogue matches it without case.
    EXPECT_EQ(s->Players[0]->Player->Name, "bsplayer");
    EXPECT_EQ(s->Players[0]->Player->Exe, "C:\\BS\\bsplayer.exe");
    EXPECT_EQ(ReadIniSections(Selection).size(), 4u) << "skipped sections stay in the file";
}

TEST_F(SelectionFile, HandEditedValuesAreReadSafelyAndWrittenBackSoundly) {
    fake.AddFile(Selection,
                 "[BsPlayer]\r\nPrompt=yes\r\nExt=.avi;.xyz;;.AVI;.mov\r\n"
                 "[Windows Media Player]\r\nExt=\r\n");
    auto s = LoadSelection(Folder);
    ASSERT_EQ(s->Players.size(), 2u);
    TUserPlayer& bs = *s->Players[0];
    EXPECT_EQ(bs.Prompt, 1);
    ASSERT_EQ(bs.Extensions.size(), 2u);
    EXPECT_EQ(bs.Extensions[1].Ext, ".mov");
    EXPECT_TRUE(s->Players[1]->Extensions.empty());
    EXPECT_EQ(s->Players[1]->Prompt, 1);

    s->Players[1]->SaveToIni(Selection);
    EXPECT_EQ(ReadIniString(Selection, "Windows Media Player", "Prompt"), "No");
    EXPECT_EQ(ReadIniString(Selection, "Windows Media Player", "Ext"), "");
    EXPECT_EQ(ReadIniString(Selection, "BsPlayer", "Ext"), ".avi;.xyz;;.AVI;.mov") << "loading leaves the file alone";
}

TEST_F(SelectionFile, UnknownExtensionsGoBackWhereTheyStoodWhenTheSectionIsWritten) {
    fake.AddFile(Selection, "[BsPlayer]\r\nPrompt=No\r\nExt=.xyz;.avi;.abc;;.AVI;.mov\r\n");
    auto s = LoadSelection(Folder);
    ASSERT_EQ(s->Players.size(), 1u);
    TUserPlayer& bs = *s->Players[0];
    ASSERT_EQ(bs.Extensions.size(), 2u) << "no kind, no list item";

    bs.Prompt = 0;
    bs.SaveToIni(Selection);
    EXPECT_EQ(ReadIniString(Selection, "BsPlayer", "Ext"), ".xyz;.avi;.abc;.AVI;.mov");
    bs.AddExtension(".mp3");
    bs.SaveToIni(Selection);
    EXPECT_EQ(ReadIniString(Selection, "BsPlayer", "Ext"), ".xyz;.avi;.abc;.AVI;.mov;.mp3");
}

TEST_F(SelectionFile, AnExtensionTwoSectionsClaimGoesToTheFirstOnly) {
    const std::string text =
        "[Gone]\r\nPrompt=No\r\nExt=.wma\r\n"
        "[BsPlayer]\r\nPrompt=No\r\nExt=.mp3;.avi\r\n"
        "[Windows Media Player]\r\nPrompt=No\r\nExt=.avi;.xyz;.mp3;.wma;.wma;.abc;.ogg\r\n";
    fake.AddFile(Selection, text);
    auto s = LoadSelection(Folder);
    ASSERT_EQ(s->Players.size(), 2u);
    TUserPlayer& wmp = *s->Players[1];
    ASSERT_EQ(wmp.Extensions.size(), 2u) << "a skipped player claims nothing; a player has an extension once";
    EXPECT_EQ(wmp.Extensions[0].Ext, ".wma");
    EXPECT_EQ(wmp.Extensions[1].Ext, ".ogg");
    EXPECT_EQ(*fake.Content(Selection), text) << "loading writes nothing";

    wmp.SaveToIni(Selection);
    EXPECT_EQ(ReadIniString(Selection, "Windows Media Player", "Ext"), ".xyz;.wma;.abc;.ogg");
    EXPECT_EQ(ReadIniString(Selection, "BsPlayer", "Ext"), ".mp3;.avi");
}

namespace {

// Fails every write of one key, so that a section is written only in part.
class FailingKey : public FakePlatform {
public:
    explicit FailingKey(std::string key) : key_(std::move(key)) {}
    bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) override {
        return key != key_ && FakePlatform::IniWriteString(path, section, key, value);
    }

private:
    std::string key_;
};

}  // namespace

TEST(AddToSelection, AFailedWriteAddsNothing) {
    FailingKey fake("Ext");
    fake.AddFolder("C:\\Vexamo");
    fake.AddFile("C:\\BS\\bsplayer.exe");
    fake.AddFile(Players, "[BsPlayer]\r\nexe=C:\\BS\\bsplayer.exe\r\n");
    const std::string before = "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n";
    fake.AddFile(Selection, before);
    TSelectedPlayer s;
    EXPECT_THROW(AddToSelection(s, Folder, "BsPlayer", {".avi"}, false), IniFileError);
    EXPECT_TRUE(s.Players.empty());
    EXPECT_EQ(*fake.Content(Selection), before) << "the part written is taken back";

    fake.DeleteFile(Selection);
    EXPECT_THROW(AddToSelection(s, Folder, "BsPlayer", {".avi"}, false), IniFileError);
    EXPECT_FALSE(fake.FileExists(Selection));
}

TEST(RunProgram, HandsExecutableAndParametersToTheShellAsTheyAre) {
    FakePlatform fake;
    fake.ShellResult = 2;  // file not found: not reported
    RunProgram("C:\\Program Files\\BS\\bsplayer.exe", "\"D:\\a b\\x.avi\"");
    RunProgram("C:\\Program Files\\BS\\bsplayer.exe", "");
    ASSERT_EQ(fake.Started.size(), 2u);
    EXPECT_EQ(fake.Started[0].File, "C:\\Program Files\\BS\\bsplayer.exe");
    EXPECT_EQ(fake.Started[0].Parameters, "\"D:\\a b\\x.avi\"");
    EXPECT_EQ(fake.Started[1].Parameters, "");
}
