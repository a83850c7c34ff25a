; Setup for Kestrelix: the program folder, Start menu shortcuts and the
; Add/Remove Programs entry; the uninstaller also takes away what the
; program itself wrote to the registry. Built by the Windows build:
;   makensis -DSTAGE=<program folder> -DSTAGE64=<folder of Kestrelix64.dll> -DICON=<icon> -DOUTFILE=<setup.exe> kestrelix.nsi
; Silent use: krx.exe /S [/D=C:\Folder]  and  uninstall.exe /S (keeps User\).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef STAGE
  !error "STAGE (the staged program folder) is not defined"
!endif
!ifndef STAGE64
  !error "STAGE64 (the folder of the 64-bit add-on, Kestrelix64.dll) is not defined"
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
; "Start Kestrelix now" through the desktop's own shell (see StartAsDesktopUser).
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsDesktopUser

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

; The mutex above is seen in this Windows session only; a manager another
; user runs in another session holds User\Kestrelix.lock open, refusing
; writers, for its whole life. Opened for writing, never created.
!define GENERIC_WRITE 0x40000000
!define FILE_SHARE_READ 1
!define OPEN_EXISTING 3
!define ERROR_SHARING_VIOLATION 32
!macro RefuseWhileRunningElsewhere
  System::Call 'kernel32::CreateFileW(w "$INSTDIR\User\Kestrelix.lock", i ${GENERIC_WRITE}, i ${FILE_SHARE_READ}, p 0, i ${OPEN_EXISTING}, i 0, p 0) p .r0 ?e'
  Pop $1
  ${If} $0 P<> -1
    System::Call 'kernel32::CloseHandle(p r0)'
  ${ElseIf} $1 = ${ERROR_SHARING_VIOLATION}
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is running for another user of this computer. Close it there, then run this again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning
  !insertmacro RefuseWhileRunningElsewhere
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
  !insertmacro RefuseWhileRunningElsewhere
FunctionEnd

; Setup runs elevated, often as another account than the one at the
; desktop (an administrator's password typed in): a program it starts
; directly would run as that administrator, and write its autorun value and
; its records' owner there. explorer.exe started with a program hands it to
; the shell already running on the desktop, which starts it as the desktop's
; user with that user's ordinary rights.
Function StartAsDesktopUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Kestrelix.exe"'
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

; Where the program's own path is kept for the add-on and older tools: only
; setup, which runs as an administrator, may write under HKLM. The bytes of
; the folder with its closing "\" in the system's code page, without a NUL,
; as the program writes them itself when it may.
Section "-Install path"
  StrCpy $3 "$INSTDIR\"
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0, w r3, i -1, p 0, i 0, p 0, p 0) i .r1'
  IntOp $1 $1 - 1
  System::Call 'advapi32::RegCreateKeyExW(p 0x80000002, w "${INSTALL_PATH_KEY}", i 0, p 0, i 0, i 0x20006, p 0, *p .r2, p 0) i .r0'
  ${If} $0 = 0
    System::Call 'advapi32::RegSetValueExA(p r2, m "InstallPath", i 0, i 3, m r3, i r1) i .r0'
    System::Call 'advapi32::RegCloseKey(p r2)'
  ${EndIf}
  ${If} $0 <> 0
    DetailPrint "Can not write the install path (error $0)."
  ${EndIf}
SectionEnd

; What the program writes for the user who runs it, where that user may
; write: the toolbar button under HKCU (where HKLM was refused), the error
; log and the folder's lock in User\ (which otherwise stays, with the
; records, unless the user asks). Before the main uninstall section, so its
; question about User\ sees only the records.
Section "-un.User entries"
  DeleteRegKey HKCU "${TOOLBAR_KEY}"
  Delete "$INSTDIR\User\ErrorMsg.txt"
  Delete "$INSTDIR\User\Kestrelix.lock"
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

; The 64-bit add-on: its own sections, after the others.
!include "x64.nsh"
; The add-on's class and its place among the browser's helper objects (see
; addon/addon_ids.h), for the 64-bit add-on's uninstall.
!define ADDON_CLSID "{617D30F3-45EB-4A05-91D3-F50D72567345}"
!define ADDON_CLASS_KEY "Software\Classes\CLSID\${ADDON_CLSID}"
!define ADDON_HELPER_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\${ADDON_CLSID}"

; The 64-bit add-on, for the browser's 64-bit tabs, on 64-bit (x64) Windows:
; beside the 32-bit one, registered by the system's own 64-bit regsvr32 so
; that its keys go to the 64-bit view of the registry (the 32-bit add-on's
; are in the 32-bit view). Setup itself is a 32-bit program, so it could
; neither load the library nor see that view without this.
Section "-64-bit add-on" SecAddon64
  ${If} ${IsNativeAMD64}
    SetOutPath "$INSTDIR"
    File "${STAGE64}\Kestrelix64.dll"
    ${DisableX64FSRedirection}
    ClearErrors
    ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Kestrelix64.dll"' $0
    ${EnableX64FSRedirection}
    ${If} ${Errors}
    ${OrIf} $0 <> 0
      DetailPrint "64-bit Dll register error!"
    ${EndIf}
  ${EndIf}
SectionEnd

; After the main uninstall, whose last step (the folder, once empty) it
; takes again when the library is gone.
Section "-un.64-bit add-on"
  ${If} ${IsNativeAMD64}
    ${DisableX64FSRedirection}
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\Kestrelix64.dll"' $0
    ${EnableX64FSRedirection}
    ; A library that could not unregister itself (missing, damaged) leaves
    ; its keys behind: they go here, while they still name this copy.
    SetRegView 64
    ReadRegStr $1 HKLM "${ADDON_CLASS_KEY}\InprocServer32" ""
    ${If} $1 == "$INSTDIR\Kestrelix64.dll"
      DeleteRegKey HKLM "${ADDON_HELPER_KEY}"
      DeleteRegKey HKLM "${ADDON_CLASS_KEY}"
    ${EndIf}
    SetRegView 32
  ${EndIf}
  Delete "$INSTDIR\Kestrelix64.dll"
  RMDir "$INSTDIR"
SectionEnd
