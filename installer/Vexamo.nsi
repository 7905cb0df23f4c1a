; Vexamo's installer and uninstaller, built on Debian with makensis by the CMake target "installer".
;
; Vexamo keeps its INI files and its playlist beside the executable, so its folder must stay
; writable for the user: it installs per user, without elevation, into %LOCALAPPDATA%\Programs.
;
; makensis -DVERSION=1.0.0.0 -DPROGRAM=<stripped Vexamo.exe> -DICON=<app.ico> -DOUTFILE=<setup.exe>
;          [-DLICENSE=<licence text>] Vexamo.nsi
;
; Command line of the uninstaller (besides NSIS's own /S): /KEEPSETTINGS keeps Vexamo.ini,
; Players.ini and Selection.ini, as unticking "Settings" on its components page does.

!ifndef VERSION | PROGRAM | ICON | OUTFILE
  !error "define VERSION, PROGRAM, ICON and OUTFILE"
!endif

Unicode true
; Vexamo is a 64-bit program; the installer is too, so it runs wherever Vexamo does.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!define APP "Vexamo"
!define PUBLISHER "Vexamo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexamo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define AUTOPLAY_KEY "Software\Microsoft\Windows\CurrentVersion\Policies\Explorer"
; The running agent, found as its own second start finds it.
!define AGENT_CLASS "TMainForm"
!define AGENT_CAPTION "Mini Vexamo"
; How long a running agent gets to end after being asked.
!define AGENT_CLOSE_MS 10000

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vexamo"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${APP} ${VERSION} for you.$\r$\n$\r$\n${APP} sits in the notification area of the task bar and plays the films and music of a CD or DVD as soon as the disc is inserted.$\r$\n$\r$\nIf ${APP} is running, Setup closes it before it replaces the program; your settings are kept.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!ifdef LICENSE
  !insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!endif
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Vexamo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vexamo now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Untick $\"Settings$\" to keep your players, extensions and options for a later install."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var AgentWasRunning

; Asks a running agent to end, as its "Exit" does, and waits a bounded time for its process to
; end, so that its files can be replaced or removed. Interactively the user may close it and try
; again, or cancel; a silent run ends a hung agent instead of failing halfway.
!macro CLOSE_AGENT un
Function ${un}CloseAgent
  Push $0
  Push $1
  Push $2
  Push $3
  Push $R8
  Push $R9
  StrCpy $3 0
  ${Do}
    FindWindow $0 "${AGENT_CLASS}" "${AGENT_CAPTION}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} $3 == 0
      DetailPrint "Closing the running ${APP}..."
    ${EndIf}
    StrCpy $3 1
    StrCpy $AgentWasRunning 1
    StrCpy $1 0
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call "kernel32::OpenProcess(i 0x100001, i 0, i r1) p .r2"
    System::Call "user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)"
    ${If} $2 P<> 0
      System::Call "kernel32::WaitForSingleObject(p r2, i ${AGENT_CLOSE_MS}) i .r1"
    ${Else}
      ; Without a handle to wait on, the window's end has to do.
      StrCpy $1 258 ; WAIT_TIMEOUT
      ${For} $R9 1 40
        Sleep 250
        System::Call "user32::IsWindow(p r0) i .R8"
        ${If} $R8 == 0
          StrCpy $1 0
          ${Break}
        ${EndIf}
      ${Next}
    ${EndIf}
    ${If} $1 != 0
      ${If} ${Silent}
      ${AndIf} $2 P<> 0
        DetailPrint "${APP} did not close; ending it."
        System::Call "kernel32::TerminateProcess(p r2, i 1)"
        System::Call "kernel32::WaitForSingleObject(p r2, i 5000)"
      ${ElseIf} ${Silent}
        System::Call "kernel32::CloseHandle(p r2)"
        Abort "${APP} is still running and did not close."
      ${Else}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP} is still running and did not close.$\r$\n$\r$\nEnd it with $\"Exit$\" in its tray menu, then click Retry." IDRETRY retry
        System::Call "kernel32::CloseHandle(p r2)"
        Abort "${APP} is still running."
        retry:
      ${EndIf}
    ${EndIf}
    ${If} $2 P<> 0
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
  ${Loop}
  Pop $R9
  Pop $R8
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_AGENT ""
!insertmacro CLOSE_AGENT "un."

; The Run value exactly as the program's own switch writes it.
!define RUN_VALUE '"$INSTDIR\Vexamo.exe"'

; --- Installer -------------------------------------------------------------------------------

Section "Vexamo" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  Call CloseAgent
  ; The INI files are the user's and are never shipped: an upgrade leaves them as they are.
  File "/oname=Vexamo.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vexamo.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start-menu shortcut" SecShortcut
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Vexamo.exe" "" "$INSTDIR\Vexamo.exe" 0
SectionEnd

