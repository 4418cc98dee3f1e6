#include "plugin/plugin_info.h"

#include <cstring>

namespace qv::plugin {

const char kCommandDescription[] = "指定した条件に該当するメールをエクスポートする";
const char kMenuCaption[] = "エクスポートプラグイン";
const char kErrorCaption[] = "エクスポート";
const char kUnknownError[] = "予期しないエラーが発生しました。";
const char kOutOfMemory[] = "メモリが不足しています。";

namespace {
const char kInfoName[] = "Tenmarro";
const char kInfoVendor[] = "Kesmarel";
const char kInfoVersion[] = "0.0.0.1";
const char kInfoDescription[] = "条件に該当するメールをエクスポートします";
}  // namespace

void FillDescriptionRecord(char* record)
{
    std::memcpy(record + kInfoNameOffset, kInfoName, sizeof kInfoName);
    std::memcpy(record + kInfoVendorOffset, kInfoVendor, sizeof kInfoVendor);
    std::memcpy(record + kInfoVersionOffset, kInfoVersion, sizeof kInfoVersion);
    std::memcpy(record + kInfoDescriptionOffset, kInfoDescription, sizeof kInfoDescription);
}

void ModulePathToSettingsPath(char (&path)[kSettingsPathSize])
{
    path[kModulePathLimit] = '\0';
    const std::size_t length = std::strlen(path);
    std::size_t end = length;
    for (std::size_t i = length; i > 0; --i) {
        if (path[i - 1] == '.') {
            end = i - 1;
            break;
        }
    }
    std::memcpy(path + end, ".ini", 5);
}

}  // namespace qv::plugin
