// One table of private-profile situations with the answers Windows' own profile functions give.
// The native suite runs it over the fake platform, the Windows suite over the real API, so the
// fake cannot drift from what the program meets on Windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vexamo::test {

// Store writes a value as the program does (IniValueText), Write passes it to the platform as it is.
// Lines lists a section whole (IniSectionLines); SectionRead takes one value from that list as
// the program does (IniSection), and must give what the Read of the same value gives: every Read
// of the table is followed by one. The File kinds take the same from the whole file read at once
// (IniFile): every Read, Sections and Keys of the table is followed by its File twin, which must
// give what the per-key functions give (Keys as FileExists: "yes" for a section with keys, "no").
enum class IniOpKind {
    Read, Sections, Keys, Write, Store, Erase, FileText, Lines, SectionRead,
    FileRead, FileSections, FileExists
};

struct IniOp {
    IniOpKind Kind;
    std::string Section, Key;
    std::string Value;   // the default of a read, the value of a write
    std::string Expect;  // the result as RunIniOp renders it
};

struct IniCase {
    std::string Name;
    std::optional<std::string> Initial;  // the file's text before the operations; none: no file
    std::vector<IniOp> Ops;
};

const std::vector<IniCase>& IniCases();

// Puts the case's file in place (deleting whatever was there) in an existing folder.
void PrepareIniFile(Platform& platform, const std::string& path, const std::optional<std::string>& text);

// Performs one operation and renders its result: a read gives the value, a list gives each name
// in braces ("{A}{B}", nothing for an empty list), a write or erase "ok" or "failed", and the
// file's text is given as it is, or "<no file>". A write or store gives "ok" or "failed".
std::string RunIniOp(Platform& platform, const std::string& path, const IniOp& op);

// A result fit for a failure message: control characters escaped, long texts shortened.
std::string ShowIniResult(const std::string& text);

// What an operation is, for a failure message.
std::string DescribeIniOp(const IniOp& op);

}  // namespace vexamo::test
