; The installer of Appraise and Interest for the store's Windows computers. Built by
; scripts/build-windows.sh --package with makensis, from the programs installed by CMake into
; STAGE (given with -D, as are VERSION, ICONS and OUTFILE).
; The programs are 64-bit, and so is the installer (it runs where they run).
Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

Name "Appraise and Interest ${VERSION}"
OutFile "${OUTFILE}"
; The suite's folder, where velmaron.exe starts them from; the store may choose another.
InstallDir "C:\Velmaron"
InstallDirRegKey HKLM "Software\Velmaron\Programs" "Folder"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${ICONS}/velmaron-appraise.ico"
!define MUI_UNICON "${ICONS}/velmaron-appraise.ico"
!define MUI_WELCOMEPAGE_TEXT "This installs Appraise (the appraisal worksheet) and Interest (the monthly finance charges) ${VERSION} beside the store's management suite.$\r$\n$\r$\nInstall them into the suite's folder, where velmaron.exe is, so that the suite starts them. The store's data files are not touched.$\r$\n$\r$\nClose the suite's programs on this computer before you continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VelmaronAppraiseInterest"

Section "Appraise and Interest" SecPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  !include "${STAGE}/../files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall Appraise and Interest.exe"
  WriteRegStr HKLM "Software\Velmaron\Programs" "Folder" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Appraise and Interest"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velmaron"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\appraise.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall Appraise and Interest.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Velmaron"
  ; Started in the folder: with the suite's data there, they open the store at once.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Velmaron\Appraise.lnk" "$INSTDIR\appraise.exe" "" "$INSTDIR\appraise.exe" 0
  CreateShortcut "$SMPROGRAMS\Velmaron\Interest.lnk" "$INSTDIR\interest.exe" "" "$INSTDIR\interest.exe" 0
  CreateShortcut "$SMPROGRAMS\Velmaron\Uninstall Appraise and Interest.lnk" "$INSTDIR\Uninstall Appraise and Interest.exe"
SectionEnd

; For trying the programs without the suite: the stand-in main program on a demo store. Off by
; default, and never over a velmaron.exe that is there already (the suite's own).
Section /o "Stand-in and demo store" SecDemo
  SetOutPath "$INSTDIR"
  File "${STAGE}/make-demo-store.exe"
  ${If} ${FileExists} "$INSTDIR\velmaron.exe"
    DetailPrint "velmaron.exe is there already: the suite's own is kept."
  ${Else}
    File "${STAGE}/velmaron.exe"
    WriteRegDWORD HKLM "Software\Velmaron\Programs" "StandIn" 1
  ${EndIf}
  ${IfNot} ${FileExists} "$INSTDIR\demo-store\cust.dat"
    ExecWait '"$INSTDIR\make-demo-store.exe" "$INSTDIR\demo-store"' $0
    ${If} $0 != 0
    ${OrIfNot} ${FileExists} "$INSTDIR\demo-store\cust.dat"
      MessageBox MB_ICONEXCLAMATION "The demo store could not be made in $INSTDIR\demo-store (make-demo-store.exe ended with $0). The programs are installed; run make-demo-store.exe with a folder to make it later." /SD IDOK
    ${EndIf}
  ${EndIf}
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Velmaron"
  CreateShortcut "$SMPROGRAMS\Velmaron\Demo store.lnk" "$INSTDIR\velmaron.exe" '"$INSTDIR\demo-store"' "$INSTDIR\velmaron.exe" 0
SectionEnd

LangString DESC_Programs ${LANG_ENGLISH} "The appraisal worksheet and the finance charges, with the Qt libraries they need."
LangString DESC_Demo ${LANG_ENGLISH} "A stand-in for the suite's main program and a demo store, to try the programs without the suite."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} $(DESC_Programs)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDemo} $(DESC_Demo)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Only what was installed goes: the suite's files and the store's data stay.
Section "Uninstall"
  !include "${STAGE}/../unfiles.nsh"
  ReadRegDWORD $0 HKLM "Software\Velmaron\Programs" "StandIn"
  ${If} $0 == 1
    Delete "$INSTDIR\velmaron.exe"
  ${EndIf}
  Delete "$INSTDIR\make-demo-store.exe"
  Delete "$INSTDIR\Uninstall Appraise and Interest.exe"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Velmaron\Appraise.lnk"
  Delete "$SMPROGRAMS\Velmaron\Interest.lnk"
  Delete "$SMPROGRAMS\Velmaron\Demo store.lnk"
  Delete "$SMPROGRAMS\Velmaron\Uninstall Appraise and Interest.lnk"
  RMDir "$SMPROGRAMS\Velmaron"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Velmaron\Programs"
  ; The suite's own keys stay; an empty one left by this installer goes.
  DeleteRegKey /ifempty HKLM "Software\Velmaron"
SectionEnd

; "/DEMO" on the command line (with /S for a silent install) selects the demo section too: the
; package's check installs it that way.
Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DEMO" $1
  ${IfNot} ${Errors}
    SectionGetFlags ${SecDemo} $2
    IntOp $2 $2 | ${SF_SELECTED}
    SectionSetFlags ${SecDemo} $2
  ${EndIf}
FunctionEnd
