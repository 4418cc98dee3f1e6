// Control identifiers of the Win32 export dialog; the Wine tests find the controls by them.
#pragma once

namespace qv::ui::ids {

constexpr int BtnOK = 1;    // IDOK: the default button, also Enter
constexpr int BitBtn1 = 2;  // IDCANCEL: Cancel, also Esc and the close box
constexpr int PageControl1 = 100;
constexpr int TabSheet1 = 101;
constexpr int TabSheet2 = 102;
constexpr int LabelDir = 110;
constexpr int ComboBoxDir = 111;
constexpr int BtnDir = 112;
constexpr int CheckBoxCloseMailOnly = 113;
constexpr int CheckBoxMailOpen = 114;
constexpr int CheckBoxSelectMail = 115;
constexpr int Label1 = 120;
constexpr int ComboBoxFindStr = 121;
constexpr int RadioGroupFindPos = 122;  // the group box; its items follow
constexpr int RadioFindPos0 = 123;
constexpr int RadioFindPos1 = 124;
constexpr int RadioFindPos2 = 125;
constexpr int CheckBoxUpperCase = 126;
constexpr int CheckBoxRegexp = 127;
constexpr int LabelMessage = 200;  // the progress window's label

}  // namespace qv::ui::ids
