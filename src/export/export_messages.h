// Texts the export run shows or raises, in CP932.
#pragma once

#include <string>

namespace qv::export_texts {

std::string CollectingMails();   // "エクスポートするメールを取得しています。"
std::string ExportingMails();    // "メールをエクスポートしています。"
std::string RegexpUnavailable(); // the error of a regular-expression condition in this build
std::string TooManyFiles(const std::string& dir);  // no free file number is left

}  // namespace qv::export_texts
