; Lexoria's Windows installer and uninstaller, built by tools/dist.sh with:
;   makensis -DVERSION=<version> -DSTAGE=<folder of the release files> -DICON=<lexoria.ico>
;            -DOUTFILE=<setup exe> [-DLIST_TOOL] [-DTARGET_AMD64] lexoria.nsi
; STAGE holds exactly what the zip archive holds; LIST_TOOL says lexoria-list.exe is among them.
; TARGET_AMD64 packages a 64-bit build (the tests' on a machine that runs no 32-bit code): it
; goes to the 64-bit Program Files and writes the registry's 64-bit view.
;
; By default it installs for the current user alone, without an administrator: into
; %LOCALAPPDATA%\Programs\Lexoria, the user's own Start menu and an uninstall entry under HKCU,
; where the user may also replace lexoria.lst. A page (or /ALLUSERS in a silent run) installs for
; everyone into Program Files instead, with the entry under HKLM; only that asks for elevation.
; Installing again keeps a word list the user changed, unless /NEWLIST asks for the new one.

!ifdef TARGET_AMD64
Target amd64-unicode
!else
; ANSI, as the program is: a Unicode installer would not start on Windows 95, 98 or ME.
Unicode false
!endif
SetCompressor /SOLID lzma

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
!define RUNNING_TEXT "Lexoria is running. Close it, then click Retry."
!define SETTINGS_QUESTION "Also remove your Lexoria settings?$\r$\n$\r$\nThey hold the window position, the options and your place in the word list. Choose No to keep them for a later installation."

Name "Lexoria"
Caption "Lexoria ${VERSION} Setup"
UninstallCaption "Lexoria ${VERSION} Uninstall"
OutFile "${OUTFILE}"
; No InstallDir: .onInit chooses the folder for the install mode, unless /D= gave one.
RequestExecutionLevel user
BrandingText "Lexoria ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Lexoria"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Lexoria ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; A small program needs few pages: the licence, the folder, the progress and a way to start it.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Lexoria is free software under the MIT licence. Click Next to continue."
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

!insertmacro MUI_LANGUAGE "English"

; Files cannot be replaced or removed while the program runs from them: ask the user to close
; it, and give up (exit code 2) when nobody can answer, as in a silent run.
!macro WAIT_FOR_LEXORIA_TO_CLOSE prefix
Function ${prefix}waitForLexoriaToClose
  check:
    FindWindow $0 "${WINDOW_NAME}" "${WINDOW_NAME}"
    StrCmp $0 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" /SD IDCANCEL IDRETRY check
    Abort
  closed:
FunctionEnd
!macroend
!insertmacro WAIT_FOR_LEXORIA_TO_CLOSE ""
!insertmacro WAIT_FOR_LEXORIA_TO_CLOSE "un."

Var allUsers          ; 1: for everyone, into Program Files; else for the current user
Var folderFromCommand ; the folder /D= gave, which wins over either default
Var justMeButton
Var everyoneButton

; An install for everyone needs an administrator. Without one, the same program is started
; again elevated, with its arguments and the mode, and this copy ends when that one has.
!macro REQUIRE_ADMINISTRATOR prefix
Function ${prefix}requireAdministrator
  UserInfo::GetAccountType
  Pop $0
  StrCmp $0 "Admin" done
  ${GetParameters} $1
  ExecShellWait "runas" "$EXEPATH" "/ALLUSERS $1"
  Quit
done:
FunctionEnd
!macroend
!insertmacro REQUIRE_ADMINISTRATOR ""
!insertmacro REQUIRE_ADMINISTRATOR "un."

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

Function .onInit
!ifdef TARGET_AMD64
  SetRegView 64
!endif
  StrCpy $folderFromCommand $INSTDIR
  StrCpy $allUsers 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $allUsers 1
    Call requireAdministrator
  ${EndIf}
  Call applyInstallMode
FunctionEnd

Function installModePage
  !insertmacro MUI_HEADER_TEXT "Who will use Lexoria?" "Install it for yourself, or for everyone on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Installed for you alone, Lexoria needs no administrator, and you can replace its word list with your own."
  Pop $0
  ${NSD_CreateRadioButton} 10u 34u 90% 12u "&Just for me (recommended)"
  Pop $justMeButton
  ${NSD_CreateRadioButton} 10u 50u 90% 12u "For &everyone on this computer (needs an administrator)"
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
  ${Else}
    StrCpy $allUsers 0
  ${EndIf}
  Call applyInstallMode
FunctionEnd

; The uninstaller removes the installation it belongs to: the one for everyone when the machine's
; entry names its folder, else the current user's.
Function un.onInit
!ifdef TARGET_AMD64
  SetRegView 64
!endif
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 == $INSTDIR
    StrCpy $allUsers 1
    SetShellVarContext all
    Call un.requireAdministrator
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
  File "${STAGE}/lexoria.lst"
  Call listStamp
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "WordListStamp" $R9
FunctionEnd

Section "Lexoria" SectionProgram
  SectionIn RO
  Call waitForLexoriaToClose

  SetOutPath "$INSTDIR"
  File "${STAGE}/Lexoria.exe"
  Call installWordList
  File "${STAGE}/lexoria.hlp"
  File "${STAGE}/lexoria.chm"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
!ifdef LIST_TOOL
  File "${STAGE}/lexoria-list.exe"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Lexoria.lnk" "$INSTDIR\Lexoria.exe" "" "$INSTDIR\Lexoria.exe" 0 \
    SW_SHOWNORMAL "" "Learn a word at a time"

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
  ; CLSID_ShellLink, IID_IShellLinkA (IID_IShellLinkW in a Unicode installer, whose "t" strings
  ; are wide); then IID_IPersistFile through QueryInterface.
  !ifdef NSIS_UNICODE
    !define /ifndef IID_SHELL_LINK "{000214F9-0000-0000-C000-000000000046}"
  !else
    !define /ifndef IID_SHELL_LINK "{000214EE-0000-0000-C000-000000000046}"
  !endif
  System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, \
    i 1, g '${IID_SHELL_LINK}', *p .r1) i .r0"
  ${If} $0 = 0
    System::Call "$1->0(g '{0000010B-0000-0000-C000-000000000046}', *p .r2) i .r0"
    ${If} $0 = 0
      System::Call "$2->5(w '$SMSTARTUP\Lexoria.lnk', i 0) i .r0"
      ${If} $0 = 0
        System::Call "$1->3(t .r3, i ${NSIS_MAX_STRLEN}, p 0, i 0)"
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
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "${SETTINGS_QUESTION}" /SD IDNO IDNO keepSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
keepSettings:
SectionEnd
