; TiltkitSetup.exe: installs the suite on Windows XP SP3.
;
; The deliverables go to Program Files\Zelvar\Tiltkit (or the folder chosen),
; their help files to its Help folder,
; Lockwatch.exe and Quadlock.dll to Program Files\Zelvar\Quadrix, where the
; launcher menu's host looks for its plug-ins. The machine-wide values come
; from setup/defaults.h through the generated defaults.nsh; Provisio.dll
; stamps the installation time after them and does the clean-up at
; uninstallation. /S installs or uninstalls silently.
;
; Built by setup/installer.cmake:
;   makensis -INPUTCHARSET UTF8 -DTK_GENERATED=DIR -DTK_OUTFILE=FILE -DTK_VERSION=A.B.C.D
;            [-DTK_ICON=FILE] [-DTK_AMD64] TiltkitSetup.nsi
; TK_AMD64: the installer of the x86-64 test build, for the 64-bit Wine.

!ifdef TK_AMD64
Target amd64-unicode
!define TK_PROGRAMFILES "$PROGRAMFILES64"
!else
Unicode true
!define TK_PROGRAMFILES "$PROGRAMFILES"
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "${TK_GENERATED}\defaults.nsh"
!include "${TK_GENERATED}\files.nsh"

!define TK_PRODUCT      "Программы акселерометра Zelvar"
!define TK_UNINSTALL    "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tiltkit"
!define TK_QUADRIX_DIR  "${TK_PROGRAMFILES}\Zelvar\Quadrix"
; Link file names are Latin, so that they exist on every file system and
; code page; what they do is said in Russian in their descriptions.
!define TK_MENU_DIR     "$SMPROGRAMS\Zelvar"
!define TK_CONSOLE_LINK "Tiltkit.lnk"
!define TK_STARTUP_LINK "Tiltkit Jolt.lnk"
!define TK_JOLT_CLASS   "TiltkitJolt Class"
!define TK_JOLT_TITLE   "TiltkitJolt"

Name "${TK_PRODUCT}"
Caption "Установка: ${TK_PRODUCT}"
UninstallCaption "Удаление: ${TK_PRODUCT}"
OutFile "${TK_OUTFILE}"
InstallDir "${TK_PROGRAMFILES}\Zelvar\Tiltkit"
InstallDirRegKey HKLM "${TK_UNINSTALL}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
AllowRootDirInstall false
; A file that cannot be replaced (a program of the suite still running) ends
; the installation with Retry/Cancel, never skipped; silently it is an error.
AllowSkipFiles off
BrandingText "Zelvar Tiltkit ${TK_VERSION}"

VIProductVersion "${TK_VERSION}"
VIFileVersion "${TK_VERSION}"
VIAddVersionKey /LANG=1049 "ProductName" "Tiltkit"
VIAddVersionKey /LANG=1049 "CompanyName" "Zelvar"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программ акселерометра Zelvar"
VIAddVersionKey /LANG=1049 "FileVersion" "${TK_VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${TK_VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Zelvar"

!ifdef TK_ICON
  !define MUI_ICON "${TK_ICON}"
  !define MUI_UNICON "${TK_ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Установка программ акселерометра Zelvar"
!define MUI_WELCOMEPAGE_TEXT "Мастер установит на компьютер программы акселерометра Zelvar: Tiltfeed, Наклон, защиту от перемещения и консоль настройки.$\r$\n$\r$\nПеред установкой закройте консоль настройки и приложения, запущенные через Tiltfeed.$\r$\n$\r$\nНажмите кнопку $\"Далее$\" для продолжения."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tiltdesk.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Открыть консоль настройки"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

LangString TkFolderTooLong ${LANG_RUSSIAN} "Путь к папке установки длиннее ${TK_INSTDIR_ROOM} знаков: пути к файлам программ не уместятся в 259 знаков. Выберите папку с более коротким путём."
LangString TkRegistryFailed ${LANG_RUSSIAN} "Не удалось записать параметры программ в реестр. Установка прервана."
LangString TkConsoleLinkText ${LANG_RUSSIAN} "Консоль настройки программ акселерометра Zelvar"
LangString TkJoltLinkText ${LANG_RUSSIAN} "Наклон: быстрый наклон компьютера выполняет выбранное действие"
LangString TkClosingJolt ${LANG_RUSSIAN} "Закрывается программа Наклон..."

Var JoltWasRunning

