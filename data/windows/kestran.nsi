; The KESTRAN installer: per user, without administrator rights. It copies the program's folder
; (STAGE, the installed tree) to %LOCALAPPDATA%\Programs\KESTRAN, adds a Start menu entry and an
; entry in Apps and Features, and installs an uninstaller that removes the program and never the
; saves (they live in the user's Saved Games folder, not here).
; makensis -DVERSION=... -DSTAGE=... -DICON=... -DOUTFILE=... kestran.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KESTRAN"

Name "KESTRAN"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\KESTRAN"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

Section "KESTRAN"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\KESTRAN.lnk" "$INSTDIR\kestran.exe" "" "$INSTDIR\kestran.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "KESTRAN"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestran.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only the files this installer put there: a save or a settings file the player keeps in the
; program's folder stays, and so does the folder then.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\KESTRAN.lnk"
  Delete "$INSTDIR\kestran.exe"
  Delete "$INSTDIR\kestran_errmsg.dll"
  Delete "$INSTDIR\unifont_jp.hex"
  Delete "$INSTDIR\kestran.html"
  Delete "$INSTDIR\town.png"
  Delete "$INSTDIR\corridor.png"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
