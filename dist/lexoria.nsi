; Lexoria's Windows installer and uninstaller, built by tools/dist.sh with:
;   makensis -DVERSION=<version> -DSTAGE=<folder of the release files> -DICON=<lexoria.ico>
;            -DOUTFILE=<setup exe> [-DLIST_TOOL] [-DTARGET_AMD64] [-DSIMULATE_STANDARD_USER]
;            lexoria.nsi
; STAGE holds exactly what the zip archive holds; LIST_TOOL says lexoria-list.exe is among them.
; TARGET_AMD64 packages a 64-bit build (the tests' on a machine that runs no 32-bit code): it
; goes to the 64-bit Program Files and writes the registry's 64-bit view.
; SIMULATE_STANDARD_USER builds the release test's copy only (see isAdministrator).
;
; By default it installs for the current user alone, without an administrator: into
; %LOCALAPPDATA%\Programs\Lexoria, the user's own Start menu and an uninstall entry under HKCU,
; where the user may also replace lexoria.lst. A page (or /ALLUSERS in a silent run) installs for
; everyone into Program Files instead, with the entry under HKLM; only that asks for elevation.
; Installing again keeps a word list the user changed, unless /NEWLIST asks for the new one.
;
; Lexoria runs on Windows XP SP3 to 11, and so does this installer: it is a Unicode program, as
; Lexoria is, so that it can spell any folder and any user's profile.
; Exit codes: 0 installed (or removed); 1 cancelled, or an administrator's permission was refused;
; 2 not done: Lexoria is running, the folder cannot be written, or Windows is older than XP SP3.

!ifdef TARGET_AMD64
Target amd64-unicode
!else
Target x86-unicode
!endif
; Measured on the 1.1.0 release files: solid LZMA makes the smallest installer (bzip2 +15%,
; zlib +20%, LZMA file by file +6%); the data is well under LZMA's 8 MB dictionary.
SetCompressor /SOLID /FINAL lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"

!ifndef VERSION | STAGE | ICON | OUTFILE
  !error "Define VERSION, STAGE, ICON and OUTFILE (tools/dist.sh does)"
!endif

!define PUBLISHER "The Lexoria developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lexoria"
; Where the program keeps each user's settings; only the uninstaller's question touches it.
!define SETTINGS_PARENT "SOFTWARE\Fennwick Systems"
!define SETTINGS_KEY "${SETTINGS_PARENT}\Lexoria"
; The class and title of the main window, by which a running copy is found.
!define WINDOW_NAME "Lexoria"
!ifdef TARGET_AMD64
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif
!define EXIT_REFUSED 1
!define EXIT_NOT_DONE 2

Name "Lexoria"
Caption "$(setupCaption)"
UninstallCaption "$(uninstallCaption)"
OutFile "${OUTFILE}"
; No InstallDir: .onInit chooses the folder for the install mode, unless /D= gave one.
RequestExecutionLevel user
BrandingText "Lexoria ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; A small program needs few pages: the licence, the folder, the progress and a way to start it.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "$(licenceBottom)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
Page custom installModePage installModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lexoria.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages of NSIS's own pages and of Lexoria's texts, one file each under lang/ (see
; lang/English.nsh for how to add one). Windows' display language chooses, falling back on the
; same primary language and then on English, which therefore comes first.
!include "lang/English.nsh"
!include "lang/German.nsh"
!include "lang/French.nsh"
!include "lang/Spanish.nsh"
!include "lang/Italian.nsh"
!include "lang/PortugueseBR.nsh"
!include "lang/Polish.nsh"
!include "lang/Russian.nsh"
!include "lang/Ukrainian.nsh"
!include "lang/Turkish.nsh"
!include "lang/Japanese.nsh"
!include "lang/SimpChinese.nsh"
!include "lang/Korean.nsh"
!include "lang/Arabic.nsh"

; The file's version resource, in English.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Lexoria"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Lexoria ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "Comments" "Lexoria runs on Windows XP SP3 to Windows 11."
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

; Lexoria shows Traditional Chinese users its English texts, not the Simplified ones that NSIS's
; primary-language fallback would pick; the installer does the same. Texts shown by .onInit
; itself keep the language NSIS chose, which is set only after .onInit.
!macro CHOOSE_LANGUAGE
  System::Call "kernel32::GetUserDefaultUILanguage() i .r0"
  IntOp $0 $0 & 0xFFFF
  ${If} $0 = 0x0404    ; Taiwan
  ${OrIf} $0 = 0x0C04  ; Hong Kong
  ${OrIf} $0 = 0x1404  ; Macao
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
!macroend

; Files cannot be replaced or removed while the program runs from them: ask the user to close
; it, and give up (exit code 2) when nobody can answer, as in a silent run.
!macro WAIT_FOR_LEXORIA_TO_CLOSE prefix
Function ${prefix}waitForLexoriaToClose
  check:
    FindWindow $0 "${WINDOW_NAME}" "${WINDOW_NAME}"
    StrCmp $0 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(running)" /SD IDCANCEL IDRETRY check
    Abort
  closed:
FunctionEnd
!macroend
!insertmacro WAIT_FOR_LEXORIA_TO_CLOSE ""
!insertmacro WAIT_FOR_LEXORIA_TO_CLOSE "un."

; Lexoria needs Windows XP SP3 or later: anything older ends here (exit code 2). The installer
; asks Windows itself, as WinVer.nsh assumes XP for a 64-bit installer at compile time.
Function refuseOldWindows
  ; OSVERSIONINFOEXW: size, major, minor, build, platform, CSD text, service pack major, ...
  System::Call "*(&l4, i, i, i, i, &w128, &i2, &i2, &i2, &i1, &i1) p .r0"
  System::Call "kernel32::GetVersionExW(p r0) i .r1"
  System::Call "*$0(i, i .r2, i .r3, i, i, &w128, &i2 .r4)"
  System::Free $0
  ; major, minor and service pack as one number: XP SP3 is 5.1 SP3, 50103.
  IntOp $2 $2 * 10000
  IntOp $3 $3 * 100
  IntOp $2 $2 + $3
  IntOp $2 $2 + $4
  ${If} $1 <> 0
  ${AndIf} $2 < 50103
    MessageBox MB_OK|MB_ICONSTOP "$(oldWindows)" /SD IDOK
    SetErrorLevel ${EXIT_NOT_DONE}
    Quit
  ${EndIf}
FunctionEnd

Var allUsers          ; 1: for everyone, into Program Files; else for the current user
Var folderFromCommand ; the folder /D= gave, which wins over either default
Var justMeButton
Var everyoneButton

; Whether this process may install for everyone. The release test's copy (SIMULATE_STANDARD_USER)
; plays a standard user until it is started again "elevated", since Wine always reports an
; administrator and the path below would otherwise never run there.
!macro IS_ADMINISTRATOR prefix
Function ${prefix}isAdministrator
!ifdef SIMULATE_STANDARD_USER
  ClearErrors
  ${GetOptions} $CMDLINE "/SIMULATED_ELEVATION" $0
  ${If} ${Errors}
    Push 0
  ${Else}
    Push 1
  ${EndIf}
!else
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Push 1
  ${Else}
    Push 0
  ${EndIf}
!endif
FunctionEnd
!macroend
!insertmacro IS_ADMINISTRATOR ""
!insertmacro IS_ADMINISTRATOR "un."

; Starts this program again elevated ("runas") with the parameters on the stack, waits for it and
; pushes its exit code, or "refused" when it could not be started (the user said No to Windows'
; question, or no administrator could be given). The caller ends with the elevated copy's code,
; which ShellExecuteEx gives through the process handle (ExecShellWait keeps it to itself).
!define SEE_MASK_NOCLOSEPROCESS 0x40
!macro RUN_ELEVATED prefix
Function ${prefix}runElevated
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
!ifdef SIMULATE_STANDARD_USER
  StrCpy $R0 "/SIMULATED_ELEVATION $R0"
!endif
  ; SHELLEXECUTEINFOW; a 64-bit build pads nShow and dwHotKey to the next pointer.
!if ${NSIS_PTR_SIZE} > 4
  !define /redef PAD "i 0,"
!else
  !define /redef PAD ""
!endif
  StrCpy $R2 $EXEPATH  ; passed through a register: a path may hold any character
  System::Call "*(&l4, i ${SEE_MASK_NOCLOSEPROCESS}, p $HWNDPARENT, w 'runas', w R2, w R0, \
    p 0, i ${SW_SHOWNORMAL}, ${PAD} p 0, p 0, p 0, p 0, i 0, ${PAD} p 0, p 0) p .R1"
  System::Call "shell32::ShellExecuteExW(p R1) i .R2"
  System::Call "*$R1(i, i, p, p, p, p, p, i, ${PAD} p, p, p, p, i, ${PAD} p, p .R3)"
  System::Free $R1
  ${If} $R2 = 0
  ${OrIf} $R3 P= 0
    StrCpy $R0 "refused"
  ${Else}
    System::Call "kernel32::WaitForSingleObject(p R3, i -1)"
    System::Call "kernel32::GetExitCodeProcess(p R3, *i .R0)"
    System::Call "kernel32::CloseHandle(p R3)"
  ${EndIf}
  Pop $R3
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd
!macroend
!insertmacro RUN_ELEVATED ""
!insertmacro RUN_ELEVATED "un."

; An install for everyone needs an administrator. Without one, the same installer starts again
; elevated, with its parameters, the mode and the folder /D= gave (which NSIS takes out of the
; command line), and this copy ends with that copy's exit code. Pushes "refused" when Windows
; gave no administrator, so that the page can stay.
Function requireAdministrator
  Call isAdministrator
  Pop $0
  ${If} $0 = 1
    Push ""
    Return
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/ALLUSERS" $0
  ${If} ${Errors}
    StrCpy $1 "/ALLUSERS $1"
  ${EndIf}
  ${If} $folderFromCommand != ""
    StrCpy $1 "$1 /D=$folderFromCommand"
  ${EndIf}
  HideWindow
  Push $1
  Call runElevated
  Pop $0
  ${If} $0 == "refused"
    ShowWindow $HWNDPARENT ${SW_SHOW}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(noAdministratorToInstall)" /SD IDOK
    Push "refused"
    Return
  ${EndIf}
  SetErrorLevel $0
  Quit
FunctionEnd

; The shell folders, SHCTX and the default folder for the chosen mode; an existing installation
; of the same mode keeps its folder.
Function applyInstallMode
  ${If} $allUsers == 1
    SetShellVarContext all
    StrCpy $INSTDIR "${PROGRAM_FILES}\Lexoria"
  ${Else}
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Lexoria"
  ${EndIf}
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $folderFromCommand != ""
    StrCpy $INSTDIR $folderFromCommand
  ${EndIf}
FunctionEnd

; The folder that /D= asked for. NSIS takes /D= off the end of $CMDLINE, and replaces a folder it
; cannot use (a file in the way, a missing drive) with the default one, which would install where
; the user did not ask: the folder is read from the command line as Windows gave it instead, and
; a folder that cannot be written then ends the installation (failToWrite).
Function readFolderFromCommand
  System::Call "kernel32::GetCommandLineW() w .r0"
  StrLen $1 $CMDLINE
  StrCpy $2 $0 4 $1
  StrCpy $folderFromCommand ""
  ${If} $2 == " /D="
    IntOp $1 $1 + 4
    StrCpy $folderFromCommand $0 "" $1
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro CHOOSE_LANGUAGE
  Call refuseOldWindows
!ifdef TARGET_AMD64
  SetRegView 64
!endif
  Call readFolderFromCommand
  StrCpy $allUsers 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $allUsers 1
    Call requireAdministrator
    Pop $0
    ${If} $0 == "refused"
      SetErrorLevel ${EXIT_REFUSED}
      Quit
    ${EndIf}
  ${EndIf}
  Call applyInstallMode
FunctionEnd

Function installModePage
  !insertmacro MUI_HEADER_TEXT "$(modeTitle)" "$(modeSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  nsDialogs::SetRTL $(^RTL)
  ${NSD_CreateLabel} 0 0 100% 32u "$(modeText)"
  Pop $0
  ${NSD_CreateRadioButton} 10u 40u 90% 12u "$(justMe)"
  Pop $justMeButton
  ${NSD_CreateRadioButton} 10u 56u 90% 12u "$(everyone)"
  Pop $everyoneButton
  ${If} $allUsers == 1
    ${NSD_Check} $everyoneButton
  ${Else}
    ${NSD_Check} $justMeButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function installModePageLeave
  ${NSD_GetState} $everyoneButton $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $allUsers 1
    Call requireAdministrator
    Pop $0
    ${If} $0 == "refused"
      Abort  ; stay on the page: "Just for me" still works
    ${EndIf}
  ${Else}
    StrCpy $allUsers 0
  ${EndIf}
  Call applyInstallMode
FunctionEnd

; The uninstaller removes the installation it belongs to: the one for everyone when the machine's
; entry names its folder, else the current user's. NSIS runs the uninstaller from a copy in the
; temporary folder and tells that copy the installation's folder with _?=, which it then takes out
; of the command line: the elevated copy needs it given again, or it would take the temporary
; folder for the installation.
Function un.onInit
  !insertmacro CHOOSE_LANGUAGE
  ; A folder that is any process's current folder cannot be removed, and this copy (and the
  ; elevated one, which inherits it) may have been started in the installation's folder.
  SetOutPath "$TEMP"