; Asks a running Joltrun to close (its file is about to be replaced) and
; waits up to ten seconds for its process; $JoltWasRunning says whether it ran.
!macro TkCloseJoltrun
  StrCpy $JoltWasRunning 0
  FindWindow $0 "${TK_JOLT_CLASS}" "${TK_JOLT_TITLE}"
  ${If} $0 <> 0
    DetailPrint "$(TkClosingJolt)"
    StrCpy $JoltWasRunning 1
    StrCpy $1 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000)'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${EndIf}
!macroend

Function .onVerifyInstDir
  StrLen $0 $INSTDIR
  ${If} $0 > ${TK_INSTDIR_ROOM}
    Abort
  ${EndIf}
FunctionEnd

Section "Tiltkit" SecMain
  SectionIn RO
  SetShellVarContext all

  StrLen $0 $INSTDIR
  ${If} $0 > ${TK_INSTDIR_ROOM}
    MessageBox MB_OK|MB_ICONSTOP "$(TkFolderTooLong)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}

  !insertmacro TkCloseJoltrun

  SetOutPath "$INSTDIR"
  !insertmacro TkFilesTiltkit
  SetOutPath "$INSTDIR\Help"
  !insertmacro TkFilesHelp
  SetOutPath "${TK_QUADRIX_DIR}"
  !insertmacro TkFilesQuadrix
  SetOutPath "$INSTDIR"

  ; The page list is exactly the pages installed now.
  DeleteRegKey HKLM "SOFTWARE\Zelvar\Tiltkit\Property"
  ClearErrors
  !insertmacro TkWriteDefaults
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(TkRegistryFailed)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ; The new installation time makes every user's Jolt settings start anew.
  System::Call '$INSTDIR\Provisio.dll::SetInstInfo() i .r0 ?u'

  CreateDirectory "${TK_MENU_DIR}"
  CreateShortCut "${TK_MENU_DIR}\${TK_CONSOLE_LINK}" "$INSTDIR\Tiltdesk.exe" "" \
    "$INSTDIR\Tiltdesk.exe" 0 SW_SHOWNORMAL "" "$(TkConsoleLinkText)"
  CreateShortCut "$SMSTARTUP\${TK_STARTUP_LINK}" "$INSTDIR\Joltrun.exe" "" \
    "$INSTDIR\Joltrun.exe" 0 SW_SHOWNORMAL "" "$(TkJoltLinkText)"

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${TK_UNINSTALL}" "DisplayName" "${TK_PRODUCT}"
  WriteRegStr HKLM "${TK_UNINSTALL}" "DisplayVersion" "${TK_VERSION}"
  WriteRegStr HKLM "${TK_UNINSTALL}" "Publisher" "Zelvar"
  WriteRegStr HKLM "${TK_UNINSTALL}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${TK_UNINSTALL}" "DisplayIcon" "$INSTDIR\Tiltdesk.exe,0"
  WriteRegStr HKLM "${TK_UNINSTALL}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${TK_UNINSTALL}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${TK_UNINSTALL}" "NoModify" 1
  WriteRegDWORD HKLM "${TK_UNINSTALL}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${TK_UNINSTALL}" "EstimatedSize" $0

  ; Jolt runs from now on, as it will after every logon.
  Exec '"$INSTDIR\Joltrun.exe"'
SectionEnd

Section "Uninstall"
  SetShellVarContext all

  ${If} ${FileExists} "$INSTDIR\Provisio.dll"
    ; Closes the manager and Joltrun, deletes every user's Tiltfeed shortcuts
    ; (it reads "FeedrunPath" first), the machine tree and the launcher-menu files.
    System::Call '$INSTDIR\Provisio.dll::UninstInitialize(p $HWNDPARENT, i 0, i 0) i .r0 ?u'
    System::Call '$INSTDIR\Provisio.dll::UninstUnInitialize(p $HWNDPARENT, i 0, i 0) i .r0 ?u'
  ${Else}
    DeleteRegKey HKLM "SOFTWARE\Zelvar\Tiltkit"
  ${EndIf}

  !insertmacro TkDeleteTiltkit
  !insertmacro TkDeleteHelp
  RMDir "$INSTDIR\Help"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "${TK_PROGRAMFILES}\Zelvar"

  Delete "${TK_MENU_DIR}\${TK_CONSOLE_LINK}"
  RMDir "${TK_MENU_DIR}"
  Delete "$SMSTARTUP\${TK_STARTUP_LINK}"
  ; This user's Tiltfeed folder, if the clean-up left it empty.
  SetShellVarContext current
  RMDir "$SMPROGRAMS\Zelvar\Tablet PC"
  RMDir "$SMPROGRAMS\Zelvar"

  DeleteRegKey HKLM "${TK_UNINSTALL}"
SectionEnd
