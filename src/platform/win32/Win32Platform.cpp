#include "platform/win32/Win32Platform.h"

#include "platform/IniText.h"
#include "platform/win32/ScopedGdi.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WinApi.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace vexamo {

namespace {

using win32::FileHandle, win32::FindHandle, win32::OrNull, win32::RegKey;

// The profile functions cut off what does not fit and report size - 1 (one string) or
// size - 2 (a zero-separated list); grow until the answer is shorter than that.
constexpr DWORD FirstIniBuffer = 4096;

template <typename Call>
std::string ReadGrowing(Call call, DWORD truncatedMargin) {
    std::wstring buffer(FirstIniBuffer, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD n = call(buffer.data(), size);
        if (size < truncatedMargin || n < size - truncatedMargin) {
            buffer.resize(n);
            return win32::Narrow(buffer);
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

HKEY RootKey(RegRoot root) { return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

enum class KeyUse { Read, Write, Create };

// Each use asks only for the access it needs: an ordinary user may read keys under
// HKEY_LOCAL_MACHINE that it cannot open for writing. Null when the key cannot be opened.
RegKey OpenKey(RegRoot root, const std::string& key, KeyUse use) {
    const std::string path = RegistryKeyPath(key);
    HKEY opened = nullptr;
    const LONG rc = use == KeyUse::Create
                        ? RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ,
                                          nullptr, &opened, nullptr)
                        : RegOpenKeyExA(RootKey(root), path.c_str(), 0, use == KeyUse::Read ? KEY_READ : KEY_SET_VALUE,
                                        &opened);
    return RegKey(rc == ERROR_SUCCESS ? opened : nullptr);
}

// For reading in a chosen view; the flag is ignored by a 32-bit Windows, which has one view.
RegKey OpenKey(RegRoot root, RegView view, const std::string& key) {
    const REGSAM sam = KEY_READ | (view == RegView::Wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
    HKEY opened = nullptr;
    const LONG rc = RegOpenKeyExA(RootKey(root), RegistryKeyPath(key).c_str(), 0, sam, &opened);
    return RegKey(rc == ERROR_SUCCESS ? opened : nullptr);
}

// A path's wide form, or a path that names nothing on any drive when it is too long for every file
// function: the call then fails as for a missing file.
std::wstring FilePath(const std::string& path) { return win32::WidePath(path).value_or(L"<"); }

// The code page programs without Unicode use on this machine. GetACP answers 65001 now that the
// manifest makes the program's own code page UTF-8; the one older programs got is the system
// locale's. None where that is UTF-8 too, or where the locale has no such code page.
UINT LegacyCodePage() {
    DWORD cp = 0;
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&cp), sizeof cp / sizeof(wchar_t)))
        return 0;
    return cp == CP_UTF8 ? 0 : cp;
}

// Replaces a whole file with the text, through a file beside it renamed over the old one, so that
// no reader ever sees it half written.
bool ReplaceWholeFile(const std::string& path, const std::string& text) {
    const std::wstring target = FilePath(path);
    const std::wstring beside = target + L".new";
    bool ok = false;
    {
        const FileHandle file(
            OrNull(CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!file) return false;
        DWORD written = 0;
        ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    }
    if (ok && MoveFileExW(beside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(beside.c_str());
    return false;
}

SYSTEMTIME ToSystemTime(const LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.Year);
    st.wMonth = static_cast<WORD>(t.Month);
    st.wDay = static_cast<WORD>(t.Day);
    st.wHour = static_cast<WORD>(t.Hour);
    st.wMinute = static_cast<WORD>(t.Minute);
    st.wSecond = static_cast<WORD>(t.Second);
    return st;
}

}  // namespace

// --- drives -------------------------------------------------------------------------------

std::string Win32Platform::LogicalDriveStrings() {
    char buffer[DriveStringsBuffer + 1] = {};
    DWORD n = GetLogicalDriveStringsA(DriveStringsBuffer, buffer);
    if (n == 0) return {};
    if (n > DriveStringsBuffer) return std::string(n, '\0');
    return std::string(buffer, n + 1);  // with the zero that ends the list
}

DriveKind Win32Platform::DriveType(const std::string& root) {
    return static_cast<DriveKind>(GetDriveTypeW(FilePath(root).c_str()));
}

bool Win32Platform::VolumeLabel(const std::string& root, std::string& label) {
    wchar_t name[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    // An empty removable drive must fail quietly, not ask for a disc.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = GetVolumeInformationW(win32::Wide(root).c_str(), name, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                    fileSystem, MAX_PATH + 1);
    SetErrorMode(previous);
    if (!ok) return false;
    label = win32::Narrow(std::wstring_view(name, wcsnlen(name, MAX_PATH + 1)));
    return true;
}

std::string Win32Platform::SysErrorMessage(int code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = n && text ? win32::Narrow(std::wstring_view(text, n)) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && std::strchr(" \t\r\n", message.back())) message.pop_back();
    if (message.empty()) message = "System error " + std::to_string(code);
    return message;
}

// --- files --------------------------------------------------------------------------------

std::vector<DirEntry> Win32Platform::ListFolder(const std::string& mask) {
    std::vector<DirEntry> entries;
    const std::optional<std::wstring> wide = win32::WidePath(mask);
    if (!wide) return entries;
    WIN32_FIND_DATAW data{};
    // Only long names are matched and asked for: the 8.3 names are never used.
    const FindHandle find(OrNull(FindFirstFileExW(wide->c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0)));
    if (!find) return entries;
    do {
        std::string name = win32::Narrow(data.cFileName);
        if (name == "." || name == "..") continue;
        DirEntry e;
        e.Name = std::move(name);
        e.Directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.Hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        e.System = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        e.ReparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entries.push_back(std::move(e));
    } while (FindNextFileW(find, &data));
    return entries;
}

bool Win32Platform::FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(FilePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::DeleteFile(const std::string& path) { return DeleteFileW(FilePath(path).c_str()) != 0; }

std::optional<std::string> Win32Platform::ReadTextFile(const std::string& path) {
    const FileHandle file(OrNull(CreateFileW(FilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) return std::nullopt;
    std::string content;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        content.append(chunk, got);
    }
    return content;
}

bool Win32Platform::AppendTextFile(const std::string& path, const std::string& text) {
    const FileHandle file(OrNull(CreateFileW(FilePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) return false;
    size_t done = 0;
    while (done < text.size()) {
        DWORD part = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, part, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// --- legacy code page ----------------------------------------------------------------------

std::optional<std::string> Win32Platform::FromLegacyText(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    const UINT cp = LegacyCodePage();
    if (cp == 0) return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n);
    return win32::Narrow(wide);
}

std::optional<std::string> Win32Platform::ToLegacyText(std::string_view text) {
    if (!IsValidUtf8(text)) return std::nullopt;
    const UINT cp = LegacyCodePage();
    // Where the legacy code page is UTF-8 itself, older programs read UTF-8.
    if (cp == 0) return std::string(text);
    if (text.empty()) return std::string();
    const std::wstring wide = win32::Wide(text);
    BOOL lossy = FALSE;
    // Without best fit: "é" must not quietly become "e", a name that is not on the disc.
    const int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                      0, nullptr, &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                        &lossy);
    if (lossy) return std::nullopt;
    return out;
}

// --- INI ----------------------------------------------------------------------------------

// The profile functions read and write BOM-less UTF-8 right, and nothing else (IniBytesAreUtf8):
// a file in another encoding is read here, and converted before anything is written to it.
std::optional<IniInUtf8> Win32Platform::ForeignIni(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool stamped = GetFileAttributesExW(FilePath(path).c_str(), GetFileExInfoStandard, &data) != 0;
    const FileStamp stamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                          (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
    if (stamped) {
        const auto known = utf8Inis_.find(path);
        if (known != utf8Inis_.end() && known->second == stamp) return std::nullopt;
    }
    const std::optional<std::string> bytes = ReadTextFile(path);
    if (!bytes || IniBytesAreUtf8(*bytes)) {
        if (bytes && stamped) utf8Inis_[path] = stamp;
        return std::nullopt;
    }
    utf8Inis_.erase(path);
    return IniTextInUtf8(*bytes, [this](std::string_view line) { return FromLegacyText(line); });
}

bool Win32Platform::ChangeForeignIni(const std::string& path, const std::function<bool(IniText&)>& change,
                                     bool& done) {
    done = false;
    const std::optional<IniInUtf8> foreign = ForeignIni(path);
    if (!foreign) return true;
    if (!foreign->KeptBytes) return ReplaceWholeFile(path, foreign->Text);
    // Lines that are text of no code page here would come back as U+FFFD from the profile
    // functions and be written back so: the change is made here, every other line kept as it is.
    done = true;
    IniText ini(foreign->Text);
    return ReplaceWholeFile(path, change(ini) ? ini.Text() : foreign->Text);
}

std::vector<std::string> Win32Platform::IniSectionNames(const std::string& path) {
    if (auto foreign = ForeignIni(path)) return IniText(foreign->Text).SectionNames();
    const std::wstring file = win32::Wide(path);
    return SplitZeroList(ReadGrowing(
        [&](wchar_t* buffer, DWORD size) { return GetPrivateProfileSectionNamesW(buffer, size, file.c_str()); }, 2));
}

std::vector<std::string> Win32Platform::IniKeyNames(const std::string& path, const std::string& section) {
    if (auto foreign = ForeignIni(path)) return IniText(foreign->Text).KeyNames(section);
    const std::wstring file = win32::Wide(path), app = win32::Wide(section);
    return SplitZeroList(ReadGrowing(
        [&](wchar_t* buffer, DWORD size) {
            return GetPrivateProfileStringW(app.c_str(), nullptr, L"", buffer, size, file.c_str());
        },
        2));
}

std::string Win32Platform::IniReadString(const std::string& path, const std::string& section,
                                         const std::string& key, const std::string& def) {
    if (auto foreign = ForeignIni(path)) return IniText(foreign->Text).ValueOr(section, key, def);
    const std::wstring file = win32::Wide(path), app = win32::Wide(section), name = win32::Wide(key),
                       fallback = win32::Wide(def);
    return ReadGrowing(
        [&](wchar_t* buffer, DWORD size) {
            return GetPrivateProfileStringW(app.c_str(), name.c_str(), fallback.c_str(), buffer, size, file.c_str());
        },
        1);
}

std::vector<std::string> Win32Platform::IniSectionLines(const std::string& path, const std::string& section) {
    if (auto foreign = ForeignIni(path)) return IniText(foreign->Text).SectionLines(section);
    // The per-key functions find " Main " as [Main]; this one would find nothing.
    const size_t first = section.find_first_not_of(" \t\r\n\v\f");
    const std::string name =
        first == std::string::npos ? std::string() : section.substr(first, section.find_last_not_of(" \t\r\n\v\f") - first + 1);
    const std::wstring file = win32::Wide(path), app = win32::Wide(name);
    return SplitZeroList(ReadGrowing(
        [&](wchar_t* buffer, DWORD size) { return GetPrivateProfileSectionW(app.c_str(), buffer, size, file.c_str()); },
        2));
}

std::string Win32Platform::IniFileText(const std::string& path) {
    const std::optional<std::string> bytes = ReadTextFile(path);
    if (!bytes) return {};
    if (IniBytesAreUtf8(*bytes)) return *bytes;
    return IniTextInUtf8(*bytes, [this](std::string_view line) { return FromLegacyText(line); }).Text;
}

bool Win32Platform::IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& value) {
    // Windows counts each argument in a string of at most 32766 characters (Wine's ANSI entry
    // point read from a bad pointer past that); longer ones are refused, in bytes as the fake does.
    if (section.size() > MaxIniWriteLength || key.size() > MaxIniWriteLength || value.size() > MaxIniWriteLength)
        return false;
    bool done = false;
    if (!ChangeForeignIni(path, [&](IniText& ini) { return ini.Write(section, key, value); }, done)) return false;
    if (done) return true;
    return WritePrivateProfileStringW(win32::Wide(section).c_str(), win32::Wide(key).c_str(),
                                      win32::Wide(value).c_str(), win32::Wide(path).c_str()) != 0;
}

bool Win32Platform::IniEraseSection(const std::string& path, const std::string& section) {
    bool done = false;
    if (!ChangeForeignIni(path, [&](IniText& ini) { return ini.EraseSection(section); }, done)) return false;
    if (done) return true;
    return WritePrivateProfileStringW(win32::Wide(section).c_str(), nullptr, nullptr, win32::Wide(path).c_str()) != 0;
}

// --- registry -----------------------------------------------------------------------------

bool Win32Platform::RegKeyExists(RegRoot root, const std::string& key) {
    return static_cast<bool>(OpenKey(root, key, KeyUse::Read));
}

bool Win32Platform::RegCreateKey(RegRoot root, const std::string& key) {
    return static_cast<bool>(OpenKey(root, key, KeyUse::Create));
}

std::optional<std::uint32_t> Win32Platform::RegReadInteger(RegRoot root, const std::string& key,
                                                           const std::string& name) {
    const RegKey k = OpenKey(root, key, KeyUse::Read);
    if (!k) return std::nullopt;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

namespace {

std::optional<RegText> QueryText(HKEY key, const std::string& name) {
    std::string data;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    for (;;) {
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
        data.assign(size + 1, '\0');
        DWORD got = size;
        rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        if (rc == ERROR_SUCCESS) {
            data.resize(std::min<size_t>(got, data.find('\0')));
            return RegText{data, type == REG_EXPAND_SZ};
        }
        // The value grew between the two queries; ask again with its new size.
        size = got;
    }
}

}  // namespace

std::optional<std::string> Win32Platform::RegReadString(RegRoot root, const std::string& key,
                                                        const std::string& name) {
    const RegKey k = OpenKey(root, key, KeyUse::Read);
    if (!k) return std::nullopt;
    std::optional<RegText> text = QueryText(k, name);
    if (!text) return std::nullopt;
    return text->Value;
}

std::optional<RegText> Win32Platform::RegReadText(RegRoot root, RegView view, const std::string& key,
                                                  const std::string& name) {
    const RegKey k = OpenKey(root, view, key);
    if (!k) return std::nullopt;
    return QueryText(k, name);
}

std::vector<std::string> Win32Platform::RegValueNames(RegRoot root, RegView view, const std::string& key) {
    std::vector<std::string> names;
    const RegKey k = OpenKey(root, view, key);
    if (!k) return names;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::string name(longest + 1, '\0');
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(name.size());
        const LONG rc = RegEnumValueA(k, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA) {
            // A value added since the count; a longer buffer and the same index again.
            name.assign(name.size() * 2, '\0');
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(name.data(), size);
    }
    return names;
}

std::string Win32Platform::ExpandEnvironment(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::string out(size, '\0');
    const DWORD got = ExpandEnvironmentStringsA(text.c_str(), out.data(), size);
    if (got == 0 || got > size) return text;
    out.resize(got - 1);
    return out;
}

bool Win32Platform::RegWriteInteger(RegRoot root, const std::string& key, const std::string& name,
                                    std::uint32_t value) {
    const RegKey k = OpenKey(root, key, KeyUse::Write);
    if (!k) return false;
    DWORD data = value;
    return RegSetValueExA(k, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool Win32Platform::RegWriteString(RegRoot root, const std::string& key, const std::string& name,
                                   const std::string& value) {
    const RegKey k = OpenKey(root, key, KeyUse::Write);
    if (!k) return false;
    return RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool Win32Platform::RegDeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    const RegKey k = OpenKey(root, key, KeyUse::Write);
    if (!k) return false;
    return RegDeleteValueA(k, name.c_str()) == ERROR_SUCCESS;
}

// --- shell, dialogs, tray, clock ------------------------------------------------------------

std::intptr_t Win32Platform::ShellOpen(const std::string& file, const std::string& parameters) {
    // Wide: a command line carries any name whole, up to the 32767 characters of the command line
    // itself, whatever the code page of the player started.
    const std::wstring program = win32::Wide(file), arguments = win32::Wide(parameters);
    HINSTANCE result = ShellExecuteW(nullptr, L"open", program.c_str(), parameters.empty() ? nullptr : arguments.c_str(),
                                     nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result);
}

MsgResult Win32Platform::MessageBox(MsgKind kind, const std::string& text, MsgButtons buttons,
                                    const std::string& caption) {
    const UINT icons[] = {0, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION, MB_ICONERROR};  // by MsgKind
    const UINT style = (buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK) | MB_TASKMODAL | MB_SETFOREGROUND |
                       icons[static_cast<int>(kind)];
    switch (MessageBoxW(nullptr, win32::Wide(text).c_str(),
                        win32::Wide(caption.empty() ? MessageTitle(kind) : caption).c_str(), style)) {
        case IDYES: return MsgResult::Yes;
        case IDNO: return MsgResult::No;
        case IDOK: return MsgResult::Ok;
        default: return MsgResult::Cancel;
    }
}

bool Win32Platform::NotifyIcon(NotifyAction action, const TrayIconData& data) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(data.Wnd);
    nid.uID = data.ID;
    nid.uFlags = data.Flags;
    nid.uCallbackMessage = data.CallbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.Icon);
    std::memcpy(nid.szTip, data.Tip, strnlen(data.Tip, TrayTipSize - 1));
    DWORD message = action == NotifyAction::Add ? NIM_ADD : action == NotifyAction::Modify ? NIM_MODIFY : NIM_DELETE;
    return Shell_NotifyIconA(message, &nid) != 0;
}

bool Win32Platform::NotifyBalloon(const TrayIconData& data, const std::string& title, const std::string& text) {
    // The balloon fields follow the tip in the second-version record; the first version, which
    // everything else of the icon uses, has none.
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(data.Wnd);
    nid.uID = data.ID;
    nid.uFlags = NIF_INFO;
    std::memcpy(nid.szInfoTitle, title.data(), std::min(title.size(), BalloonTitleSize - 1));
    std::memcpy(nid.szInfo, text.data(), std::min(text.size(), BalloonTextSize - 1));
    nid.dwInfoFlags = NIIF_INFO;
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != 0;
}

LocalTime Win32Platform::Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32Platform::FormatLongTime(const LocalTime& t) {
    SYSTEMTIME st = ToSystemTime(t);
    int size = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, nullptr, 0);
    if (size <= 0) return {};
    std::wstring text(static_cast<size_t>(size), L'\0');
    int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, text.data(), size);
    text.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return win32::Narrow(text);
}

int Win32Platform::PlatformId() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return -1;
    return static_cast<int>(info.dwPlatformId);
}

void InstallWin32Platform() {
    static Win32Platform platform;
    SetPlatform(&platform);
}

}  // namespace vexamo
