#include "ui/win32/win32_texts.h"

namespace qv::ui::texts {

const char kDialogFontFace[] = "ＭＳ Ｐゴシック";
const char kWarningCaption[] = "警告";
const char kErrorCaption[] = "エラー";

}  // namespace qv::ui::texts
