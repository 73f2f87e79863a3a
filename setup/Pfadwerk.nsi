; Pfadwerk-Setup.exe: installs Pfadwerk for the current user, without
; administrator rights, and updates a running copy in place.
;
; Built by setup/CMakeLists.txt, which passes:
;   PF_VERSION       the version as the user sees it (1.0.0001)
;   PF_VERSION_QUAD  the same as four numbers, for the file's version resource
;   PF_FILES         folder with the stripped programs and their files
;   PF_RESOURCES     the resources folder (icon, side picture)
;   PF_OUTFILE       the set-up program to write
;   PF_TARGET        the installer stub: x86-unicode, or amd64-unicode for the
;                    x86_64 build
; and puts Contracts.nsh, the names the programs themselves use (worker
; window and its exit request, window classes, shortcuts, data folder,
; settings key), on the include path.
;
; Silent use:  Pfadwerk-Setup.exe /S           installs, starts the worker
;              Uninstall.exe /S                removes the program, keeps the
;                                              history and settings
;              Uninstall.exe /S /REMOVEDATA    removes them too

Unicode true
Target ${PF_TARGET}
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"
!include "Contracts.nsh"

!define PF_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pfadwerk"
!define PF_PUBLISHER "tannbach"
!define PF_START_MENU_LINK "$SMPROGRAMS\Pfadwerk.lnk"

Name "Pfadwerk"
OutFile "${PF_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pfadwerk"
; An update goes where the installed copy is.
InstallDirRegKey HKCU "${PF_UNINSTALL_KEY}" "InstallLocation"
BrandingText "Pfadwerk ${PF_VERSION}"

VIProductVersion "${PF_VERSION_QUAD}"
VIFileVersion "${PF_VERSION_QUAD}"
VIAddVersionKey /LANG=1031 "ProductName" "Pfadwerk"
VIAddVersionKey /LANG=1031 "CompanyName" "${PF_PUBLISHER}"
VIAddVersionKey /LANG=1031 "FileDescription" "Pfadwerk-Setup"
VIAddVersionKey /LANG=1031 "FileVersion" "${PF_VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${PF_VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "© ${PF_PUBLISHER}"
VIAddVersionKey /LANG=1031 "OriginalFilename" "Pfadwerk-Setup.exe"

