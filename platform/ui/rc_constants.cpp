// rc_constants.cpp - the symbols a resource script may use without defining them: the Win32
// window, dialog and control styles, the dialog command ids and the common-control class
// names. Values come from the platform's own winuser.h and commctrl.h, so the script and the
// code that reads the templates agree by construction.
#include <algorithm>
#include <cctype>

#include "commctrl.h"
#include "rc_tokens.h"
#include "windows.h"

namespace pf {
namespace rc {

#define PF_RC(n) {#n, static_cast<long>(n)}

const std::map<std::string, long>& builtinNumbers() {
  static const std::map<std::string, long> table = {
      // Window styles.
      PF_RC(WS_OVERLAPPED), PF_RC(WS_POPUP), PF_RC(WS_CHILD), PF_RC(WS_MINIMIZE), PF_RC(WS_VISIBLE),
      PF_RC(WS_DISABLED), PF_RC(WS_CLIPSIBLINGS), PF_RC(WS_CLIPCHILDREN), PF_RC(WS_MAXIMIZE),
      PF_RC(WS_CAPTION), PF_RC(WS_BORDER), PF_RC(WS_DLGFRAME), PF_RC(WS_VSCROLL), PF_RC(WS_HSCROLL),
      PF_RC(WS_SYSMENU), PF_RC(WS_THICKFRAME), PF_RC(WS_GROUP), PF_RC(WS_TABSTOP),
      PF_RC(WS_MINIMIZEBOX), PF_RC(WS_MAXIMIZEBOX), PF_RC(WS_TILED), PF_RC(WS_ICONIC),
      PF_RC(WS_SIZEBOX), PF_RC(WS_OVERLAPPEDWINDOW), PF_RC(WS_TILEDWINDOW), PF_RC(WS_POPUPWINDOW),
      PF_RC(WS_CHILDWINDOW),
      PF_RC(WS_EX_DLGMODALFRAME), PF_RC(WS_EX_NOPARENTNOTIFY), PF_RC(WS_EX_TOPMOST),
      PF_RC(WS_EX_ACCEPTFILES), PF_RC(WS_EX_TRANSPARENT), PF_RC(WS_EX_MDICHILD),
      PF_RC(WS_EX_TOOLWINDOW), PF_RC(WS_EX_WINDOWEDGE), PF_RC(WS_EX_CLIENTEDGE),
      PF_RC(WS_EX_CONTEXTHELP), PF_RC(WS_EX_RIGHT), PF_RC(WS_EX_LEFT), PF_RC(WS_EX_RTLREADING),
      PF_RC(WS_EX_LTRREADING), PF_RC(WS_EX_LEFTSCROLLBAR), PF_RC(WS_EX_RIGHTSCROLLBAR),
      PF_RC(WS_EX_CONTROLPARENT), PF_RC(WS_EX_STATICEDGE), PF_RC(WS_EX_APPWINDOW),
      PF_RC(WS_EX_OVERLAPPEDWINDOW), PF_RC(WS_EX_PALETTEWINDOW),
      // Dialog styles.
      PF_RC(DS_ABSALIGN), PF_RC(DS_SYSMODAL), PF_RC(DS_3DLOOK), PF_RC(DS_FIXEDSYS),
      PF_RC(DS_NOFAILCREATE), PF_RC(DS_LOCALEDIT), PF_RC(DS_SETFONT), PF_RC(DS_MODALFRAME),
      PF_RC(DS_NOIDLEMSG), PF_RC(DS_SETFOREGROUND), PF_RC(DS_CONTROL), PF_RC(DS_CENTER),
      PF_RC(DS_CENTERMOUSE), PF_RC(DS_CONTEXTHELP), PF_RC(DS_SHELLFONT),
      // Buttons.
      PF_RC(BS_PUSHBUTTON), PF_RC(BS_DEFPUSHBUTTON), PF_RC(BS_CHECKBOX), PF_RC(BS_AUTOCHECKBOX),
      PF_RC(BS_RADIOBUTTON), PF_RC(BS_3STATE), PF_RC(BS_AUTO3STATE), PF_RC(BS_GROUPBOX),
      PF_RC(BS_USERBUTTON), PF_RC(BS_AUTORADIOBUTTON), PF_RC(BS_PUSHBOX), PF_RC(BS_OWNERDRAW),
      PF_RC(BS_TYPEMASK), PF_RC(BS_LEFTTEXT), PF_RC(BS_TEXT), PF_RC(BS_ICON), PF_RC(BS_BITMAP),
      PF_RC(BS_LEFT), PF_RC(BS_RIGHT), PF_RC(BS_CENTER), PF_RC(BS_TOP), PF_RC(BS_BOTTOM),
      PF_RC(BS_VCENTER), PF_RC(BS_PUSHLIKE), PF_RC(BS_MULTILINE), PF_RC(BS_NOTIFY), PF_RC(BS_FLAT),
      PF_RC(BS_RIGHTBUTTON),
      // Edits.
      PF_RC(ES_LEFT), PF_RC(ES_CENTER), PF_RC(ES_RIGHT), PF_RC(ES_MULTILINE), PF_RC(ES_UPPERCASE),
      PF_RC(ES_LOWERCASE), PF_RC(ES_PASSWORD), PF_RC(ES_AUTOVSCROLL), PF_RC(ES_AUTOHSCROLL),
      PF_RC(ES_NOHIDESEL), PF_RC(ES_OEMCONVERT), PF_RC(ES_READONLY), PF_RC(ES_WANTRETURN),
      PF_RC(ES_NUMBER),
      // Statics.
      PF_RC(SS_LEFT), PF_RC(SS_CENTER), PF_RC(SS_RIGHT), PF_RC(SS_ICON), PF_RC(SS_BLACKRECT),
      PF_RC(SS_GRAYRECT), PF_RC(SS_WHITERECT), PF_RC(SS_BLACKFRAME), PF_RC(SS_GRAYFRAME),
      PF_RC(SS_WHITEFRAME), PF_RC(SS_USERITEM), PF_RC(SS_SIMPLE), PF_RC(SS_LEFTNOWORDWRAP),
      PF_RC(SS_OWNERDRAW), PF_RC(SS_BITMAP), PF_RC(SS_ENHMETAFILE), PF_RC(SS_ETCHEDHORZ),
      PF_RC(SS_ETCHEDVERT), PF_RC(SS_ETCHEDFRAME), PF_RC(SS_TYPEMASK), PF_RC(SS_NOPREFIX),
      PF_RC(SS_NOTIFY), PF_RC(SS_CENTERIMAGE), PF_RC(SS_RIGHTJUST), PF_RC(SS_REALSIZEIMAGE),
      PF_RC(SS_SUNKEN), PF_RC(SS_ENDELLIPSIS), PF_RC(SS_PATHELLIPSIS), PF_RC(SS_WORDELLIPSIS),
      // List and combo boxes, scroll bars.
      PF_RC(LBS_NOTIFY), PF_RC(LBS_SORT), PF_RC(LBS_NOREDRAW), PF_RC(LBS_MULTIPLESEL),
      PF_RC(LBS_OWNERDRAWFIXED), PF_RC(LBS_OWNERDRAWVARIABLE), PF_RC(LBS_HASSTRINGS),
      PF_RC(LBS_USETABSTOPS), PF_RC(LBS_NOINTEGRALHEIGHT), PF_RC(LBS_MULTICOLUMN),
      PF_RC(LBS_WANTKEYBOARDINPUT), PF_RC(LBS_EXTENDEDSEL), PF_RC(LBS_DISABLENOSCROLL),
      PF_RC(LBS_NODATA), PF_RC(LBS_NOSEL), PF_RC(LBS_STANDARD),
      PF_RC(CBS_SIMPLE), PF_RC(CBS_DROPDOWN), PF_RC(CBS_DROPDOWNLIST), PF_RC(CBS_OWNERDRAWFIXED),
      PF_RC(CBS_OWNERDRAWVARIABLE), PF_RC(CBS_AUTOHSCROLL), PF_RC(CBS_OEMCONVERT), PF_RC(CBS_SORT),
      PF_RC(CBS_HASSTRINGS), PF_RC(CBS_NOINTEGRALHEIGHT), PF_RC(CBS_DISABLENOSCROLL),
      PF_RC(CBS_UPPERCASE), PF_RC(CBS_LOWERCASE),
      PF_RC(SBS_HORZ), PF_RC(SBS_VERT),
      // Up-down controls.
      PF_RC(UDS_WRAP), PF_RC(UDS_SETBUDDYINT), PF_RC(UDS_ALIGNRIGHT), PF_RC(UDS_ALIGNLEFT),
      PF_RC(UDS_AUTOBUDDY), PF_RC(UDS_ARROWKEYS), PF_RC(UDS_HORZ), PF_RC(UDS_NOTHOUSANDS),
      PF_RC(UDS_HOTTRACK),
      // Command ids.
      PF_RC(IDOK), PF_RC(IDCANCEL), PF_RC(IDABORT), PF_RC(IDRETRY), PF_RC(IDIGNORE), PF_RC(IDYES),
      PF_RC(IDNO), PF_RC(IDCLOSE), PF_RC(IDHELP),
      {"IDC_STATIC", -1},
      // What the resource compiler defines for the scripts it reads.
      {"RC_INVOKED", 1}, {"_WIN32", 1},
  };
  return table;
}

#undef PF_RC

const std::map<std::string, std::string>& builtinStrings() {
  static const std::map<std::string, std::string> table = {
      {"UPDOWN_CLASS", UPDOWN_CLASS},
      {"UPDOWN_CLASSA", UPDOWN_CLASSA},
      {"PROGRESS_CLASS", "msctls_progress32"},
      {"TRACKBAR_CLASS", "msctls_trackbar32"},
      {"WC_LISTVIEW", "SysListView32"},
      {"WC_TREEVIEW", "SysTreeView32"},
      {"WC_TABCONTROL", "SysTabControl32"},
  };
  return table;
}

bool isSystemHeader(const std::string& name) {
  std::string base = name;
  size_t slash = base.find_last_of("/\\");
  if (slash != std::string::npos) base = base.substr(slash + 1);
  std::transform(base.begin(), base.end(), base.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static const char* const known[] = {"windows.h", "winres.h",  "winresrc.h", "afxres.h",
                                      "commctrl.h", "winuser.h", "winuser.rh", "dlgs.h",
                                      "richedit.h", "prsht.h",   "winver.h",   "ntverp.h"};
  for (const char* k : known)
    if (base == k) return true;
  return false;
}

}  // namespace rc
}  // namespace pf
