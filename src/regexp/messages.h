// User-facing texts of the engine's syntax errors, as CP932 bytes
// (defined in messages_cp932.cpp, compiled with the CP932 execution charset).
#pragma once

extern const char *const REMSG_InvalidDBCS;         // 不正な２バイト文字コードです。
extern const char *const REMSG_NeedCharAfterYen;    // "\"の次には文字が必要です。
extern const char *const REMSG_InvalidHex;          // 不正な１６進数コード表記です。
extern const char *const REMSG_InvalidOct;          // 不正な８進数コード表記です。
extern const char *const REMSG_NeedRBracket;        // 右ブラケット"]"が必要です
extern const char *const REMSG_InvalidCharRange;    // 不正なキャラクタ範囲です
extern const char *const REMSG_ExtraChars;          // 正規表現に余分な文字があります
extern const char *const REMSG_NeedRPar;            // 右(閉じ)括弧が必要です
extern const char *const REMSG_NeedCharOrLPar;      // 普通の文字、または左括弧"("が必要です
extern const char *const REMSG_InvalidCharClass;    // 不正なキャラクタクラス指定です。
extern const char *const REMSG_GroupTooDeep;       // 括弧の入れ子が深すぎます
extern const char *const REMSG_ParseTreeFatal;      // TREParseTree : 致命的エラー
