; Setup for Kestrelix: the program folder, Start menu shortcuts and the
; Add/Remove Programs entry; the uninstaller also takes away what the
; program itself wrote to the registry. Built by the Windows build:
;   makensis -DSTAGE=<program folder> -DICON=<icon> -DOUTFILE=<setup.exe> kestrelix.nsi
; Silent use: krx.exe /S [/D=C:\Folder]  and  uninstall.exe /S (keeps User\).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef STAGE
  !error "STAGE (the staged program folder) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "krx.exe"
!endif
!ifndef ICON
  !define ICON "${STAGE}\Kestrelix.ico"
!endif

!define PRODUCT "Kestrelix"
!define VERSION "1.30"
!define PUBLISHER "Marrowin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; What the program writes itself (see src/core/integration_entries.cpp).
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define TOOLBAR_KEY "Software\Microsoft\Internet Explorer\Extensions\{5A3C91E2-7B40-4D8F-A6E1-3C92B07D4F15}"
!define MAKER_KEY "SOFTWARE\${PUBLISHER}"
!define INSTALL_PATH_KEY "${MAKER_KEY}\${PRODUCT}"
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "1.30.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kestrelix.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Files in use cannot be replaced or removed, and a running manager rewrites
; its record files when it closes: it has to be closed first.
!macro RefuseWhileRunning
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${PRODUCT}") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is running now. Close it, then run this again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Section "Kestrelix" SecMain
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\Kestrelix.exe"
  File "${STAGE}\Kestrelix.dll"
  File "${STAGE}\Kestrelix.chm"
  File "${STAGE}\qv.chm"
  File "${STAGE}\Kestrelix.ico"
  File "${STAGE}\krxtool.exe"
  ; The user's records, password and options live in User\ and are never
  ; touched by an upgrade; tmp\ is where the add-on leaves its day files.
  CreateDirectory "$INSTDIR\User"
  CreateDirectory "$INSTDIR\tmp"
  ; The program writes User\ and the add-on writes tmp\ under the user's own
  ; account, and Program Files is read-only to users: without this, Windows
  ; would redirect those writes to a per-user copy that the next user,
  ; krxtool and the uninstaller never see. Built-in Users by SID, so any
  ; language works; where icacls is missing (Windows XP) nothing is needed.
  nsExec::Exec 'icacls "$INSTDIR\User" /grant *S-1-5-32-545:(OI)(CI)M /T /C /Q'
  Pop $0
  nsExec::Exec 'icacls "$INSTDIR\tmp" /grant *S-1-5-32-545:(OI)(CI)M /T /C /Q'
  Pop $0
  ; Browser tabs in protected mode run at low integrity, and a low process
  ; cannot write a folder of medium integrity whatever its access list says;
  ; tabs in enhanced protected mode run in an AppContainer, which writes only
  ; where ALL APPLICATION PACKAGES may. So tmp\ alone (never User\ nor the
  ; program's files) gets a low mandatory label that its files and folders
  ; inherit, the day files already there (an upgrade) get it too, and ALL
  ; APPLICATION PACKAGES may modify it. Where this fails the add-on writes
  ; to Kestrelix\tmp\ in the user's LocalLow folder, which the manager merges.
  nsExec::Exec 'icacls "$INSTDIR\tmp" /setintegritylevel (OI)(CI)L /C /Q'
  Pop $0
  nsExec::Exec 'icacls "$INSTDIR\tmp\*" /setintegritylevel L /C /Q'
  Pop $0
  nsExec::Exec 'icacls "$INSTDIR\tmp" /grant *S-1-15-2-1:(OI)(CI)M /T /C /Q'
  Pop $0
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Kestrelix.exe" "" "$INSTDIR\Kestrelix.ico"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\Kestrelix.chm"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  ; The add-on registers itself with the browser; the manager does it again
  ; at every start while the add-on is enabled.
  ClearErrors
  RegDLL "$INSTDIR\Kestrelix.dll"
  ${If} ${Errors}
    DetailPrint "Dll register error!"
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kestrelix.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; The add-on first, while its library is still there.
  ClearErrors
  UnRegDLL "$INSTDIR\Kestrelix.dll"
  ${If} ${Errors}
    DetailPrint "Dll Unregister error!"
  ${EndIf}

  ; What the program wrote: the autorun value, the toolbar button, the
  ; install path under the maker's key (the key goes when nothing else of
  ; the maker's is left in it).
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${TOOLBAR_KEY}"
  DeleteRegKey HKLM "${INSTALL_PATH_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"

  Delete "$INSTDIR\Kestrelix.exe"
  Delete "$INSTDIR\Kestrelix.dll"
  Delete "$INSTDIR\Kestrelix.chm"
  Delete "$INSTDIR\qv.chm"
  Delete "$INSTDIR\Kestrelix.ico"
  Delete "$INSTDIR\krxtool.exe"
  Delete "$INSTDIR\ErrorMsg.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Day files the manager has not merged yet go with the add-on.
  RMDir /r "$INSTDIR\tmp"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; User\ holds the records and the password: only on the user's word, and
  ; never in a silent uninstall.
  ${If} ${FileExists} "$INSTDIR\User\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Remove your records, options and password too (the User folder in $INSTDIR)?$\r$\n$\r$\nAnswer No to keep them for a later installation." \
      /SD IDNO IDNO keepUser
    RMDir /r "$INSTDIR\User"
    keepUser:
  ${EndIf}
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
