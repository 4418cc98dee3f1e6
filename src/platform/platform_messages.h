// User-facing texts of the platform layer's errors (CP932), shared by every implementation
// so that both builds report file failures in the same words.
#pragma once

#include <string>

namespace qv::platform {

// "<path> を作成できません。" followed by the system's reason in parentheses when there is one.
std::string MsgCannotCreate(const std::string& path, const std::string& reason);
// "<path> を読み込めません。" (+ reason)
std::string MsgCannotRead(const std::string& path, const std::string& reason);
// "<path> に書き込めません。" (+ reason)
std::string MsgCannotWrite(const std::string& path, const std::string& reason);
// "<from> を <to> に置き換えられません。" (+ reason)
std::string MsgCannotReplace(const std::string& from, const std::string& to, const std::string& reason);

}  // namespace qv::platform
