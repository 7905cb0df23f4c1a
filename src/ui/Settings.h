// The options window: which drives are monitored, what happens after a player started, the two
// Windows switches (AutoPlay prompt, start with Windows) and the subtitle search.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/TrayAgent.h"
#include "platform/Controls.h"

namespace vexamo {

class TFrmOptions;

// What the window binding does for the portable window.
class FrmOptionsHost {
public:
    virtual ~FrmOptionsHost() = default;
    // Shows the window modally; returns when Close ended it (or the user closed it), with the
    // modal result.
    virtual int ShowModal() = 0;
    // Ends the modal show with the result.
    virtual void Close(int modalResult) = 0;
    // The shell's folder chooser, with `preselected` chosen when that folder exists; nothing when
    // the user cancelled it.
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& preselected) = 0;
};
using FrmOptionsHostFactory = HostFactory<TFrmOptions, FrmOptionsHost>;

inline const std::string NoSubsFolderCaption = "(Choose subtitles folder)";
inline const std::string ChooseFolderTitle = "Choose Folder";
inline const std::string NoDriveTickedText =
    "Please tick at least one drive to monitor, or choose \"All CD/DVD Drives\".";

class RecordMirror;

class TFrmOptions {
public:
    explicit TFrmOptions(TrayAgent& tray, const FrmOptionsHostFactory& makeHost = {});
    ~TFrmOptions();
    TFrmOptions(const TFrmOptions&) = delete;
    TFrmOptions& operator=(const TFrmOptions&) = delete;

    std::string Caption = "Vexamo Settings";
    Caller Opener = Caller::MainForm;
    bool InitialAutoCD = false;
    bool InitialAutoStart = false;

    // "Monitor"
    TRadioButton Settings_DrivesUser;
    // The drives to monitor while Settings_DrivesUser is chosen: one tick or several.
    TCheckListBox Settings_cbDrives;
    TRadioButton Settings_DrivesAll;
    // USB sticks and memory cards are watched too (they are no CD-ROM drives, so not in the list).
    TCheckBox Settings_Removable;
    TRadioButton rdMonitorDefault;
    TRadioButton rdMonitorOn;
    TRadioButton rdOnPlayMin;
    TRadioButton rdOnPlayClose;
    // "Windows"
    TCheckBox Settings_CDAutorun;
    TCheckBox Settings_Startup;
    // "Subtitles"
    TCheckBox Settings_UseSubs;
    TLabel lblSubtitles;
    TButton Settings_SubsPath;
    TButton btNone;
    TLabel LblSubsFolder;
    // "Tray"
    TCheckBox Settings_Notify;

    TButton btOk;
    TButton btCancel;

    // Records the opener, shows the window modally and frees it when it closes; returns the
    // modal result. Nothing of the window may be touched after it returns.
    int ShowOptions(Caller opener);

    // Ties the records to the controls of the window's template.
    void BindControls(RecordMirror& m);
    void FormCreate();
    void btOkClick();
    void btCancelClick();
    void Settings_SubsPathClick();
    void Settings_DrivesUserClick();
    void Settings_DrivesAllClick();
    void btNoneClick();
    // Every way of closing ends here: frees the window and gives the tray icon back.
    void FormClose();

    // The monitoring radio buttons under "Startup" and "On Play" are chosen by clicking too.
    void rdMonitorDefaultClick();
    void rdMonitorOnClick();
    void rdOnPlayMinClick();
    void rdOnPlayCloseClick();

private:
    TrayAgent& tray_;
    std::unique_ptr<FrmOptionsHost> host_;
};

}  // namespace vexamo
