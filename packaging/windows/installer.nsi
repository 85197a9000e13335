; The Windows installer of Trelvanox, in Russian. scripts/package-windows.sh builds it from the
; staged program folder:
;   makensis -INPUTCHARSET UTF8 -DVERSION=<x.y> -DSTAGE=<folder> -DOUTFILE=<setup.exe> installer.nsi
; Silent use: setup.exe /S [/D=<folder>] and uninstall.exe /S. The uninstaller keeps the user's
; settings and histories of changes unless its page's option (or /REMOVEUSERDATA) asks otherwise.
; A 64-bit installer, like the program: it runs where the program runs, Wine's 64-bit-only
; prefixes included.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Trelvanox"
!define PUBLISHER "The Trelvanox team"
!define PROGID "Trelvanox.Radargram"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvanox"
!define APP_KEY "Software\Trelvanox"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Trelvanox"
InstallDirRegKey HKLM "${APP_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}, GPL-3.0-or-later"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка ${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"

!define MUI_ICON "${STAGE}\trelvanox.ico"
!define MUI_UNICON "${STAGE}\trelvanox.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\trelvanox.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

; A previous installation, replaced by this one: its uninstaller runs silently in place first
; (keeping the user's data), so that no file of the old version stays behind.
Function RemovePrevious
    ReadRegStr $0 HKLM "${APP_KEY}" "InstallDir"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\uninstall.exe"
        ExecWait '"$0\uninstall.exe" /S _?=$0'
        Delete "$0\uninstall.exe"
        RMDir "$0"
    ${EndIf}
FunctionEnd

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} работает только в 64-разрядной Windows."
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Section "${PRODUCT} (программа, пакетная утилита, руководство)" SecProgram
    SectionIn RO
    SetShellVarContext all
    Call RemovePrevious
    SetOutPath "$INSTDIR"
    File "${STAGE}\trelvanox.exe"
    File "${STAGE}\trelvanox-cli.exe"
    File "${STAGE}\trelvanox.ico"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\THIRD-PARTY-NOTICES.txt"
    SetOutPath "$INSTDIR\manual"
    File /r "${STAGE}\manual\*"
    SetOutPath "$INSTDIR\samples"
    File "${STAGE}\samples\*"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\trelvanox.exe" "" \
        "$INSTDIR\trelvanox.exe" 0
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Руководство пользователя.lnk" \
        "$INSTDIR\manual\index.html"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Удалить ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${APP_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${APP_KEY}" "Version" "${VERSION}"

    ; "Open with" lists the program for radargrams whether or not it becomes their default.
    WriteRegStr HKLM "Software\Classes\Applications\trelvanox.exe" "FriendlyAppName" "${PRODUCT}"
    WriteRegStr HKLM "Software\Classes\Applications\trelvanox.exe\DefaultIcon" "" \
        "$INSTDIR\trelvanox.exe,1"
    WriteRegStr HKLM "Software\Classes\Applications\trelvanox.exe\shell\open\command" "" \
        '"$INSTDIR\trelvanox.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\Applications\trelvanox.exe\SupportedTypes" ".GPR" ""
    WriteRegStr HKLM "Software\Classes\Applications\trelvanox.exe\SupportedTypes" ".GPR2" ""
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Радарограмма ${PRODUCT}"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\trelvanox.exe,1"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" \
        '"$INSTDIR\trelvanox.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\.GPR\OpenWithProgids" "${PROGID}" ""
    WriteRegStr HKLM "Software\Classes\.GPR2\OpenWithProgids" "${PROGID}" ""

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trelvanox.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Открывать файлы .GPR и .GPR2 в ${PRODUCT}" SecAssociate
    WriteRegStr HKLM "Software\Classes\.GPR" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\.GPR2" "" "${PROGID}"
    WriteRegStr HKLM "${APP_KEY}" "Associated" "1"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section /o "Ярлык на рабочем столе" SecDesktop
    SetShellVarContext all
    CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\trelvanox.exe" "" "$INSTDIR\trelvanox.exe" 0
SectionEnd

; The uninstaller.

Function un.onInit
    SetRegView 64
    Call un.ParseOptions
FunctionEnd

; A file type whose default is still this program's is given back to nobody.
!macro UnAssociate extension
    ReadRegStr $0 HKLM "Software\Classes\${extension}" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue HKLM "Software\Classes\${extension}" ""
    ${EndIf}
    DeleteRegValue HKLM "Software\Classes\${extension}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKLM "Software\Classes\${extension}\OpenWithProgids"
    DeleteRegKey /ifempty HKLM "Software\Classes\${extension}"
!macroend

Section "un.${PRODUCT}" SecUnProgram
    SectionIn RO
    SetShellVarContext all
    Delete "$INSTDIR\trelvanox.exe"
    Delete "$INSTDIR\trelvanox-cli.exe"
    Delete "$INSTDIR\trelvanox.ico"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    ; A settings file that the program kept beside itself (where it could write there) is the
    ; user's: it moves to the user's folder, where the program looks when its own is not
    ; writable, unless one is there already.
    ${If} ${FileExists} "$INSTDIR\TrelvanoxOptions_v2.ini"
        SetShellVarContext current
        ${IfNot} ${FileExists} "$APPDATA\trelvanox\TrelvanoxOptions_v2.ini"
            CreateDirectory "$APPDATA\trelvanox"
            CopyFiles /SILENT "$INSTDIR\TrelvanoxOptions_v2.ini" "$APPDATA\trelvanox"
        ${EndIf}
        SetShellVarContext all
        Delete "$INSTDIR\TrelvanoxOptions_v2.ini"
    ${EndIf}
    RMDir /r "$INSTDIR\manual"
    RMDir /r "$INSTDIR\samples"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Руководство пользователя.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Удалить ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    Delete "$DESKTOP\${PRODUCT}.lnk"

    !insertmacro UnAssociate ".GPR"
    !insertmacro UnAssociate ".GPR2"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegKey HKLM "Software\Classes\Applications\trelvanox.exe"
    DeleteRegKey HKLM "${APP_KEY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Off unless chosen: the settings and the histories of changes are the user's, not the program's.
Section /o "un.Настройки и история изменений пользователя" SecUnUserData
    SetShellVarContext current
    RMDir /r "$APPDATA\trelvanox"
    RMDir /r "$LOCALAPPDATA\trelvanox"
SectionEnd

; /REMOVEUSERDATA on the command line selects the second part for a silent uninstall.
Function un.ParseOptions
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEUSERDATA" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecUnUserData} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
