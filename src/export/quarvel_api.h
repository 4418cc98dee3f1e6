// The binding to the Quarvel host's QVA_ functions: one CQuarvelAPI per loaded library holds
// the address of every host function, looked up by name in the host's executable at load,
// together with the rule that decides whether the host is usable.
#pragma once

#include "platform/callconv.h"

// The command callback handed to QVA_RegisterCommand; both arguments are ignored.
using TQVCommandProc = void(QV_HOSTAPI*)(int, int);

// Host functions the plug-in calls, typed as the host defines them. Every argument is 32 bits
// wide on the shipping platform; integers are signed.

using TQVA_GetVersion = const char*(QV_HOSTAPI*)();
using TQVA_RegisterCommand = int(QV_HOSTAPI*)(const char* description, int menuTarget, TQVCommandProc callback);
using TQVA_GetCurrentFolder = const char*(QV_HOSTAPI*)();
using TQVA_GetFolderDisplayName = const char*(QV_HOSTAPI*)(const char* folder);
using TQVA_SetCurrentMail = int(QV_HOSTAPI*)(const char* mailId);
using TQVA_GetNextMail = int(QV_HOSTAPI*)(int start, char* mailId, int size, int selectedOnly);
using TQVA_GetStatus = int(QV_HOSTAPI*)(const char* mailId);
using TQVA_SetStatus = int(QV_HOSTAPI*)(const char* mailId, int setFlags, int clearFlags);
using TQVA_GetSource = char*(QV_HOSTAPI*)(const char* mailId);
using TQVA_GetHeader = char*(QV_HOSTAPI*)(const char* mailId);
using TQVA_GetText = char*(QV_HOSTAPI*)(char* type, int size);
using TQVA_Free = void(QV_HOSTAPI*)(char* text);
// Host functions that are bound but never called: only their presence matters.
using TQVA_Unused = int(QV_HOSTAPI*)();

// Every host function in table order: X(name, required). QVA_SetStatus and QVA_NextUnread are
// the two whose absence does not by itself stop binding.
#define QV_HOST_FUNCTIONS(X) \
    X(QVA_GetVersion, true) \
    X(QVA_Command, true) \
    X(QVA_GetWindowHandles, true) \
    X(QVA_RegisterCommand, true) \
    X(QVA_RegisterUICallback, true) \
    X(QVA_GetDataFolder, true) \
    X(QVA_GetTempFolder, true) \
    X(QVA_GetTempFileName, true) \
    X(QVA_GetCurrentMailBox, true) \
    X(QVA_SetCurrentMailBox, true) \
    X(QVA_GetCurrentFolder, true) \
    X(QVA_SetCurrentFolder, true) \
    X(QVA_GetFolderDisplayName, true) \
    X(QVA_SetMessageText, true) \
    X(QVA_GetCurrentMail, true) \
    X(QVA_SetCurrentMail, true) \
    X(QVA_GetNextMail, true) \
    X(QVA_SetSel, true) \
    X(QVA_AppendMessage, true) \
    X(QVA_MoveSelectedMessages, true) \
    X(QVA_GetStatus, true) \
    X(QVA_SetStatus, false) \
    X(QVA_ComposeMail, true) \
    X(QVA_GetCharSet, true) \
    X(QVA_GetSource, true) \
    X(QVA_SetSource, true) \
    X(QVA_GetHeader, true) \
    X(QVA_GetText, true) \
    X(QVA_SetText, true) \
    X(QVA_GetSpecifiedHeader, true) \
    X(QVA_SetSpecifiedHeader, true) \
    X(QVA_CompGetCharSet, true) \
    X(QVA_CompGetSource, true) \
    X(QVA_CompSetSource, true) \
    X(QVA_CompGetHeader, true) \
    X(QVA_CompGetSpecifiedHeader, true) \
    X(QVA_CompSetSpecifiedHeader, true) \
    X(QVA_CompGetText, true) \
    X(QVA_CompSetText, true) \
    X(QVA_CompAttachFile, true) \
    X(QVA_Alloc, true) \
    X(QVA_ReAlloc, true) \
    X(QVA_Free, true) \
    X(QVA_ISO_2022_JP, true) \
    X(QVA_ISO_2022_KR, true) \
    X(QVA_HZ_GB2312, true) \
    X(QVA_ISO_8859_2, true) \
    X(QVA_EUC_JP, true) \
    X(QVA_UTF_7, true) \
    X(QVA_UTF_8, true) \
    X(QVA_B64Convert, true) \
    X(QVA_QPConvert, true) \
    X(QVA_MIMEHeader, true) \
    X(QVA_SerializeRcpts, true) \
    X(QVA_Connect, true) \
    X(QVA_NextUnread, false)

