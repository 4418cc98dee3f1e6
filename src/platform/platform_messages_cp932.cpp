#include "platform/platform_messages.h"

namespace qv::platform {
namespace {

std::string WithReason(std::string text, const std::string& reason)
{
    if (!reason.empty()) text += " (" + reason + ")";
    return text;
}

}  // namespace

std::string MsgCannotCreate(const std::string& path, const std::string& reason)
{
    return WithReason("ファイル " + path + " を作成できません。", reason);
}

std::string MsgCannotRead(const std::string& path, const std::string& reason)
{
    return WithReason("ファイル " + path + " を読み込めません。", reason);
}

std::string MsgCannotWrite(const std::string& path, const std::string& reason)
{
    return WithReason("ファイル " + path + " に書き込めません。", reason);
}

std::string MsgCannotReplace(const std::string& from, const std::string& to, const std::string& reason)
{
    return WithReason("ファイル " + from + " で " + to + " を置き換えられません。", reason);
}

}  // namespace qv::platform
