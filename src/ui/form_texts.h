// The Japanese texts of the forms (captions, items, messages) in CP932, kept in one unit so
// that every view shows the same strings.
#pragma once

#include <string>

class TFormExport;
class TFormMessage;

namespace qv::form_texts {

// Sets the captions and items of the export dialog as its form resource defines them
// (the resource names the second page as active).
void ApplyExportResource(TFormExport& form);
// Sets the caption and placeholder label text of the progress window.
void ApplyMessageResource(TFormMessage& form);

std::string DirNotFound();        // "指定されたフォルダが見つかりませんでした。" LF "処理を終了します。"
std::string WarningCaption();     // "警告"
std::string FolderBrowserTitle(); // "フォルダの選択"
std::string IniValueWithLineBreak(const std::string& key);

}  // namespace qv::form_texts