!ifdef TARGET_AMD64
  SetRegView 64
!endif
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 == $INSTDIR
    StrCpy $allUsers 1
    SetShellVarContext all
    Call un.isAdministrator
    Pop $0
    ${If} $0 <> 1
      ${GetParameters} $1
      Push "$1 _?=$INSTDIR"
      Call un.runElevated
      Pop $0
      ${If} $0 == "refused"
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(noAdministratorToUninstall)" /SD IDOK
        StrCpy $0 ${EXIT_REFUSED}
      ${EndIf}
      SetErrorLevel $0
      Quit
    ${EndIf}
  ${Else}
    StrCpy $allUsers 0
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; What the word list looked like when this installer put it there: its write time and size. A
; list that no longer matches is the user's own.
!macro LIST_STAMP prefix
Function ${prefix}listStamp
  StrCpy $R9 ""
  IfFileExists "$INSTDIR\lexoria.lst" 0 done
  GetFileTime "$INSTDIR\lexoria.lst" $R7 $R8
  FileOpen $R6 "$INSTDIR\lexoria.lst" r
  FileSeek $R6 0 END $R5
  FileClose $R6
  StrCpy $R9 "$R7 $R8 $R5"
done:
FunctionEnd
!macroend
!insertmacro LIST_STAMP ""
!insertmacro LIST_STAMP "un."

