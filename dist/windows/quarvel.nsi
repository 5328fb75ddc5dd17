; The Quarvel setup program (NSIS 3), in English and Russian. It installs the
; program folder dist/Quarvel for the current user (no administrator needed,
; into %LOCALAPPDATA%\Programs\Quarvel) or for all users (Program Files), with
; a Start-menu entry, optionally the association of .sld and .slb files, and
; an uninstaller listed in Apps & Features. /S installs silently (for the
; current user; /AllUsers for everyone).
;   makensis -DVERSION=2.2 -DDIST=<dist/Quarvel> -DICON=<quarvel.ico> -DOUTFILE=<setup.exe> quarvel.nsi
; (the build's target windows_setup).

; A 64-bit setup for a 64-bit program (and Wine here runs 64-bit programs only).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Quarvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarvel"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_64_BIT
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\quarvel.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString NameProgram ${LANG_ENGLISH} "Quarvel (required)"
LangString NameProgram ${LANG_RUSSIAN} "Quarvel (обязательно)"
LangString NameAssociation ${LANG_ENGLISH} "Open .sld and .slb files with Quarvel"
LangString NameAssociation ${LANG_RUSSIAN} "Открывать файлы .sld и .slb в Quarvel"
LangString DescProgram ${LANG_ENGLISH} "The program, the command-line tool and the sample library."
LangString DescProgram ${LANG_RUSSIAN} "Программа, инструмент командной строки и пример библиотеки."
LangString DescAssociation ${LANG_ENGLISH} "Slides and slide libraries open in Quarvel when double-clicked."
LangString DescAssociation ${LANG_RUSSIAN} "Слайды и библиотеки слайдов открываются в Quarvel двойным щелчком."

; The classes the program itself writes (Options), so that its check box
; shows the association made here.
!macro Associate EXT CLASS DESCRIPTION
  WriteRegStr SHCTX "Software\Classes\${EXT}" "" "${CLASS}"
  WriteRegStr SHCTX "Software\Classes\${CLASS}" "" "${DESCRIPTION}"
  WriteRegStr SHCTX "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\quarvel.exe,0"
  WriteRegStr SHCTX "Software\Classes\${CLASS}\Shell\open\command" "" "$INSTDIR\quarvel.EXE %1"
!macroend

; Removes a class only when it opens this copy of the program, and the
; extension only when it names that class.
!macro Unassociate EXT CLASS
  ReadRegStr $0 SHCTX "Software\Classes\${CLASS}\Shell\open\command" ""
  ${If} $0 == "$INSTDIR\quarvel.EXE %1"
    DeleteRegKey SHCTX "Software\Classes\${CLASS}"
    ReadRegStr $0 SHCTX "Software\Classes\${EXT}" ""
    ${If} $0 == "${CLASS}"
      DeleteRegKey SHCTX "Software\Classes\${EXT}"
    ${EndIf}
  ${EndIf}
!macroend

Section "!$(NameProgram)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quarvel.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Quarvel team"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quarvel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(NameAssociation)" SecAssociation
  !insertmacro Associate ".sld" "AutoCADSlide" "AutoCAD Slide"
  !insertmacro Associate ".slb" "AutoCADSlideLibrary" "AutoCAD Slide Library"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DescProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociation} $(DescAssociation)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  !insertmacro MULTIUSER_INIT
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Uninstall"
  !insertmacro Unassociate ".sld" "AutoCADSlide"
  !insertmacro Unassociate ".slb" "AutoCADSlideLibrary"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; The settings the program kept for this user when its folder could not
  ; be written, then the folder with everything in it.
  RMDir /r "$APPDATA\${PRODUCT}"
  SetOutPath "$TEMP"
  RMDir /r "$INSTDIR"
SectionEnd
