; Lock Beacon's installer (NSIS 3, makensis -V2 ...): a per-user installation without
; administrator rights under %LOCALAPPDATA%\Programs\Lock Beacon, with a Start menu shortcut,
; the user's choice of starting at sign-in, and an uninstaller registered in the user's
; uninstall list. The build (cmake/Installer.cmake) defines on makensis's command line:
;   VERSION        the version the user sees ("1.0")
;   VERSION_QUAD   the four-part version of the setup's own version block ("1.0.0.0")
;   EXE            the LockBeacon.exe to install
;   DELIVER        the folder of the files delivered beside it (Languages\, sounds, license.txt)
;   DELIVERED_LIST a file of Delete lines, one for each delivered file, for the uninstaller
;   ICON           the program's icon
;   OUTFILE        the setup to write
;   SIGN           a command that signs the file named after it (tools/sign-pe.sh), run on the
;                  uninstaller before it is packed and on the finished setup
;   UNINSTALLER_COPY  where that command leaves a copy of the uninstaller, for the release audit
;
; Command line, as with every NSIS setup: /S installs without pages (starting at sign-in as the
; page's default says), /D=<folder> (last, unquoted) installs into another folder. The
; uninstaller takes /S as well; a silent uninstall keeps the settings.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Lock Beacon"
!define PUBLISHER "BRIMLEX"
!define EXE_NAME "LockBeacon.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lock Beacon"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define RUN_VALUE "Lock Beacon"
!define UPDATE_STORE_KEY "Software\BRIMLEX\Lock Beacon"
; The class of the program's application window, which ends the program on WM_CLOSE.
!define APP_WINDOW_CLASS "LockBeaconApplication"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1" "${UNINSTALLER_COPY}"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

Var StartAtSignIn   ; ${BST_CHECKED} or ${BST_UNCHECKED}
Var SignInAsFound   ; the box as the setup found the entry; the entry is touched only if it differs
Var IsUpgrade       ; 1 when an earlier installation is registered
Var SignInBox
Var WasRunning      ; 1 when a running copy of this installation was closed
Var RemoveSettings  ; uninstaller: 1 when the user chose to remove the settings too

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
; Leaving the folder page refuses a folder outside the user's profile and moves a folder that
; holds other files to a subfolder of its own.
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderPageLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom SignInPage SignInPageLeave
!insertmacro MUI_PAGE_INSTFILES
; The progress page stays until the user goes on, with the list of what was done.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNowText)"
!define MUI_FINISHPAGE_RUN_FUNCTION RunNow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; the setup speaks the user's interface language when it
; has it.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString SignInTitle ${LANG_ENGLISH} "Start with Windows"
LangString SignInTitle ${LANG_GERMAN} "Mit Windows starten"
LangString SignInSubtitle ${LANG_ENGLISH} "Choose whether Lock Beacon starts when you sign in."
LangString SignInSubtitle ${LANG_GERMAN} "Wählen Sie, ob Lock Beacon bei der Anmeldung startet."
LangString SignInText ${LANG_ENGLISH} "Start Lock Beacon when I sign in"
LangString SignInText ${LANG_GERMAN} "Lock Beacon bei der Anmeldung starten"
LangString SignInHint ${LANG_ENGLISH} "You can change this later in Lock Beacon's Settings (Start with Windows)."
LangString SignInHint ${LANG_GERMAN} "Sie können das später in den Einstellungen von Lock Beacon ändern (Mit Windows starten)."
LangString RunNowText ${LANG_ENGLISH} "Run Lock Beacon now"
LangString RunNowText ${LANG_GERMAN} "Lock Beacon jetzt starten"
LangString StillRunning ${LANG_ENGLISH} "Lock Beacon is still running and could not be closed.$\r$\n$\r$\nPlease end it from its icon in the notification area (Exit), then click Retry."
LangString StillRunning ${LANG_GERMAN} "Lock Beacon läuft noch und konnte nicht beendet werden.$\r$\n$\r$\nBitte beenden Sie es über sein Symbol im Infobereich (Beenden) und klicken Sie dann auf Wiederholen."
LangString RemoveSettingsQuestion ${LANG_ENGLISH} "Do you also want to remove your Lock Beacon settings?$\r$\n$\r$\nChoose No to keep them for a later installation."
LangString RemoveSettingsQuestion ${LANG_GERMAN} "Möchten Sie auch Ihre Einstellungen von Lock Beacon entfernen?$\r$\n$\r$\nWählen Sie Nein, um sie für eine spätere Installation zu behalten."
LangString OutsideProfile ${LANG_ENGLISH} "Lock Beacon can only be installed inside your own user folder ($PROFILE), where other users cannot change its files.$\r$\n$\r$\nPlease choose a folder there, for example $LOCALAPPDATA\Programs\Lock Beacon."
LangString OutsideProfile ${LANG_GERMAN} "Lock Beacon kann nur innerhalb Ihres eigenen Benutzerordners ($PROFILE) installiert werden, wo andere Benutzer seine Dateien nicht ändern können.$\r$\n$\r$\nBitte wählen Sie dort einen Ordner, zum Beispiel $LOCALAPPDATA\Programs\Lock Beacon."

