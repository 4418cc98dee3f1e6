// Texts of the Win32 views that the portable forms do not carry (CP932).
#pragma once

namespace qv::ui::texts {

extern const char kDialogFontFace[];  // "ＭＳ Ｐゴシック"
extern const char kWarningCaption[];  // "警告"
extern const char kErrorCaption[];    // "エラー"

}  // namespace qv::ui::texts
