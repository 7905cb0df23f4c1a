#include "e2e/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

namespace e2e {

namespace {

// A buffer in the process that owns a window, freed when it goes.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) throw std::runtime_error("cannot open the window's process");
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_) throw std::runtime_error("cannot allocate in the window's process");
    }
    ~RemoteBuffer() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* At(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }
    void Write(const void* data, size_t size, size_t offset = 0) const {
        WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    void Read(void* data, size_t size, size_t offset = 0) const {
        ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }
    std::string ReadText(size_t offset) const {
        std::string text(size_ - offset, '\0');
        Read(text.data(), text.size(), offset);
        text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
        return text;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

constexpr size_t TextSize = 1024;

RECT ToScreen(HWND control, RECT r) {
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

std::vector<std::vector<std::string>> ListViewRows(HWND list) {
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    RemoteBuffer buffer(list, sizeof(LVITEMA) + TextSize);
    std::vector<std::vector<std::string>> result;
    for (int row = 0; row < rows; ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = buffer.At(sizeof item);
            item.cchTextMax = TextSize;
            buffer.Write(&item, sizeof item);
            const char nothing = 0;
            buffer.Write(&nothing, 1, sizeof item);
            SendMessageA(list, LVM_GETITEMTEXTA, row, buffer.Param());
            texts.push_back(buffer.ReadText(sizeof item));
        }
        result.push_back(texts);
    }
    return result;
}

bool ListViewChecked(HWND list, int row) {
    const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int ListViewImage(HWND list, int row) {
    RemoteBuffer buffer(list, sizeof(LVITEMA));
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    buffer.Write(&item, sizeof item);
    if (!SendMessageA(list, LVM_GETITEMA, 0, buffer.Param())) return -1;
    buffer.Read(&item, sizeof item);
    return item.iImage;
}

int ListViewSelected(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RECT ListViewRowRect(HWND list, int row) {
    RemoteBuffer buffer(list, sizeof(RECT));
    RECT r{};
    r.left = LVIR_BOUNDS;
    buffer.Write(&r, sizeof r);
    SendMessageA(list, LVM_GETITEMRECT, row, buffer.Param());
    buffer.Read(&r, sizeof r);
    return ToScreen(list, r);
}

// List box messages are standard ones: Windows carries their buffers across processes itself.
RECT ListBoxItemRect(HWND list, int item) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
    return ToScreen(list, r);
}

std::vector<std::string> ListBoxItems(HWND list) {
    // Asked in the ANSI form across processes, Wine hands the items back in UTF-16: ask for
    // that and convert.
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = std::max<LRESULT>(SendMessageW(list, LB_GETTEXTLEN, i, 0), 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(
            std::max<LRESULT>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())), 0)));
        std::string ansi(text.size() * 2 + 1, '\0');
        ansi.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                                            ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                                            nullptr)));
        items.push_back(ansi);
    }
    return items;
}

bool CheckListTicked(HWND list, int item) {
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, item, 0);
    return data != LB_ERR && (data & 1) != 0;
}

std::string StatusPanel(HWND bar, int panel) {
    RemoteBuffer buffer(bar, TextSize);
    const char nothing = 0;
    buffer.Write(&nothing, 1);
    SendMessageA(bar, SB_GETTEXTA, panel, buffer.Param());
    std::string text = buffer.ReadText(0);
    text.erase(0, text.find_first_not_of('\t'));
    return text;
}

void ClickAt(POINT screen, bool right) {
    // Every event carries its own position: an event without one is taken where the cursor is
    // when the target gets round to it, which may already be the next click's place.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3]{};
    for (INPUT& in : input) {
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(screen.x, 65535, width - 1);
        in.mi.dy = MulDiv(screen.y, 65535, height - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
    // Clicks closer together than the double-click time would be taken for double clicks.
    Sleep(GetDoubleClickTime() + 50);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void PressKey(WORD key, bool alt) {
    std::vector<INPUT> input;
    const auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(in);
    };
    if (alt) add(VK_MENU, false);
    add(key, false);
    add(key, true);
    if (alt) add(VK_MENU, true);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    // The target handles the keys in its own time; the next step must not overtake them.
    Sleep(300);
}

}  // namespace e2e