; The setup's list of what it delivered, in the installation folder: its first line names it,
; then one file (relative to the folder) per line. The uninstaller deletes only files named
; there that this setup delivers, and none at all when the list is missing, so that files of
; the same names that are not this installation's stay.
!include TextFunc.nsh
!define MARKER "LockBeacon-files.txt"
!define MARKER_HEADER "Lock Beacon setup: files delivered"

; $INSTDIR as a full path without a trailing "\" ("..", "." and "/" resolved), and whether it
; lies inside the user's profile, where other users cannot write: $0 = 1 when it does, else 0.
; A folder directly under C:\ (writable by every user) would let another user replace the
; program that the Run entry starts.
Function CheckInstallFolder
  Push $1
  Push $2
  StrCpy $0 0
  StrCpy $1 ""
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    ${Do}
      StrCpy $2 $1 1 -1
      ${If} $2 != "\"
        ${Break}
      ${EndIf}
      StrCpy $1 $1 -1
    ${Loop}
    StrCpy $INSTDIR $1
    ; NSIS compares without regard to letter case, as the file system does.
    StrLen $2 "$PROFILE\"
    StrCpy $2 $1 $2
    ${If} $1 == $PROFILE
    ${OrIf} $2 == "$PROFILE\"
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

; A chosen folder that holds files but no earlier Lock Beacon (neither the program nor the
; setup's list) gets a folder of its own inside it, so that the setup overwrites, and the
; uninstaller later deletes, nothing of what was there (the Desktop, Downloads).
Function AppendFolderOfItsOwn
  Push $0
  ${Do}
    ${DirState} "$INSTDIR" $0
    ${If} $0 <> 1
    ${OrIf} ${FileExists} "$INSTDIR\${EXE_NAME}"
    ${OrIf} ${FileExists} "$INSTDIR\${MARKER}"
      ${Break}
    ${EndIf}
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${Loop}
  Pop $0
FunctionEnd

; The folder given as /D= on the command line (NSIS takes it as the rest of the line after the
; last " /D="), or "" when there is none: $0. NSIS itself quietly replaces a /D= folder it
; cannot use (a UNC path, for one) with the default, so a silent run would install somewhere
; else than asked and report success; the folder asked for is checked instead. $CMDLINE has
; the /D= part cut off, so the process's own command line is read.
Function CommandLineFolder
  Push $1
  Push $2
  Push $3
  StrCpy $0 ""
  System::Call 'kernel32::GetCommandLineW() w .r3'
  StrLen $1 $3
  ${Do}
    IntOp $1 $1 - 1
    ${If} $1 < 0
      ${Break}
    ${EndIf}
    StrCpy $2 $3 4 $1
    ${If} $2 S== " /D="
      IntOp $1 $1 + 4
      StrCpy $0 $3 "" $1
      ${Break}
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

Function FolderPageLeave
  Push $0
  Call CheckInstallFolder
  ${If} $0 <> 1
    Pop $0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(OutsideProfile)"
    Abort  ; stays on the folder page
  ${EndIf}
  Pop $0
  Call AppendFolderOfItsOwn
FunctionEnd

; Closes every running copy of the program started from $INSTDIR: WM_CLOSE to its application
; window, which ends it as its Exit command does, then a wait for the process to end. A copy
; that does not end is never killed: the user is asked to end it and retry, or cancels (a
; silent run cancels). Copies started from other folders are left alone. Sets $WasRunning.
!macro DEFINE_CLOSE_RUNNING_COPIES UN
Function ${UN}CloseRunningCopies
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $WasRunning 0
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${APP_WINDOW_CLASS}" "" 0 $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    StrCpy $1 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r1) p .r2'
    ${If} $2 <> 0
      StrCpy $3 ""
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
      ${If} $3 == "$INSTDIR\${EXE_NAME}"
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i .r4'
        System::Call 'kernel32::CloseHandle(p r2)'
        ${If} $4 <> 0
          MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY +2
          Abort
        ${Else}
          StrCpy $WasRunning 1
        ${EndIf}
        StrCpy $0 0  ; the list of windows changed: from the top again
        ${Continue}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_COPIES ""
!insertmacro DEFINE_CLOSE_RUNNING_COPIES "un."

Function .onInit
  SetShellVarContext current
  ; A silent run has no folder page: /D= (or the last installation's folder) is checked here,
  ; and one outside the profile ends the setup with exit code 2, having written nothing.
  ${If} ${Silent}
    Call CommandLineFolder
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${EndIf}
    Call CheckInstallFolder
    ${If} $0 <> 1
      MessageBox MB_OK|MB_ICONSTOP "$(OutsideProfile)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    Call AppendFolderOfItsOwn
  ${EndIf}
  ; Ticked for a new installation. An upgrade shows what the user has, as the program's own
  ; Settings dialog does: ticked when the Run entry names this installation and Task Manager's
  ; Startup page has not switched it off.
  StrCpy $StartAtSignIn ${BST_CHECKED}
  StrCpy $IsUpgrade 0
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 != ""
    StrCpy $IsUpgrade 1
    ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    Call StartupSwitchedOff
    ${If} $1 != '"$INSTDIR\${EXE_NAME}"'
    ${OrIf} $0 = 1
      StrCpy $StartAtSignIn ${BST_UNCHECKED}
    ${EndIf}
  ${EndIf}
  StrCpy $SignInAsFound $StartAtSignIn
FunctionEnd

; $0 = 1 when the Run entry is switched off in Task Manager's Startup page: the first byte of
; the binary value under StartupApproved\Run is odd (02 on, 03 off, followed by the time), as
; the program reads it. NSIS cannot read binary values, so advapi32's RegGetValueW is called
; (HKEY_CURRENT_USER as the 64-bit handle value; RRF_RT_REG_BINARY).
Function StartupSwitchedOff
  Push $2
  Push $3
  StrCpy $0 0
  System::Alloc 64
  Pop $2
  System::Call 'advapi32::RegGetValueW(p 0xFFFFFFFF80000001, w "${APPROVED_KEY}", w "${RUN_VALUE}", i 0x8, p 0, p r2, *i 64) i .r3'
  ${If} $3 = 0
    System::Call '*$2(&i1 .r3)'
    IntOp $0 $3 & 1
  ${EndIf}
  System::Free $2
  Pop $3
  Pop $2
FunctionEnd

Function SignInPage
  !insertmacro MUI_HEADER_TEXT "$(SignInTitle)" "$(SignInSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateCheckbox} 0 0 100% 12u "$(SignInText)"
  Pop $SignInBox
  ${NSD_SetState} $SignInBox $StartAtSignIn
  ${NSD_CreateLabel} 0 24u 100% 24u "$(SignInHint)"
  Pop $0
  nsDialogs::Show
FunctionEnd

Function SignInPageLeave
  ${NSD_GetState} $SignInBox $StartAtSignIn
FunctionEnd

Function RunNow
  ; A copy closed for the upgrade has been started again already.
  ${If} $WasRunning <> 1
    Exec '"$INSTDIR\${EXE_NAME}"'
  ${EndIf}
FunctionEnd

Section "Lock Beacon" MainSection
  SectionIn RO
  Call CloseRunningCopies

  ; settings.ini is not among the files: one beside an older installation or a portable copy
  ; in the chosen folder stays as it is, and so does the update store in the registry.
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=${EXE_NAME}" "${EXE}"
  File /r "${DELIVER}/*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  FileOpen $0 "$INSTDIR\${MARKER}" w
  FileWrite $0 "${MARKER_HEADER}$\r$\n${EXE_NAME}$\r$\n"
  !macro DELIVERED_FILE NAME
    FileWrite $0 "${NAME}$\r$\n"
  !macroend
  !include "${DELIVERED_LIST}"
  !macroundef DELIVERED_FILE
  FileClose $0
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE_NAME}" "" "$INSTDIR\${EXE_NAME}" 0

  ; The same entry as the program's "Start with Windows": the exe's path in quotes. A new
  ; installation writes it as the box says; an upgrade touches the entry and its switch only
  ; when the user changed the box (a silent upgrade keeps both as they are, also an entry
  ; switched off in Task Manager).
  ${If} $IsUpgrade = 1
  ${AndIf} $StartAtSignIn == $SignInAsFound
    Goto signInDone
  ${EndIf}
  ${If} $StartAtSignIn == ${BST_CHECKED}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE_NAME}"'
    DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
  ${Else}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == '"$INSTDIR\${EXE_NAME}"'
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
      DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}
  signInDone:

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE_NAME}",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ${If} $WasRunning = 1
    Exec '"$INSTDIR\${EXE_NAME}"'
  ${EndIf}
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopies

  StrCpy $RemoveSettings 0
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettingsQuestion)" /SD IDNO IDNO +2
  StrCpy $RemoveSettings 1

  ; The sign-in entry and the uninstall entry, when they are this installation's.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\${EXE_NAME}"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ${If} $RemoveSettings = 1
    DeleteRegKey HKCU "${UPDATE_STORE_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  ${EndIf}

  ; Only the files the setup's list names, and of those only the ones this setup delivers:
  ; anything else in the folder stays, and with it the folder. Without the list no file is
  ; deleted but the uninstaller: the files there may be someone else's. The uninstaller itself
  ; goes last, so that its going tells that the rest is done.
  ClearErrors
  FileOpen $0 "$INSTDIR\${MARKER}" r
  ${IfNot} ${Errors}
    FileRead $0 $1
    ${TrimNewLines} $1 $1
    ${If} $1 == "${MARKER_HEADER}"
      ${Do}
        ClearErrors
        FileRead $0 $1
        ${If} ${Errors}
          ${Break}
        ${EndIf}
        ${TrimNewLines} $1 $1
        ${If} $1 == "${EXE_NAME}"
          Delete "$INSTDIR\${EXE_NAME}"
        ${EndIf}
        !macro DELIVERED_FILE NAME
          ${If} $1 == "${NAME}"
            Delete "$INSTDIR\${NAME}"
          ${EndIf}
        !macroend
        !include "${DELIVERED_LIST}"
        !macroundef DELIVERED_FILE
      ${Loop}
      FileClose $0
      Delete "$INSTDIR\${MARKER}"
      ${If} $RemoveSettings = 1
        Delete "$INSTDIR\settings.ini"
      ${EndIf}
      ; The restart script the language chooser leaves in the settings folder.
      Delete "$INSTDIR\start.bat"
      RMDir "$INSTDIR\Languages"
    ${Else}
      FileClose $0
    ${EndIf}
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
