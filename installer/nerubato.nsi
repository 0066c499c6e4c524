; The per-user installer of ネルバト: no administrator, a folder only the user
; can write, the Start menu and (an option, on by default) the Startup
; shortcut, an entry among the installed apps, and the user's files left
; alone by an upgrade and by the uninstall.
;
; Built by scripts/windows.sh: makensis -INPUTCHARSET UTF8 with
;   STAGE    the package's folder as `cmake --install` lays it out
;   FILES    an include that removes exactly what STAGE holds (made beside it)
;   VERSION  the product's version (0.1), VERSION4 the same in four parts
;   ICON     the program's icon; OUTFILE the installer to write
;
; Switches: /S silent; /D=FOLDER (last, without quotes) another folder;
; /NOSTARTUP no Startup shortcut (in a silent install too).

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "ネルバト"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\nerubato"
!define STARTUP_LINK "$SMSTARTUP\${PRODUCT} 実行プログラム.lnk"
!define MENU_LINK "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\nerubato"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\nerubato.exe"
!define MUI_FINISHPAGE_RUN_TEXT "ネルバトを起動する"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; The programs that a running copy keeps from being replaced: they are
; asked to close (or, silently, waited for) before a file is touched, so
; that no program is ever left half-replaced.
!macro WAIT_FOR_PROGRAMS un
Function ${un}programInUse ; $R0 a file: $R9 1 while a running program holds it
    StrCpy $R9 0
    ${If} ${FileExists} "$R0"
        ClearErrors
        FileOpen $R8 "$R0" a
        ${If} ${Errors}
            StrCpy $R9 1
        ${Else}
            FileClose $R8
        ${EndIf}
    ${EndIf}
FunctionEnd

Function ${un}waitForPrograms
    StrCpy $R7 0
    retry:
    StrCpy $R6 0
    ${ForEach} $R5 1 3 + 1
        ${Select} $R5
        ${Case} 1
            StrCpy $R0 "$INSTDIR\nerubato.exe"
        ${Case} 2
            StrCpy $R0 "$INSTDIR\quorvex.exe"
        ${Case} 3
            StrCpy $R0 "$INSTDIR\quorvexui.dll"
        ${EndSelect}
        Call ${un}programInUse
        IntOp $R6 $R6 + $R9
    ${Next}
    ${If} $R6 == 0
        Return
    ${EndIf}
    ${If} ${Silent}
        IntOp $R7 $R7 + 1
        ${If} $R7 > 120
            SetErrorLevel 2
            Quit
        ${EndIf}
        Sleep 500
        Goto retry
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "ネルバト（nerubato.exe）か実行プログラム（quorvex.exe）が動いています。$\r$\n終了してから「再試行」を押してください。" IDRETRY retry
    Quit
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PROGRAMS ""
!insertmacro WAIT_FOR_PROGRAMS "un."

Section "ネルバト（必須）" SecProgram
    SectionIn RO
    Call waitForPrograms
    SetOutPath "$INSTDIR"
    ; The program's files only: the user's files (the slots, the
    ; registration, the reports and records) are never among them.
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${MENU_LINK}" "$INSTDIR\nerubato.exe" "" "$INSTDIR\nerubato.exe" 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\nerubato.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The runner at each sign-in, working in the install folder where the
; registration is.
Section "Windows の起動時に実行する" SecStartup
    SetOutPath "$INSTDIR"
    CreateShortcut "${STARTUP_LINK}" "$INSTDIR\quorvex.exe" "" "$INSTDIR\quorvex.exe" 0
SectionEnd

; Left off on an upgrade, the option takes an earlier Startup shortcut away.
Section "-startup off"
    ${IfNot} ${SectionIsSelected} ${SecStartup}
        Delete "${STARTUP_LINK}"
    ${EndIf}
SectionEnd

Function .onInit
    SetShellVarContext current
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/NOSTARTUP" $R1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecStartup}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Uninstall"
    Call un.waitForPrograms
    Delete "${STARTUP_LINK}"
    Delete "${MENU_LINK}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    ; The user's files stay unless the user asks otherwise; a silent
    ; uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "保存した設定と登録、実行の記録（kidodata.dat、hozondt1.dat～hozondt5.dat、jikkorireki.txt など）も削除しますか？$\r$\n「いいえ」を選ぶと、これらのファイルはフォルダーに残ります。" /SD IDNO IDNO kept
    Delete "$INSTDIR\kidodata.dat"
    Delete "$INSTDIR\hozondt?.dat"
    Delete "$INSTDIR\kidorireki.dat"
    Delete "$INSTDIR\tstjikko.dat"
    Delete "$INSTDIR\errormsg.txt"
    Delete "$INSTDIR\jikkorireki.txt"
    kept:
    RMDir "$INSTDIR"
SectionEnd
