#include "support/IniCases.h"

#include <cstdio>

#include "model/general.h"

namespace vexamo::test {

namespace {

IniOp Read(std::string section, std::string key, std::string def, std::string expect) {
    return IniOp{IniOpKind::Read, std::move(section), std::move(key), std::move(def), std::move(expect)};
}
IniOp Sections(std::string expect) { return IniOp{IniOpKind::Sections, {}, {}, {}, std::move(expect)}; }
IniOp Keys(std::string section, std::string expect) {
    return IniOp{IniOpKind::Keys, std::move(section), {}, {}, std::move(expect)};
}
IniOp Write(std::string section, std::string key, std::string value, std::string expect = "ok") {
    return IniOp{IniOpKind::Write, std::move(section), std::move(key), std::move(value), std::move(expect)};
}
// Writes the value as the program writes every value; the read that follows must give it back.
IniOp Store(std::string section, std::string key, std::string value) {
    return IniOp{IniOpKind::Store, std::move(section), std::move(key), std::move(value), "ok"};
}
IniOp Erase(std::string section, std::string expect = "ok") {
    return IniOp{IniOpKind::Erase, std::move(section), {}, {}, std::move(expect)};
}
IniOp Lines(std::string section, std::string expect) {
    return IniOp{IniOpKind::Lines, std::move(section), {}, {}, std::move(expect)};
}
IniOp Text(std::string expect) { return IniOp{IniOpKind::FileText, {}, {}, {}, std::move(expect)}; }

// Far longer than any fixed buffer a caller might pick, and not a repetition of one character,
// so a value cut short or stitched together wrongly shows.
std::string LongValue() {
    std::string v;
    v.reserve(100000);
    for (int i = 0; v.size() < 100000; ++i) v += static_cast<char>('a' + i % 26);
    return v;
}

// More names than fit the first buffer a caller tries, so the lists must grow too.
IniCase ManyNames() {
    std::string text, sections, keys;
    for (int i = 0; i < 700; ++i) {
        std::string name = "Section" + std::to_string(1000 + i);
        text += "[" + name + "]\r\nk=" + std::to_string(i) + "\r\n";
        sections += "{" + name + "}";
    }
    text += "[Keys]\r\n";
    for (int i = 0; i < 700; ++i) {
        std::string key = "Key" + std::to_string(1000 + i);
        text += key + "=" + std::to_string(i) + "\r\n";
        keys += "{" + key + "}";
    }
    sections += "{Keys}";
    return {"ManyNames", text, {{IniOpKind::Sections, {}, {}, {}, sections}, {IniOpKind::Keys, "Keys", {}, {}, keys}}};
}

std::vector<IniCase> BuildCases() {
    const std::string longValue = LongValue();
    std::vector<IniCase> cases = {
        {"NamesMatchWithoutCase",
         "[Main]\r\nKey=Value\r\n",
         {Read("MAIN", "KEY", "d", "Value"), Read("main", "key", "d", "Value"), Keys("mAIN", "{Key}"),
          Write("MAIN", "KEY", "New"), Sections("{Main}"), Text("[Main]\r\nKey=New\r\n")}},

        {"MissingFile",
         std::nullopt,
         {Read("Main", "Key", "dflt", "dflt"), Read("Main", "Key", "", ""), Sections(""), Keys("Main", ""),
          Text("<no file>"), Erase("Main"), Text("<no file>")}},

        {"MissingSectionOrKey",
         "[A]\r\nx=1\r\n",
         {Read("B", "x", "d", "d"), Read("A", "y", "d", "d"), Keys("B", ""), Read("A", "x", "d", "1")}},

        {"DefaultLosesTrailingBlanks",
         "[A]\r\nx=1\r\n",
         {Read("A", "y", "def  ", "def"), Read("A", "y", "  def", "  def")}},

        {"DuplicateSections",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nx=3\r\nz=4\r\n",
         {Sections("{A}{B}{a}"), Read("A", "x", "d", "1"), Read("A", "z", "d", "d"), Keys("A", "{x}"),
          Erase("a"), Sections("{B}{a}"), Read("A", "x", "d", "3"), Erase("A"), Sections("{B}"),
          Text("[B]\r\ny=2\r\n")}},

        {"DuplicateKeys",
         "[A]\r\nx=1\r\nX=2\r\n",
         {Read("A", "x", "d", "1"), Keys("A", "{x}{X}"), Write("A", "X", "3"), Read("A", "x", "d", "3"),
          Text("[A]\r\nx=3\r\nX=2\r\n")}},

        {"BlanksAroundNamesAndValues",
         "[Main]\r\n  key one  =  value with  blanks  \r\n\tt\t=\tv\t\r\n",
         {Read("Main", "key one", "d", "value with  blanks"), Read(" Main ", "  key one ", "d", "value with  blanks"),
          Read("Main", "t", "d", "v"), Keys("Main", "{key one}{t}")}},

        {"BlanksInsideSectionHeader",
         "[ Main ]\r\nk=v\r\n",
         {Sections("{Main}"), Read("Main", "k", "d", "v"), Read(" Main ", "k", "d", "v"), Keys("Main", "{k}")}},

        {"QuotedValues",
         "[Q]\r\nd=\"double\"\r\ns='single'\r\nopen=\"open\r\nclose=close\"\r\nmixed=\"mixed'\r\n"
         "inner=\"a\"b\"\r\nempty=\"\"\r\none=\"\r\nspaced=\" x \"\r\n",
         {Read("Q", "d", "", "double"), Read("Q", "s", "", "single"), Read("Q", "open", "", "\"open"),
          Read("Q", "close", "", "close\""), Read("Q", "mixed", "", "\"mixed'"), Read("Q", "inner", "", "a\"b"),
          Read("Q", "empty", "d", ""), Read("Q", "one", "d", "\""), Read("Q", "spaced", "", " x ")}},

        {"EmptyValues",
         "[E]\r\nempty=\r\nblank=   \r\nnoeq\r\n",
         {Read("E", "empty", "d", ""), Read("E", "blank", "d", ""), Read("E", "noeq", "d", "d"),
          Keys("E", "{empty}{blank}")}},

        {"CommentLines",
         "[C]\r\n;comment=1\r\nk=v\r\n; spaced\r\n",
         {Keys("C", "{k}"), Read("C", ";comment", "d", "1"), Read("C", "k", "d", "v")}},

        {"CommentedSectionHeader",
         ";[Hidden]\r\n[Shown]\r\nk=v\r\n",
         {Sections("{Shown}")}},

        {"EraseSection",
         "[A]\r\na=1\r\n[B]\r\nb=2\r\n",
         {Erase("A"), Sections("{B}"), Text("[B]\r\nb=2\r\n"), Erase("Missing"), Erase("B"), Sections(""),
          Text("")}},

        {"SectionOrderAndWrites",
         "[Z]\r\nz=1\r\n[A]\r\na=1\r\n",
         {Sections("{Z}{A}"), Write("M", "m", "1"), Sections("{Z}{A}{M}"), Write("Z", "y", "2"),
          Read("Z", "y", "d", "2"), Keys("Z", "{z}{y}"), Text("[Z]\r\nz=1\r\ny=2\r\n[A]\r\na=1\r\n[M]\r\nm=1\r\n")}},

        {"WriteIntoMissingFile",
         std::nullopt,
         {Write("S", "k", "v"), Read("s", "K", "d", "v"), Text("[S]\r\nk=v\r\n")}},

        {"WrittenValuesAndNames",
         "[S]\r\n",
         {Write("S", " k ", "  v  "), Read("S", "k", "d", "v"), Write("S", "e", ""), Read("S", "e", "d", ""),
          Text("[S]\r\nk=v\r\ne=\r\n")}},

        {"RewriteKeepsOtherLines",
         "[S]\r\n;c\r\nk=1\r\n\r\n[T]\r\nt=1\r\n",
         {Write("S", "k", "2"), Text("[S]\r\n;c\r\nk=2\r\n[T]\r\nt=1\r\n")}},

        {"LongValue",
         std::nullopt,
         {Write("L", "k", longValue.substr(0, 32766)), Read("L", "k", "d", longValue.substr(0, 32766)),
          Keys("L", "{k}")}},

        {"ValueTooLongToWrite",
         "[L]\r\nk=short\r\n",
         {Write("L", "k", longValue.substr(0, 32767), "failed"), Write("L", "k", longValue, "failed"), Read("L", "k", "d", "short"), Text("[L]\r\nk=short\r\n")}},

        {"LongValueInFile",
         "[L]\r\nk=" + longValue + "\r\n",
         {Read("L", "k", "d", longValue)}},

        {"SectionWithoutKeys",
         "[Empty]\r\n[Full]\r\nk=v\r\n",
         {Sections("{Empty}{Full}"), Keys("Empty", ""), Read("Empty", "k", "d", "d"), Keys("Full", "{k}")}},

        {"KeysBeforeFirstSection",
         "orphan=1\r\n[S]\r\nk=v\r\n",
         {Sections("{S}"), Read("", "orphan", "d", "1"), Keys("", "{orphan}"), Read("S", "orphan", "d", "d")}},

        {"LineFeedOnly",
         "[S]\nk=v\n[T]\nt=w\n",
         {Sections("{S}{T}"), Read("S", "k", "d", "v"), Read("T", "t", "d", "w")}},

        {"WriteIntoDuplicatedSection",
         "[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=3\r\n",
         {Write("a", "y", "2"), Keys("A", "{x}{y}"), Text("[A]\r\nx=1\r\ny=2\r\n[B]\r\n[a]\r\nx=3\r\n")}},

        {"RewriteNormalisesLines",
         "top=1\r\n\r\n[ Main ]\r\n  key one  =  spaced value  \r\n\r\n[Empty]\r\n",
         {Write("main", "new", "n"),
          Text("top=1\r\n[Main]\r\nkey one=spaced value\r\nnew=n\r\n[Empty]\r\n")}},

        {"NoLineEndAtEnd",
         "[S]\r\nk=v",
         {Read("S", "k", "d", "v"), Write("S", "n", "1"), Text("[S]\r\nk=v\r\nn=1\r\n")}},

        {"OddHeadersAndInlineSemicolons",
         "[S]junk\r\nk=v ; not a comment\r\n[T\r\nt=1\r\n",
         {Sections("{S}"), Read("S", "k", "d", "v ; not a comment"), Read("S", "t", "d", "1"),
          Keys("S", "{k}{t}")}},

        // A file an older version wrote in the legacy code page (Windows-1252 here) reads in
        // UTF-8, and the first write rewrites it all in UTF-8.
        {"EightBitTextOfTheLegacyCodePage",
         "[S\xe9]\r\nk\xe9=caf\xe9 \xa0\xff\r\n",
         {Read("S\xc3\xa9", "k\xc3\xa9", "d", "caf\xc3\xa9 \xc2\xa0\xc3\xbf"), Sections("{S\xc3\xa9}"),
          Keys("S\xc3\xa9", "{k\xc3\xa9}"), Text("[S\xe9]\r\nk\xe9=caf\xe9 \xa0\xff\r\n"),
          Write("S\xc3\xa9", "n", "\xc3\xa8"),
          Text("[S\xc3\xa9]\r\nk\xc3\xa9=caf\xc3\xa9 \xc2\xa0\xc3\xbf\r\nn=\xc3\xa8\r\n"),
          Read("S\xc3\xa9", "k\xc3\xa9", "d", "caf\xc3\xa9 \xc2\xa0\xc3\xbf")}},

        {"LegacyFileConvertedByAWriteThatChangesNothing",
         "[S]\r\nexe=C:\\Lecteur vid\xe9o\\player.exe\r\n",
         {Write("S", "exe", "C:\\Lecteur vid\xc3\xa9o\\player.exe"),
          Text("[S]\r\nexe=C:\\Lecteur vid\xc3\xa9o\\player.exe\r\n")}},

        {"LegacyFileConvertedByAnErase",
         "[A]\r\na=\xe9\r\n[B]\r\nb=1\r\n",
         {Erase("Missing"), Text("[A]\r\na=\xc3\xa9\r\n[B]\r\nb=1\r\n"), Erase("B"), Text("[A]\r\na=\xc3\xa9\r\n")}},

        // What the program writes now: every name whole, the file in UTF-8 without a byte order mark.
        {"Utf8Text",
         "[\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc]\r\npath=D:\\\xe6\x98\xa0\xe7\x94\xbb\\\xf0\x9f\x98\x80.avi\r\n",
         {Read("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc", "path", "d", "D:\\\xe6\x98\xa0\xe7\x94\xbb\\\xf0\x9f\x98\x80.avi"),
          Sections("{\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc}"),
          Write("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc", "\xd0\x96", "caf\xc3\xa9"),
          Read("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc", "\xd0\x96", "d", "caf\xc3\xa9"),
          Text("[\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc]\r\npath=D:\\\xe6\x98\xa0\xe7\x94\xbb\\\xf0\x9f\x98\x80.avi\r\n"
               "\xd0\x96=caf\xc3\xa9\r\n"),
          Write("New", "k", "\xe6\x98\xa0"), Read("New", "k", "d", "\xe6\x98\xa0")}},

        {"Utf8WrittenIntoMissingFile",
         std::nullopt,
         {Write("S", "k", "\xd0\xa4 \xc3\xa9 \xf0\x9f\x98\x80"), Text("[S]\r\nk=\xd0\xa4 \xc3\xa9 \xf0\x9f\x98\x80\r\n")}},

        // A line an older version added to a UTF-8 file is in the legacy code page: each line is
        // read in its own encoding.
        {"MixedLines",
         "[S]\r\nnew=caf\xc3\xa9\r\nold=caf\xe9\r\n",
         {Read("S", "new", "d", "caf\xc3\xa9"), Read("S", "old", "d", "caf\xc3\xa9"), Write("S", "k", "1"),
          Text("[S]\r\nnew=caf\xc3\xa9\r\nold=caf\xc3\xa9\r\nk=1\r\n")}},

        // Windows would take the mark for part of the first line and lose the first section.
        {"Utf8ByteOrderMark",
         "\xef\xbb\xbf[S]\r\nk=\xc3\xa9\r\n",
         {Sections("{S}"), Read("S", "k", "d", "\xc3\xa9"), Write("S", "n", "1"), Text("[S]\r\nk=\xc3\xa9\r\nn=1\r\n")}},

        {"Utf16ByteOrderMark",
         std::string("\xff\xfe[\0S\0]\0\r\0\n\0k\0=\0\x16\x04\r\0\n\0", 22),
         {Sections("{S}"), Read("S", "k", "d", "\xd0\x96"), Write("S", "n", "1"), Text("[S]\r\nk=\xd0\x96\r\nn=1\r\n")}},

        {"LinesWithoutEquals",
         "[S]\r\nnoeq\r\nk=1\r\n",
         {Write("S", "k", "2"), Text("[S]\r\nnoeq\r\nk=2\r\n"), Write("S", "noeq", "x"), Read("S", "noeq", "d", "x"),
          Keys("S", "{noeq}{k}"), Text("[S]\r\nnoeq=x\r\nk=2\r\n")}},

        {"EmptyKeyName",
         "[S]\r\n=v\r\nk=1\r\n",
         {Keys("S", ""), Read("S", "", "d", "v"), Read("S", "k", "d", "1")}},

        {"SameValueLeavesFileAlone",
         "[ Main ]\r\n  k = v \r\n\r\n",
         {Write("Main", "k", "v"), Text("[ Main ]\r\n  k = v \r\n\r\n"), Write("MAIN", "K", " \tv"),
          Text("[ Main ]\r\n  k = v \r\n\r\n"), Erase("Missing"), Text("[ Main ]\r\n  k = v \r\n\r\n"),
          Write("Main", "k", "v  "), Text("[Main]\r\nk=v  \r\n")}},

        {"WrittenValueTrimmed",
         "[S]\r\n",
         {Write("S", "k", " \tv w \t"), Text("[S]\r\nk=v w \t\r\n"), Read("S", "k", "d", "v w")}},

        {"DefaultTrailingTab",
         std::nullopt,
         {Read("S", "k", "d\t", "d\t"), Read("S", "k", " ", " "), Read("S", "k", "   ", " "), Read("S", "k", "a b ", "a b")}},

        // What the program stores reads back exactly as it was given, whatever quotes and blanks
        // it starts or ends with.
        {"StoredQuotedValuesReadBack",
         std::nullopt,
         {Store("S", "both", "\"--fullscreen\" [FILE] \"--loop\""),
          Read("S", "both", "d", "\"--fullscreen\" [FILE] \"--loop\""),
          Store("S", "single", "'a'"), Read("S", "single", "d", "'a'"),
          Store("S", "quotes", "\"\""), Read("S", "quotes", "d", "\"\""),
          Store("S", "one", "\""), Read("S", "one", "d", "\""),
          Store("S", "open", "\"[FILE]"), Read("S", "open", "d", "\"[FILE]"),
          Store("S", "close", "[FILE]\""), Read("S", "close", "d", "[FILE]\""),
          Store("S", "mixed", "'[FILE]\""), Read("S", "mixed", "d", "'[FILE]\""),
          Store("S", "inner", "/a \"[FILE]\" /b"), Read("S", "inner", "d", "/a \"[FILE]\" /b"),
          Text("[S]\r\nboth=\"\"--fullscreen\" [FILE] \"--loop\"\"\r\nsingle=\"'a'\"\r\nquotes=\"\"\"\"\r\n"
               "one=\"\"\"\r\nopen=\"\"[FILE]\"\r\nclose=\"[FILE]\"\"\r\nmixed=\"'[FILE]\"\"\r\n"
               "inner=/a \"[FILE]\" /b\r\n")}},

        {"StoredBlanksReadBack",
         "[S]\r\nold=\"x\"\r\n",
         {Store("S", "lead", "  [FILE]"), Read("S", "lead", "d", "  [FILE]"),
          Store("S", "trail", "Set "), Read("S", "trail", "d", "Set "),
          Store("S", "tabs", "\tv\t"), Read("S", "tabs", "d", "\tv\t"),
          Store("S", "blank", " "), Read("S", "blank", "d", " "),
          Store("S", "spaced", " \"x\" "), Read("S", "spaced", "d", " \"x\" "),
          Store("S", "old", "plain"), Read("S", "old", "d", "plain"),
          Store("S", "empty", ""), Read("S", "empty", "d", ""),
          Store("S", "drives", "D:\\ E:\\"), Read("S", "drives", "d", "D:\\ E:\\"),
          Text("[S]\r\nold=plain\r\nlead=\"  [FILE]\"\r\ntrail=\"Set \"\r\ntabs=\"\tv\t\"\r\nblank=\" \"\r\n"
               "spaced=\" \"x\" \"\r\nempty=\r\ndrives=D:\\ E:\\\r\n")}},

        // Only ASCII letters match without regard to case: a name outside ASCII is found as it
        // is written, or not at all.
        {"NamesOutsideAscii",
         "[\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc \xc3\xa9t\xc3\xa9]\r\n\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87=v\r\n",
         {Read("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc \xc3\xa9T\xc3\xa9", "\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87", "d", "v"),
          Read("\xd1\x84\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc \xc3\xa9t\xc3\xa9", "\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87", "d", "d"),
          Read("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc \xc3\xa9t\xc3\xa9", "\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87", "d", "d"),
          Keys("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc \xc3\x89T\xc3\x89", ""),
          Keys("\xd0\xa4\xd0\xb8\xd0\xbb\xd1\x8c\xd0\xbc \xc3\xa9T\xc3\xa9", "{\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87}")}},

        // Blanks other than the space and the tab around names and values: the control characters
        // of white space and the end-of-file mark of old editors, but no blank outside ASCII.
        {"OtherBlanks",
         "[S]\r\n\x0bk\x0c=\x0bv\x0c\r\nz=\x1az\x1a\r\nnb=\xc2\xa0n\xc2\xa0\r\n",
         {Read("S", "k", "d", "v"), Read("S", "z", "d", "z"), Read("S", "nb", "d", "\xc2\xa0n\xc2\xa0"),
          Keys("S", "{k}{z}{nb}")}},

        {"EqualsInValue",
         "[S]\r\nk=a=b\r\n",
         {Read("S", "k", "d", "a=b")}},

        // A section read whole: its lines with the blanks around names and values gone, quotes
        // kept, comments left out, a line without "=" as it stands.
        {"SectionLines",
         "[A]\r\n  k  =  v  \r\n;c=1\r\nq=\"quoted\"\r\nnoeq\r\nK=second\r\ne=\r\n[B]\r\nb=1\r\n",
         {Lines("A", "{k=v}{q=\"quoted\"}{noeq}{K=second}{e=}"), Lines("a", "{k=v}{q=\"quoted\"}{noeq}{K=second}{e=}"),
          Lines("Missing", ""), Lines("B", "{b=1}"), Read("A", "K", "d", "v"), Read("A", "noeq", "d", "d"),
          Read("A", "q", "d", "quoted")}},

        {"SectionLinesOfDuplicatedSection",
         "[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=3\r\ny=4\r\n",
         {Lines("A", "{x=1}"), Read("A", "y", "d", "d"), Lines("B", "")}},

        {"SectionLinesOfLegacyFile",
         "[S\xe9]\r\nk\xe9=caf\xe9\r\n",
         {Lines("S\xc3\xa9", "{k\xc3\xa9=caf\xc3\xa9}"), Read("S\xc3\xa9", "k\xc3\xa9", "d", "caf\xc3\xa9")}},
    };
    cases.push_back(ManyNames());
    // Lines past the first buffer a caller tries: the section must grow as the value does.
    cases.push_back({"LongSection", "[L]\r\nk=" + longValue + "\r\nafter=1\r\n",
                     {Lines("L", "{k=" + longValue + "}{after=1}"), Read("L", "after", "d", "1")}});
    for (IniCase& c : cases) {
        std::vector<IniOp> ops;
        for (const IniOp& op : c.Ops) {
            ops.push_back(op);
            // Comments are no values the program reads, and the whole section leaves them out.
            if (op.Kind == IniOpKind::Read && op.Key.rfind(';', 0) != 0) {
                ops.push_back(IniOp{IniOpKind::SectionRead, op.Section, op.Key, op.Value, op.Expect});
                ops.push_back(IniOp{IniOpKind::FileRead, op.Section, op.Key, op.Value, op.Expect});
            }
            if (op.Kind == IniOpKind::Sections) ops.push_back(IniOp{IniOpKind::FileSections, {}, {}, {}, op.Expect});
            if (op.Kind == IniOpKind::Keys)
                ops.push_back(IniOp{IniOpKind::FileExists, op.Section, {}, {}, op.Expect.empty() ? "no" : "yes"});
        }
        c.Ops = std::move(ops);
    }
    return cases;
}

std::string List(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += "{" + n + "}";
    return out;
}

}  // namespace

const std::vector<IniCase>& IniCases() {
    static const std::vector<IniCase> cases = BuildCases();
    return cases;
}

void PrepareIniFile(Platform& platform, const std::string& path, const std::optional<std::string>& text) {
    platform.DeleteFile(path);
    if (text) platform.AppendTextFile(path, *text);
}

std::string RunIniOp(Platform& platform, const std::string& path, const IniOp& op) {
    switch (op.Kind) {
        case IniOpKind::Read:
            return platform.IniReadString(path, op.Section, op.Key, op.Value);
        case IniOpKind::Sections:
            return List(platform.IniSectionNames(path));
        case IniOpKind::Keys:
            return List(platform.IniKeyNames(path, op.Section));
        case IniOpKind::Write:
            return platform.IniWriteString(path, op.Section, op.Key, op.Value) ? "ok" : "failed";
        case IniOpKind::Store:
            return platform.IniWriteString(path, op.Section, op.Key, IniValueText(op.Value)) ? "ok" : "failed";
        case IniOpKind::Erase:
            return platform.IniEraseSection(path, op.Section) ? "ok" : "failed";
        case IniOpKind::FileText:
            return platform.ReadTextFile(path).value_or("<no file>");
        case IniOpKind::Lines:
            return List(platform.IniSectionLines(path, op.Section));
        case IniOpKind::SectionRead:
            return IniSection(platform.IniSectionLines(path, op.Section)).String(op.Key, op.Value);
        case IniOpKind::FileRead:
            return IniFile(platform.IniFileText(path)).Section(op.Section).String(op.Key, op.Value);
        case IniOpKind::FileSections:
            return List(IniFile(platform.IniFileText(path)).Sections());
        case IniOpKind::FileExists:
            return IniFile(platform.IniFileText(path)).Section(op.Section).Exists() ? "yes" : "no";
    }
    return "<unknown operation>";
}

std::string ShowIniResult(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size() && i < 200; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else if (c == '\t') shown += "\\t";
        else if (c < 32) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        } else shown += static_cast<char>(c);
    }
    if (text.size() > 200) shown += "... (" + std::to_string(text.size()) + " characters)";
    return "\"" + shown + "\"";
}