!define MUI_ICON "${PF_RESOURCES}\Pfadwerk.ico"
!define MUI_UNICON "${PF_RESOURCES}\Pfadwerk.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PF_RESOURCES}\setup.bmp"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$(PF_WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryOnUpdate
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(PF_FinishText)"
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.AskPage un.AskPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"
!include "Texts.nsh"

Var RemoveData       ; 1: the uninstaller removes history and settings too
Var RemoveDataCheck  ; its check box

; --- Ending the running programs ---------------------------------------------
; Both the installer and the uninstaller need these; NSIS wants the
; uninstaller's functions under names of their own.

!macro PF_PROGRAM_FUNCTIONS un
; Waits for the process whose handle is on the stack (0: none) and closes the
; handle. A process that has not ended after ten seconds is ended by force, so
; that its files can be replaced.
Function ${un}AwaitProcessEnd
    Exch $0
    Push $1
    ${If} $0 <> 0
        System::Call "kernel32::WaitForSingleObject(p r0, i 10000) i .r1"
        ${If} $1 <> 0
            System::Call "kernel32::TerminateProcess(p r0, i 1)"
            System::Call "kernel32::WaitForSingleObject(p r0, i 5000)"
        ${EndIf}
        System::Call "kernel32::CloseHandle(p r0)"
    ${EndIf}
    Pop $1
    Pop $0
FunctionEnd

; The process behind a window (on the stack), opened for waiting and ending;
; its handle replaces the window on the stack, 0 when it cannot be had.
Function ${un}ProcessOfWindow
    Exch $0
    Push $1
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r0"
    Pop $1
    Exch $0
FunctionEnd

; Closes every window of the class on the stack like its close box does and
; waits for its process to end.
Function ${un}CloseWindowsOfClass
    Exch $0
    Push $1
    Push $2
    StrCpy $2 0
    ${Do}
        FindWindow $1 "$0" ""
        ${If} $1 = 0
        ${OrIf} $2 >= 5
            ${Break}
        ${EndIf}
        Push $1
        Call ${un}ProcessOfWindow
        SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        Call ${un}AwaitProcessEnd
        IntOp $2 $2 + 1
    ${Loop}
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; Ends the worker (by its own exit request, so it finishes what it is
; writing), the main program and a welcome window still open from an earlier
; set-up, before their files are replaced or removed.
Function ${un}EndPrograms
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    FindWindow $0 "" "${PF_WORKER_CAPTION}"
    ${If} $0 <> 0
        Push $0
        Call ${un}ProcessOfWindow
        ; The request as the worker takes it: UTF-16 without a closing NUL.
        StrLen $3 "${PF_EXIT_REQUEST}"
        IntOp $3 $3 * 2
        System::Call "*(&w64 '${PF_EXIT_REQUEST}') p .r1"
        !if ${NSIS_PTR_SIZE} > 4
            System::Call "*(p 0, i r3, i 0, p r1) p .r2"
        !else
            System::Call "*(p 0, i r3, p r1) p .r2"
        !endif
        System::Call "user32::SendMessageTimeoutW(p r0, i ${WM_COPYDATA}, p 0, p r2, i 2, i 5000, *p .r4)"
        System::Free $2
        System::Free $1
        Call ${un}AwaitProcessEnd
    ${EndIf}
    Push "${PF_MAIN_WINDOW_CLASS}"
    Call ${un}CloseWindowsOfClass
    Push "${PF_WELCOME_WINDOW_CLASS}"
    Call ${un}CloseWindowsOfClass
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro PF_PROGRAM_FUNCTIONS ""
!insertmacro PF_PROGRAM_FUNCTIONS "un."

; --- Installer ----------------------------------------------------------------

Function .onInit
    SetShellVarContext current
    System::Call 'kernel32::CreateMutexW(p 0, i 0, w "Local\Pfadwerk.Setup") p .r0 ?e'
    Pop $0
    ${If} $0 = 183  ; ERROR_ALREADY_EXISTS
        MessageBox MB_OK|MB_ICONINFORMATION "$(PF_AlreadyRunning)" /SD IDOK
        Abort
    ${EndIf}
FunctionEnd

; An update installs over the existing copy; there is nothing to choose.
Function SkipDirectoryOnUpdate
    ReadRegStr $0 HKCU "${PF_UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\${PF_WORKER_PROGRAM}"
        Abort
    ${EndIf}
FunctionEnd

; The worker's autostart shortcut is the one the main program makes at its
; first start, with the same once-per-user rule: made when it never was, so a
; shortcut the user deleted stays deleted; pointed at this copy when it exists.
Function AutostartShortcut
    ReadRegDWORD $0 HKCU "${PF_SETTINGS_KEY}\${PF_CURRENT_SETTINGS}" "${PF_STARTUP_SHORTCUT_CREATED}"
    ${If} ${FileExists} "$SMSTARTUP\${PF_AUTOSTART_LINK}"
    ${OrIf} $0 <> 1
        WriteRegDWORD HKCU "${PF_SETTINGS_KEY}\${PF_CURRENT_SETTINGS}" "${PF_STARTUP_SHORTCUT_CREATED}" 1
        SetOutPath "$INSTDIR"
        CreateShortcut "$SMSTARTUP\${PF_AUTOSTART_LINK}" "$INSTDIR\${PF_WORKER_PROGRAM}" "" \
            "$INSTDIR\${PF_MAIN_PROGRAM}" 0 SW_SHOWNORMAL "" "${PF_AUTOSTART_DESCRIPTION}"
    ${EndIf}
FunctionEnd

; Starts the worker and waits until its window is there, so that a set-up
; run started right after finds it and only shows its welcome window.
Function StartWorker
    Exec '"$INSTDIR\${PF_WORKER_PROGRAM}"'
    StrCpy $1 0
    ${Do}
        FindWindow $0 "" "${PF_WORKER_CAPTION}"
        ${If} $0 <> 0
        ${OrIf} $1 >= 150
            ${Break}
        ${EndIf}
        Sleep 100
        IntOp $1 $1 + 1
    ${Loop}
FunctionEnd

Section "Pfadwerk"
    Call EndPrograms

    SetOutPath "$INSTDIR"
    SetOverwrite on
    ClearErrors
    File "${PF_FILES}\${PF_WORKER_PROGRAM}"
    File "${PF_FILES}\${PF_MAIN_PROGRAM}"
    File "${PF_FILES}\Template.dat"
    File "${PF_FILES}\watermark.png"
    !if /FileExists "${PF_FILES}\Pfadwerk.chm"
        File "${PF_FILES}\Pfadwerk.chm"
    !endif
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ; A file that could not be written (the user chose to ignore it, or a
    ; silent run did) leaves a mixed installation: say so, and fail.
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$(PF_FilesNotWritten)" /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}

    CreateShortcut "${PF_START_MENU_LINK}" "$INSTDIR\${PF_MAIN_PROGRAM}" "" "$INSTDIR\${PF_MAIN_PROGRAM}" 0 \
        SW_SHOWNORMAL "" "$(PF_StartMenuDescription)"
    Call AutostartShortcut

    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "DisplayName" "Pfadwerk"
    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "DisplayVersion" "${PF_VERSION}"
    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "Publisher" "${PF_PUBLISHER}"
    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PF_MAIN_PROGRAM},0"
    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${PF_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${PF_UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${PF_UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${PF_UNINSTALL_KEY}" "EstimatedSize" "$0"

    ; Logging starts now, not at the next log-on.
    Call StartWorker
SectionEnd

; After the last page: the worker's welcome window tells the user how to open
; the main program. A silent installation shows nothing.
Function .onInstSuccess
    ${IfNot} ${Silent}
        Exec '"$INSTDIR\${PF_WORKER_PROGRAM}" /setupnow'
    ${EndIf}
FunctionEnd

; --- Uninstaller --------------------------------------------------------------

Function un.onInit
    SetShellVarContext current
    StrCpy $RemoveData 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        StrCpy $RemoveData 1
    ${EndIf}
FunctionEnd

Function un.AskPage
    !insertmacro MUI_HEADER_TEXT "$(PF_UnHeader)" "$(PF_UnSubheader)"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 72u "$(PF_UnText)"
    Pop $0
    ${NSD_CreateCheckbox} 0 84u 100% 12u "$(PF_UnRemoveData)"
    Pop $RemoveDataCheck
    ${If} $RemoveData = 1
        ${NSD_Check} $RemoveDataCheck
    ${EndIf}
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
    nsDialogs::Show
FunctionEnd

Function un.AskPageLeave
    ${NSD_GetState} $RemoveDataCheck $0
    ${If} $0 = ${BST_CHECKED}
        StrCpy $RemoveData 1
    ${Else}
        StrCpy $RemoveData 0
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.EndPrograms

    Delete "$INSTDIR\${PF_WORKER_PROGRAM}"
    Delete "$INSTDIR\${PF_MAIN_PROGRAM}"
    Delete "$INSTDIR\Template.dat"
    Delete "$INSTDIR\watermark.png"
    Delete "$INSTDIR\Pfadwerk.chm"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only when empty: whatever the user put there stays.
    RMDir "$INSTDIR"

    ; Every shortcut the set-up program and the programs made.
    Delete "${PF_START_MENU_LINK}"
    Delete "$APPDATA\${PF_QUICKLAUNCH_LINK}"
    ${If} ${FileExists} "$SMSTARTUP\${PF_AUTOSTART_LINK}"
        Delete "$SMSTARTUP\${PF_AUTOSTART_LINK}"
        ; Removed by us, not by the user: a later installation makes it again.
        ; A shortcut the user had deleted stays unwanted.
        ${If} $RemoveData <> 1
            WriteRegDWORD HKCU "${PF_SETTINGS_KEY}\${PF_CURRENT_SETTINGS}" "${PF_STARTUP_SHORTCUT_CREATED}" 0
        ${EndIf}
    ${EndIf}

    DeleteRegKey HKCU "${PF_UNINSTALL_KEY}"

    ${If} $RemoveData = 1
        RMDir /r "$LOCALAPPDATA\${PF_DATA_FOLDER}"
        DeleteRegKey HKCU "${PF_SETTINGS_KEY}"
        ; The vendor's key, if Pfadwerk was all that was in it.
        DeleteRegKey /ifempty HKCU "${PF_VENDOR_KEY}"
    ${EndIf}
SectionEnd
