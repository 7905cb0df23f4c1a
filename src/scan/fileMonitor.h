// The playback chooser "File Monitor": lists what a disc scan found, one row per (extension,
// player), and plays what the user picks through the player's command-line templates. A scan whose
// player does not prompt never shows it and plays everything at once through its "&All" command.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/CommandLines.h"
#include "model/general.h"
#include "platform/Controls.h"

namespace vexamo {

class TfrmMonitor;
class TUserPlayer;

// What the window binding does for the portable chooser: the parts that need a real window.
class MonitorHost {
public:
    virtual ~MonitorHost() = default;
    // Shows the window modally and returns once EndModal was called.
    virtual void ShowModal() = 0;
    virtual void EndModal() = 0;
    // Opens popOptions: centred on the mouse pointer, or on the selected row when the user asked
    // from the keyboard. Returns the chosen item's number (TPopupMenu::NumberOf), -1 for none.
    virtual int PopupOptions(bool atSelectedRow) = 0;
    // The file-open dialog with the given filter ("Name (*.ext)|*.ext"); empty when cancelled.
    virtual std::string ChooseFile(const std::string& filter) = 0;
};
using MonitorHostFactory = HostFactory<TfrmMonitor, MonitorHost>;

// What a play command writes into the playlist file.
enum TPlayScope { psSelected = 0, psAllVideo = 1, psAllAudio = 2, psAll = 3, psChosenFile = 4 };

// The commands of popOptions, as the binding reports a choice.
enum class MonitorCommand { Selected, Audio, Video, All, Open, Choose };

// Keys the list answers with the menu of the selected row.
enum class ListKey { Return, ContextMenu };

class RecordMirror;

class TfrmMonitor {
public:
    explicit TfrmMonitor(const MonitorHostFactory& makeHost = {});
    ~TfrmMonitor();
    TfrmMonitor(const TfrmMonitor&) = delete;
    TfrmMonitor& operator=(const TfrmMonitor&) = delete;

    // Client area of the window, and the size of a row picture.
    static constexpr int ClientWidth = 448;
    static constexpr int ClientHeight = 470;
    static constexpr int TypePictureWidth = 50;
    static constexpr int TypePictureHeight = 55;
    // Row pictures: none (0), one for each known extension in its order, one per disc kind.
    static constexpr int TypePictureCount = 1 + 29 + 4;
    // Where the controls and the heading (Label4, drawn on the banner) sit, in pixels at 96 DPI:
    // the layout is fixed, whatever the dialog font.
    struct Place {
        int Id, Left, Top, Width, Height;
    };
    static const std::array<Place, 8> Places;
    static constexpr Place HeadingPlace{0, 16, 8, 314, 32};

    // popOptions: positions of the top-level items and of the submenu's items.
    enum PopItem { mnuPlay, mnuOpen, N1, mnuChoose };
    enum PlayItem { mnuSelected, mnuAudio, mnuVideo, mnuAll };

    std::string Caption = "File Monitor";
    TLabel Label4;  // heading on the banner
    TLabel Label5;
    TListView lstFileTypes;
    TLabel Label1;
    TLabel Label3, lblCDLabel;
    TLabel Label2, lblDevice;
    TButton btCancel;
    TPopupMenu popOptions;
    std::string OpenFileFilter;  // the file dialog's filter as last set

    // Position of the row's extension in CurrentPlayer's extensions; the commands play from it.
    int CurrentExtension = 0;
    // The drives whose media the window lists, given by the scan when it makes the window: a
    // removal closes it for these, shown or not.
    StringList Drives;

    // Ties the records to the controls of the window's template.
    void BindControls(RecordMirror& m);

    TMenuItem& PlayItem(PlayItem item) { return popOptions.Items[mnuPlay].Items[item]; }
    bool Showing() const { return modal_; }

    void FormShow();
    void lstFileTypesMouseDown();
    void lstFileTypesKeyDown(ListKey key);
    // Enter opens the menu of the selected row (the window has no default button); Escape, like
    // the close box and "&Cancel", closes the window.
    void DialogKey(TDialogKey key);
    void popOptionsPopup();
    // The item of popOptions the user chose, by its number; a disabled one does nothing.
    void popOptionsClick(int number);

    void mnuSelectedClick();
    void mnuVideoClick();
    void mnuAudioClick();
    void mnuAllClick();
    void mnuChooseClick();
    void mnuOpenClick();
    void btCancelClick();
    void CommandClick(MonitorCommand command);

    void PlaySelection(TPlayScope scope);

    // The scan's way in: shows the window modally and returns when it has closed (and is freed).
    void ShowModal();
    // The scan's other way in: plays everything found for CurrentPlayer without showing the window.
    void AutoPlay();
    // A disc went away: closes the window, as "&Cancel" does, when one of its drives lost its disc.
    void DiscRemoved();

    // Closes the window. Shown modally, it ends the modal display and ShowModal lets it go; else
    // it goes at once.
    void Close();
    // Empties the process-wide reference and frees the window once the handlers running on it
    // have returned; nothing may touch it after the call when none does.
    void FormClose();

private:
    void OpenMenu(bool atSelectedRow);
    // Plays the given file lists through the playlist file.
    void Play(std::vector<std::vector<std::string>> groups);
    // Starts the player, notes it, and closes the window.
    void Launch(const TLaunch& launch);

    bool modal_ = false;
    std::string chosenFile_;
    std::unique_ptr<MonitorHost> host_;
};

// The row picture of an extension or a disc kind in the pictures of the found types; -1 for none.
int TypePictureOf(const std::string& word);

// The extension index automatic play uses: the first of the player's extensions with files found,
// whose first file heads the playlist; 0 when none has any.
int AutoPlayExtension(const TUserPlayer& player);

}  // namespace vexamo