std::string DescribeIniOp(const IniOp& op) {
    switch (op.Kind) {
        case IniOpKind::Read:
            return "read [" + op.Section + "] " + op.Key + " default " + ShowIniResult(op.Value);
        case IniOpKind::Sections:
            return "section names";
        case IniOpKind::Keys:
            return "key names of [" + op.Section + "]";
        case IniOpKind::Write:
            return "write [" + op.Section + "] " + op.Key + " = " + ShowIniResult(op.Value);
        case IniOpKind::Store:
            return "store [" + op.Section + "] " + op.Key + " = " + ShowIniResult(op.Value);
        case IniOpKind::Erase:
            return "erase [" + op.Section + "]";
        case IniOpKind::FileText:
            return "file text";
        case IniOpKind::Lines:
            return "lines of [" + op.Section + "]";
        case IniOpKind::SectionRead:
            return "from the lines of [" + op.Section + "] " + op.Key + " default " + ShowIniResult(op.Value);
        case IniOpKind::FileRead:
            return "from the whole file [" + op.Section + "] " + op.Key + " default " + ShowIniResult(op.Value);
        case IniOpKind::FileSections:
            return "section names of the whole file";
        case IniOpKind::FileExists:
            return "[" + op.Section + "] has keys in the whole file";
    }
    return "?";
}

}  // namespace vexamo::test
