; Tuvo's installer: a per-user install that asks for no elevation, since tuvo.exe keeps
; its settings file tuvo.ini beside itself and must live where its user can write.
; Built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0.0 -DSOURCE=DIR -DICON=tuvo.ico
;            -DWIZARD=wizard.bmp -DOUTFILE=tuvo-setup-1.0.0.0.exe packaging/tuvo.nsi
; DIR holds the tuvo.exe and README.txt of the release; ICON is the program's icon and
; WIZARD the 164 x 314 picture of the welcome and finish pages (absolute paths).
;
; What it does:
;  - installs tuvo.exe, README.txt and uninstall.exe into %LOCALAPPDATA%\Programs\Tuvo
;    (or the folder chosen on its page; a reinstall offers the folder used before);
;  - a Start-menu entry, an entry in the user's list of installed apps, and (selected by
;    default) a value under HKCU\...\Run that starts the pet when the user signs in;
;  - leaves tuvo.ini alone, so a reinstall keeps the user's settings;
;  - refuses to go on while a pet started from the folder is running, since Windows
;    cannot replace a running program: it asks the user to close it (right-click, Exit)
;    and retry; a silent install (/S) then ends with exit code 2 before writing anything.
; A silent install does not start the pet; the finish page offers to.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef VERSION | SOURCE | ICON | WIZARD | OUTFILE
  !error "define VERSION, SOURCE, ICON, WIZARD and OUTFILE (see the top of this file)"
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tuvo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; tuvo.exe finds tuvo.ini beside itself only while the folder's path, with its final
; backslash, stays under 247 characters; otherwise the file goes to the Windows folder.
!define MAX_FOLDER 245

Name "Tuvo ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tuvo"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "Tuvo ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartPet
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tuvo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Tuvo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tuvo ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© 2026 Tuvo"

LangString SectionPet ${LANG_ENGLISH} "Tuvo and its Start-menu entry"
LangString SectionPet ${LANG_SIMPCHINESE} "Tuvo 及其开始菜单项"
LangString SectionSignIn ${LANG_ENGLISH} "Start Tuvo when I sign in"
LangString SectionSignIn ${LANG_SIMPCHINESE} "登录时启动 Tuvo"
LangString StartNow ${LANG_ENGLISH} "Start Tuvo now"
LangString StartNow ${LANG_SIMPCHINESE} "立即启动 Tuvo"
LangString ShortcutText ${LANG_ENGLISH} "A cat that lives on your desktop"
LangString ShortcutText ${LANG_SIMPCHINESE} "住在桌面上的小猫"
LangString PetRunning ${LANG_ENGLISH} "Tuvo is running from $INSTDIR.$\r$\n$\r$\nClose it first: right-click the cat and choose the last entry of its menu, Exit (退出). Then choose Retry."
LangString PetRunning ${LANG_SIMPCHINESE} "Tuvo 正在从 $INSTDIR 运行。$\r$\n$\r$\n请先关闭它：右键单击小猫，选择菜单的最后一项“退出”，然后点“重试”。"
LangString FolderTooLong ${LANG_ENGLISH} "The folder's path is too long for Tuvo to keep its settings beside it. Choose a folder whose path has at most ${MAX_FOLDER} characters."
LangString FolderTooLong ${LANG_SIMPCHINESE} "文件夹路径太长，Tuvo 无法在其中保存设置。请选择路径不超过 ${MAX_FOLDER} 个字符的文件夹。"

; Waits until no pet started from $INSTDIR holds tuvo.exe: a running program cannot be
; opened for writing. Sets $0 to 1 when the user gave up (or in a silent run), else 0.
!macro WAIT_FOR_PET un
Function ${un}WaitForPet
  StrCpy $0 0
  ${DoUntil} $0 != 0
    ${IfNot} ${FileExists} "$INSTDIR\tuvo.exe"
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $1 "$INSTDIR\tuvo.exe" a
    ${IfNot} ${Errors}
      FileClose $1
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PetRunning)" /SD IDCANCEL IDRETRY retry
    StrCpy $0 1
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PET ""
!insertmacro WAIT_FOR_PET "un."

Function CheckFolderPage
  StrLen $0 "$INSTDIR"
  ${If} $0 > ${MAX_FOLDER}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderTooLong)"
    Abort
  ${EndIf}
  Call WaitForPet
  ${If} $0 != 0
    Abort  ; stays on the folder page
  ${EndIf}
FunctionEnd

Function StartPet
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\tuvo.exe"'
FunctionEnd

Section "$(SectionPet)" SectionPetId
  SectionIn RO
  ; Checked again here: a silent install skips the folder page.
  StrLen $0 "$INSTDIR"
  ${If} $0 > ${MAX_FOLDER}
    MessageBox MB_OK|MB_ICONSTOP "$(FolderTooLong)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Call WaitForPet
  ${If} $0 != 0
    SetErrorLevel 2
    Quit
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${SOURCE}/tuvo.exe"
  File "${SOURCE}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateShortCut "$SMPROGRAMS\Tuvo.lnk" "$INSTDIR\tuvo.exe" "" "$INSTDIR\tuvo.exe" 0 \
    SW_SHOWNORMAL "" "$(ShortcutText)"

  ; A reinstall without the sign-in option takes the earlier choice back.
  DeleteRegValue HKCU "${RUN_KEY}" "Tuvo"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Tuvo"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Tuvo"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\tuvo.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(SectionSignIn)" SectionSignInId
  WriteRegStr HKCU "${RUN_KEY}" "Tuvo" '"$INSTDIR\tuvo.exe"'
SectionEnd

Section "Uninstall"
  Call un.WaitForPet
  ${If} $0 != 0
    SetErrorLevel 2
    Quit
  ${EndIf}
  Delete "$INSTDIR\tuvo.exe"
  Delete "$INSTDIR\README.txt"
  ; The settings file the program wrote beside itself.
  Delete "$INSTDIR\tuvo.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when nothing else is left in it

  SetShellVarContext current
  Delete "$SMPROGRAMS\Tuvo.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tuvo"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
