#include "export/export_messages.h"

namespace qv::export_texts {

std::string CollectingMails() { return "エクスポートするメールを取得しています。"; }

std::string ExportingMails() { return "メールをエクスポートしています。"; }

std::string RegexpUnavailable()
{
    return "正規表現による検索はまだ使えません。正規表現のチェックを外してください。";
}

std::string TooManyFiles(const std::string& dir)
{
    return "フォルダ " + dir + " に空いているファイル番号がありません。";
}

}  // namespace qv::export_texts