; A list the user changed stays; /NEWLIST replaces it anyway.
Function installWordList
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NEWLIST" $1
  ${If} ${Errors}
    Call listStamp
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "WordListStamp"
    ${If} $R9 != ""
    ${AndIf} $R9 != $0
      Return
    ${EndIf}
  ${EndIf}
  ClearErrors
  File "${STAGE}/lexoria.lst"
  IfErrors 0 +2
    Call failToWrite
  Call listStamp
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "WordListStamp" $R9
FunctionEnd

; A folder that cannot be made or written (a file in the way, no rights, a missing drive) ends
; the installation with exit code 2. A silent run would otherwise skip every file it could not
; write and report success.
Function failToWrite
  MessageBox MB_OK|MB_ICONSTOP "$(cannotWrite)" /SD IDOK
  SetErrorLevel ${EXIT_NOT_DONE}
  Abort
FunctionEnd

Section "Lexoria" SectionProgram
  SectionIn RO
  Call waitForLexoriaToClose

  ClearErrors
  SetOutPath "$INSTDIR"
  File "${STAGE}/Lexoria.exe"
  IfErrors 0 +2
    Call failToWrite
  Call installWordList
  ClearErrors
  File "${STAGE}/lexoria.hlp"
  File "${STAGE}/lexoria.chm"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
