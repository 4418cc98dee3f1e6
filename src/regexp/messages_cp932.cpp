// Error texts of the engine; this unit is compiled to CP932 bytes.
#include "regexp/messages.h"

const char *const REMSG_InvalidDBCS = "不正な２バイト文字コードです。";
const char *const REMSG_NeedCharAfterYen = "\"\\\"の次には文字が必要です。";
const char *const REMSG_InvalidHex = "不正な１６進数コード表記です。";
const char *const REMSG_InvalidOct = "不正な８進数コード表記です。";
const char *const REMSG_NeedRBracket = "右ブラケット\"]\"が必要です";
const char *const REMSG_InvalidCharRange = "不正なキャラクタ範囲です";
const char *const REMSG_ExtraChars = "正規表現に余分な文字があります";
const char *const REMSG_NeedRPar = "右(閉じ)括弧が必要です";
const char *const REMSG_NeedCharOrLPar = "普通の文字、または左括弧\"(\"が必要です";
const char *const REMSG_InvalidCharClass = "不正なキャラクタクラス指定です。";
const char *const REMSG_GroupTooDeep = "括弧の入れ子が深すぎます";
const char *const REMSG_ParseTreeFatal = "TREParseTree : 致命的エラー";