; The program's own switch ("Run on Windows Startup") reads its state from Vexamo.ini and sets
; the Run value to match at every start, so both are written: the options window then shows it
; ticked, and the next start does not take the value away again.
Section "Start Vexamo when Windows starts" SecAutoStart
  WriteRegStr HKCU "${RUN_KEY}" "Vexamo" '${RUN_VALUE}'
  WriteINIStr "$INSTDIR\Vexamo.ini" "Windows" "AutoStart" "1"
SectionEnd

Section "-Finish"
  ; An option unticked on an upgrade takes back what an earlier install set up.
  ${IfNot} ${SectionIsSelected} ${SecShortcut}
    Delete "$SMPROGRAMS\${APP}.lnk"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecAutoStart}
    ReadRegStr $0 HKCU "${RUN_KEY}" "Vexamo"
    ${If} $0 == '${RUN_VALUE}'
      DeleteRegValue HKCU "${RUN_KEY}" "Vexamo"
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\Vexamo.ini"
      WriteINIStr "$INSTDIR\Vexamo.ini" "Windows" "AutoStart" "0"
    ${EndIf}
  ${EndIf}
  ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInit
  ; On an upgrade the options start as the user left them.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 != ""
    ${IfNot} ${FileExists} "$SMPROGRAMS\${APP}.lnk"
      !insertmacro UnselectSection ${SecShortcut}
    ${EndIf}
    ReadRegStr $0 HKCU "${RUN_KEY}" "Vexamo"
    ReadINIStr $1 "$INSTDIR\Vexamo.ini" "Windows" "AutoStart"
    ${If} $0 == ""
    ${AndIf} $1 != "1"
      !insertmacro UnselectSection ${SecAutoStart}
    ${EndIf}
  ${EndIf}
FunctionEnd

; A silent upgrade starts again the agent it closed; interactively the finish page offers it.
Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $AgentWasRunning == 1
    Exec '"$INSTDIR\Vexamo.exe"'
  ${EndIf}
FunctionEnd

; --- Uninstaller -----------------------------------------------------------------------------

Section "un.Vexamo" UnSecProgram
  SectionIn RO
  Call un.CloseAgent
  Delete "$INSTDIR\Vexamo.exe"
  ; What the program writes beside itself: its playlists and its error log.
  Delete "$INSTDIR\VexamoList.*"
  Delete "$INSTDIR\Vexamo.log"
  Delete "$SMPROGRAMS\${APP}.lnk"
  ; Only a Run value that starts this copy is removed; without the rights to the machine-wide
  ; key its delete fails quietly.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Vexamo"
  ${If} $0 == '${RUN_VALUE}'
    DeleteRegValue HKCU "${RUN_KEY}" "Vexamo"
  ${EndIf}
  ReadRegStr $0 HKLM "${RUN_KEY}" "Vexamo"
  ${If} $0 == '${RUN_VALUE}'
    DeleteRegValue HKLM "${RUN_KEY}" "Vexamo"
  ${EndIf}
  ; Windows' own CD AutoPlay, switched off by the program's option, comes back with its removal,
  ; as switching the option off would do: the policy value the option found (kept in Vexamo.ini
  ; as 0x and eight hex digits) is written back; the option's own 181, written where there was
  ; none, goes; a policy value of other origin stays.
  ReadINIStr $0 "$INSTDIR\Vexamo.ini" "Windows" "AutoCD"
  ReadINIStr $2 "$INSTDIR\Vexamo.ini" "Windows" "AutoCDOriginal"
  ReadRegDWORD $1 HKCU "${AUTOPLAY_KEY}" "NoDriveTypeAutoRun"
  StrCpy $3 $2 2
  ${If} $3 == "0x"
    WriteRegDWORD HKCU "${AUTOPLAY_KEY}" "NoDriveTypeAutoRun" $2
    WriteINIStr "$INSTDIR\Vexamo.ini" "Windows" "AutoCDOriginal" ""
  ${ElseIf} $0 == "1"
  ${AndIf} $1 == 181
    DeleteRegValue HKCU "${AUTOPLAY_KEY}" "NoDriveTypeAutoRun"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section "un.Settings (Vexamo.ini, Players.ini, Selection.ini)" UnSecSettings
  Delete "$INSTDIR\Vexamo.ini"
  Delete "$INSTDIR\Players.ini"
  Delete "$INSTDIR\Selection.ini"
SectionEnd

Section "-un.Finish"
  Delete "$INSTDIR\Uninstall.exe"
  ; Never a recursive delete: the folder may have been chosen by the user and hold other files.
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPSETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
