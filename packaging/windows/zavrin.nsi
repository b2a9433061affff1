; The Windows installer of the Zavrin ZR2 utility, built on Linux with makensis
; by scripts/package-windows.sh, which defines:
;   VERSION   the program's version (0.1)
;   STAGE     a folder holding zavrin.exe, zavrinctl.exe, skins\, config\,
;             README.md, LICENSE.txt and zavrin.ico
;   OUTFILE   the installer to write
;
; It installs for all users into Program Files, adds a Start-menu entry,
; registers its uninstaller with Apps & Features and, when chosen, starts the
; program hidden in the tray at login (the same Run value the program's own
; tray item sets). The uninstaller removes all of that again; the user's
; settings folder (%APPDATA%\KestruneData20240412A) stays.
;
; Silent use: setup.exe /S [/STARTWITHWINDOWS] [/D=folder]; uninstall.exe /S.

; A 64-bit installer for the 64-bit program: it needs no 32-bit subsystem
; (Wine without its 32-bit half runs it too) and sees the 64-bit registry and
; Program Files as they are.
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Zavrin ZR2"
!define PUBLISHER "The Zavrin ZR2 utility developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "MIT licence"

!define MUI_ICON "${STAGE}\zavrin.ico"
!define MUI_UNICON "${STAGE}\zavrin.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\zavrin.exe"
  File "${STAGE}\zavrinctl.exe"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE.txt"
  File /r "${STAGE}\skins"
  File /r "${STAGE}\config"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zavrin.exe" "" "$INSTDIR\zavrin.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zavrin.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Off unless chosen, as in the program's own tray menu.
Section /o "Start with Windows" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\zavrin.exe" --tray'
SectionEnd

LangString DESC_Program ${LANG_ENGLISH} "The program, zavrinctl, the skins and the language files."
LangString DESC_Program ${LANG_SIMPCHINESE} "程序、zavrinctl、皮肤和语言文件。"
LangString DESC_Autostart ${LANG_ENGLISH} "Start the program hidden in the tray when you log in."
LangString DESC_Autostart ${LANG_SIMPCHINESE} "登录时启动程序并隐藏在托盘中。"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_Program)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} $(DESC_Autostart)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ; The 64-bit view, as the program itself sees the registry.
  SetRegView 64
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTWITHWINDOWS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecAutostart} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  ; Only what the installer put there: a folder the user chose may hold more.
  Delete "$INSTDIR\zavrin.exe"
  Delete "$INSTDIR\zavrinctl.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  RMDir /r "$INSTDIR\skins"
  RMDir /r "$INSTDIR\config"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Set by this installer or by the program's tray menu, for this user.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
SectionEnd