!ifdef LIST_TOOL
  File "${STAGE}/lexoria-list.exe"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  IfErrors 0 +2
    Call failToWrite

  CreateShortCut "$SMPROGRAMS\Lexoria.lnk" "$INSTDIR\Lexoria.exe" "" "$INSTDIR\Lexoria.exe" 0 \
    SW_SHOWNORMAL "" "$(shortcutComment)"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Lexoria"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lexoria.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  ; The program asks for lexoria.hlp in its own folder, or by its bare name when the ANSI code
  ; page cannot spell that folder; the help viewer then looks the folder up here.
  WriteRegStr SHCTX "Software\Microsoft\Windows\Help" "lexoria.hlp" "$INSTDIR"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The shortcut that Lexoria's options put in the user's Startup folder would point at nothing
; once the program is gone; it goes when it points at this installation. A shortcut of another
; copy (say one unpacked from the zip archive) stays.
Function un.removeStartupShortcut
  SetShellVarContext current
  StrCpy $3 ""
  IfFileExists "$SMSTARTUP\Lexoria.lnk" 0 done
  ; CLSID_ShellLink, IID_IShellLinkW; then IID_IPersistFile through QueryInterface. The target
  ; is read as the shell resolves it, from the link's item list (GetIDList), which spells every
  ; folder; GetPath may give a copy in the ANSI code page.
  System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, \
    i 1, g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r0"
  ${If} $0 = 0
    System::Call "$1->0(g '{0000010B-0000-0000-C000-000000000046}', *p .r2) i .r0"
    ${If} $0 = 0
      StrCpy $4 "$SMSTARTUP\Lexoria.lnk"
      System::Call "$2->5(w r4, i 0) i .r0"
      ${If} $0 = 0
        System::Call "$1->4(*p .r5) i .r0"
        ${If} $0 = 0
          System::Call "shell32::SHGetPathFromIDListW(p r5, w .r3)"
          System::Call "ole32::CoTaskMemFree(p r5)"
        ${EndIf}
        ${If} $3 == ""
          System::Call "$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 0)"
        ${EndIf}
      ${EndIf}
      System::Call "$2->2()"
    ${EndIf}
    System::Call "$1->2()"
  ${EndIf}
  ${If} $3 == "$INSTDIR\Lexoria.exe"
    Delete "$SMSTARTUP\Lexoria.lnk"
  ${EndIf}
done:
  ${If} $allUsers == 1
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.waitForLexoriaToClose

  Delete "$INSTDIR\Lexoria.exe"
  ; The user's own list stays behind, and with it the folder.
  Call un.listStamp
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "WordListStamp"
  ${If} $R9 == $0
    Delete "$INSTDIR\lexoria.lst"
  ${EndIf}
  Delete "$INSTDIR\lexoria.hlp"
  Delete "$INSTDIR\lexoria.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\lexoria-list.exe"
  ; Windows Help keeps its index of a help file in a .gid file beside it, where it may write.
  Delete "$INSTDIR\lexoria.gid"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Lexoria.lnk"
  Call un.removeStartupShortcut
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegValue SHCTX "Software\Microsoft\Windows\Help" "lexoria.hlp"

  ; Settings stay unless the user asks: a later installation picks them up again.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(settingsQuestion)" /SD IDNO IDNO keepSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
keepSettings:
SectionEnd
