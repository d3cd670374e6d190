; The Windows installer of Veltrin, for makensis (scripts/package passes the defines):
;   VERSION      the project's version (x.y.z)
;   OUTFILE      the installer to write
;   FILES_NSH    the generated file lists: macros InstallFiles32, InstallFiles64 and RemoveFiles
;   LICENSE_FILE the licence shown before installing
; It installs per user without administrator rights under the user's local programs folder: the
; 64-bit programs on 64-bit Windows, the 32-bit ones elsewhere, a Start-menu entry for the window
; and an entry in the installed-programs list. The uninstaller removes every file and key it made.
; /S installs (and uninstalls) silently.
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"
!include "${FILES_NSH}"

!define PUBLISHER "The Veltrin developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrin"
!define SHORTCUT "$SMPROGRAMS\Veltrin.lnk"

Name "Veltrin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Veltrin"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Veltrin ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Veltrin"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Veltrin ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT License"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\veltrin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the default where the user's language is neither.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString WelcomeText ${LANG_SIMPCHINESE} "本向导将在您的用户目录中安装 Veltrin ${VERSION}：提取网页段落文本的窗口程序和命令行，无需管理员权限。$\r$\n$\r$\n点击“下一步”继续。"
LangString WelcomeText ${LANG_ENGLISH} "This wizard installs Veltrin ${VERSION} for you alone, without administrator rights: the window and the command line that extract the paragraph text of web pages.$\r$\n$\r$\nClick Next to continue."
LangString RunText ${LANG_SIMPCHINESE} "运行 Veltrin"
LangString RunText ${LANG_ENGLISH} "Run Veltrin"
LangString ShortcutText ${LANG_SIMPCHINESE} "提取网页的段落文本"
LangString ShortcutText ${LANG_ENGLISH} "Extract the paragraph text of web pages"
LangString FilesText ${LANG_SIMPCHINESE} "程序文件"
LangString FilesText ${LANG_ENGLISH} "Program files"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "$(FilesText)" SectionFiles
  SectionIn RO
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    !insertmacro InstallFiles64
  ${Else}
    !insertmacro InstallFiles32
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"  ; the shortcut's working folder
  CreateShortcut "${SHORTCUT}" "$INSTDIR\veltrin.exe" "" "$INSTDIR\veltrin.exe" 0 SW_SHOWNORMAL \
    "" "$(ShortcutText)"

  SectionGetSize ${SectionFiles} $0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Veltrin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltrin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro RemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: files the user added stay
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
