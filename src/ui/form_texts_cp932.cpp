#include "ui/form_texts.h"

#include "ui/form_export.h"
#include "ui/form_message.h"

namespace qv::form_texts {

void ApplyExportResource(TFormExport& form)
{
    form.Caption = "エクスポート";
    form.BitBtn1.Caption = "キャンセル";
    form.BtnOK.Caption = "OK";
    form.PageControl1.PageCaptions = {"エクスポート(&1)", "条件指定(&2)"};
    form.PageControl1.ActivePageIndex = 1;
    form.LabelDir.Caption = "メールを保存するフォルダ(&F)";
    form.CheckBoxCloseMailOnly.Caption = "未開封のメールのみエクスポートする(&A)";
    form.CheckBoxMailOpen.Caption = "エクスポートしたメールは開封済みにする(&B)";
    form.CheckBoxSelectMail.Caption = "選択状態のメールのみエクスポートする(&C)";
    form.BtnDir.Caption = "参照(&R)";
    form.Label1.Caption = "検索文字列(&N)";
    form.RadioGroupFindPos.Caption = "検索対象";
    form.RadioGroupFindPos.Items = {"本文＋ヘッダ(&E)", "本文のみ(&Y)", "ヘッダのみ(&H)"};
    form.RadioGroupFindPos.ItemIndex = 0;
    form.CheckBoxUpperCase.Caption = "英大小文字を区別する(&C)";
    form.CheckBoxRegexp.Caption = "正規表現(&R)";
}

void ApplyMessageResource(TFormMessage& form)
{
    form.Caption = "エクスポート";
    form.LabelMessage.Caption = "LabelMessage";
}

std::string DirNotFound() { return "指定されたフォルダが見つかりませんでした。\n処理を終了します。"; }

std::string WarningCaption() { return "警告"; }

std::string FolderBrowserTitle() { return "フォルダの選択"; }

std::string IniValueWithLineBreak(const std::string& key)
{
    return "改行を含む値は設定ファイルに保存できません (" + key + ")。";
}

}  // namespace qv::form_texts
