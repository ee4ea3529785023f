; The installer's texts in English: NSIS's own pages, then Lexoria's pages and messages.
; To add a language, copy this file to lang/<NSIS language name>.nsh, keep the names and
; translate the texts (saved as UTF-8 with the byte-order mark), and add one !include line
; to lexoria.nsi. NSIS's names are those of its "Contrib/Language files". $\r$\n is a line
; break, $INSTDIR the folder, ${VERSION} the version; & marks the Alt key, which must differ
; from the other mnemonics on the page (NSIS's buttons included).
!insertmacro MUI_LANGUAGE "English"
LangString setupCaption 0 "Lexoria ${VERSION} Setup"
LangString uninstallCaption 0 "Lexoria ${VERSION} Uninstall"
LangString licenceBottom 0 "Lexoria runs on Windows XP SP3 to Windows 11. It is free software under the MIT licence. Click Next to continue."
LangString modeTitle 0 "Who will use Lexoria?"
LangString modeSubtitle 0 "Install it for yourself, or for everyone on this computer."
LangString modeText 0 "Installed for you alone, Lexoria needs no administrator, and you can replace its word list with your own."
LangString justMe 0 "&Just for me (recommended)"
LangString everyone 0 "For &everyone on this computer (needs an administrator)"
LangString running 0 "Lexoria is running. Close it, then click Retry."
LangString settingsQuestion 0 "Also remove your Lexoria settings?$\r$\n$\r$\nThey hold the window position, the options and your place in the word list. Choose No to keep them for a later installation."
LangString shortcutComment 0 "Learn a word at a time"
LangString oldWindows 0 "Lexoria needs Windows XP with Service Pack 3, or a later version of Windows."
LangString cannotWrite 0 "Lexoria could not be installed in this folder:$\r$\n$INSTDIR$\r$\n$\r$\nChoose a folder that you can write to."
LangString noAdministratorToInstall 0 "Installing Lexoria for everyone needs an administrator's permission. Choose $\"Just for me$\" to install it without one."
LangString noAdministratorToUninstall 0 "Removing Lexoria for everyone needs an administrator's permission. Lexoria was not removed."