class CQuarvelAPI {
public:
    CQuarvelAPI() = default;
    // Hands HostModule back to the platform (FreeLibrary) when the binding holds one.
    ~CQuarvelAPI();
    CQuarvelAPI(const CQuarvelAPI&) = delete;
    CQuarvelAPI& operator=(const CQuarvelAPI&) = delete;

    // Binds the host through qv::platform::Modules(): the main executable's handle, then every
    // function in table order except QVA_SetStatus (the first missing one fails the binding),
    // then QVA_SetStatus and QVA_NextUnread (optional), then the version rule: a version string
    // of at most 7 characters that sorts before "2.00.06" is usable without QVA_SetStatus, any
    // other needs it. On failure HostModule is null. A second call after a success looks
    // nothing up and succeeds.
    bool BindHost();

    // The version rule on its own: may a host of this version run without QVA_SetStatus?
    static bool AcceptsHostWithoutSetStatus(const char* version);

    TQVA_GetVersion QVA_GetVersion = nullptr;
    TQVA_Unused QVA_Command = nullptr;
    TQVA_Unused QVA_GetWindowHandles = nullptr;
    TQVA_RegisterCommand QVA_RegisterCommand = nullptr;
    TQVA_Unused QVA_RegisterUICallback = nullptr;
    TQVA_Unused QVA_GetDataFolder = nullptr;
    TQVA_Unused QVA_GetTempFolder = nullptr;
    TQVA_Unused QVA_GetTempFileName = nullptr;
    TQVA_Unused QVA_GetCurrentMailBox = nullptr;
    TQVA_Unused QVA_SetCurrentMailBox = nullptr;
    TQVA_GetCurrentFolder QVA_GetCurrentFolder = nullptr;
    TQVA_Unused QVA_SetCurrentFolder = nullptr;
    TQVA_GetFolderDisplayName QVA_GetFolderDisplayName = nullptr;
    TQVA_Unused QVA_SetMessageText = nullptr;
    TQVA_Unused QVA_GetCurrentMail = nullptr;
    TQVA_SetCurrentMail QVA_SetCurrentMail = nullptr;
    TQVA_GetNextMail QVA_GetNextMail = nullptr;
    TQVA_Unused QVA_SetSel = nullptr;
    TQVA_Unused QVA_AppendMessage = nullptr;
    TQVA_Unused QVA_MoveSelectedMessages = nullptr;
    TQVA_GetStatus QVA_GetStatus = nullptr;
    TQVA_SetStatus QVA_SetStatus = nullptr;
    TQVA_Unused QVA_ComposeMail = nullptr;
    TQVA_Unused QVA_GetCharSet = nullptr;
    TQVA_GetSource QVA_GetSource = nullptr;
    TQVA_Unused QVA_SetSource = nullptr;
    TQVA_GetHeader QVA_GetHeader = nullptr;
    TQVA_GetText QVA_GetText = nullptr;
    TQVA_Unused QVA_SetText = nullptr;
    TQVA_Unused QVA_GetSpecifiedHeader = nullptr;
    TQVA_Unused QVA_SetSpecifiedHeader = nullptr;
    TQVA_Unused QVA_CompGetCharSet = nullptr;
    TQVA_Unused QVA_CompGetSource = nullptr;
    TQVA_Unused QVA_CompSetSource = nullptr;
    TQVA_Unused QVA_CompGetHeader = nullptr;
    TQVA_Unused QVA_CompGetSpecifiedHeader = nullptr;
    TQVA_Unused QVA_CompSetSpecifiedHeader = nullptr;
    TQVA_Unused QVA_CompGetText = nullptr;
    TQVA_Unused QVA_CompSetText = nullptr;
    TQVA_Unused QVA_CompAttachFile = nullptr;
    TQVA_Unused QVA_Alloc = nullptr;
    TQVA_Unused QVA_ReAlloc = nullptr;
    TQVA_Free QVA_Free = nullptr;
    TQVA_Unused QVA_ISO_2022_JP = nullptr;
    TQVA_Unused QVA_ISO_2022_KR = nullptr;
    TQVA_Unused QVA_HZ_GB2312 = nullptr;
    TQVA_Unused QVA_ISO_8859_2 = nullptr;
    TQVA_Unused QVA_EUC_JP = nullptr;
    TQVA_Unused QVA_UTF_7 = nullptr;
    TQVA_Unused QVA_UTF_8 = nullptr;
    TQVA_Unused QVA_B64Convert = nullptr;
    TQVA_Unused QVA_QPConvert = nullptr;
    TQVA_Unused QVA_MIMEHeader = nullptr;
    TQVA_Unused QVA_SerializeRcpts = nullptr;
    TQVA_Unused QVA_Connect = nullptr;
    TQVA_Unused QVA_NextUnread = nullptr;

    // Module handle of the host's executable; non-null exactly when the last BindHost succeeded.
    void* HostModule = nullptr;
};
