// The stand-in Quarvel host: every QVA_ function (most do nothing), served from one mail
// folder, with the calling convention of the real host; a name-to-address table that the
// binding looks names up in; and QVA_Free accounting that reports every host string not given
// back and every string given back twice or never handed out.
//
// One TStandInHost is active at a time: the QVA_ functions are plain functions and act on the
// active host (the one most recently constructed and not yet destroyed).
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "export/quarvel_api.h"
#include "platform/callconv.h"
#include "platform/platform.h"

class TMailFolder;

// The host functions the plug-in calls, with the host's signatures.
extern "C" {
const char* QV_HOSTAPI QVA_GetVersion();
int QV_HOSTAPI QVA_RegisterCommand(const char* description, int menuTarget, TQVCommandProc callback);
const char* QV_HOSTAPI QVA_GetCurrentFolder();
const char* QV_HOSTAPI QVA_GetFolderDisplayName(const char* folder);
int QV_HOSTAPI QVA_SetCurrentMail(const char* mailId);
int QV_HOSTAPI QVA_GetNextMail(int start, char* mailId, int size, int selectedOnly);
int QV_HOSTAPI QVA_GetStatus(const char* mailId);
int QV_HOSTAPI QVA_SetStatus(const char* mailId, int setFlags, int clearFlags);
char* QV_HOSTAPI QVA_GetSource(const char* mailId);
char* QV_HOSTAPI QVA_GetHeader(const char* mailId);
char* QV_HOSTAPI QVA_GetText(char* type, int size);
void QV_HOSTAPI QVA_Free(char* text);
}

// Every QVA_ name with its address, in the binding's table order.
struct THostSymbol {
    const char* Name;
    void* Address;
};
const std::vector<THostSymbol>& HostSymbols();

class TStandInHost {
public:
    // Serves `folder` (not owned; it must outlive the host). Becomes the active host.
    explicit TStandInHost(TMailFolder& folder);
    ~TStandInHost();
    TStandInHost(const TStandInHost&) = delete;
    TStandInHost& operator=(const TStandInHost&) = delete;

    static TStandInHost* Active();

    // ---- Configuration
    void SetVersion(std::string version) { version_ = std::move(version); }
    // Leaves a function out of the symbol table (variants: an older host without
    // QVA_SetStatus, a host missing a required function).
    void OmitFunction(const std::string& name) { omitted_.insert(name); }
    // Makes the main-module query fail.
    void SetNoMainModule(bool none) { noMainModule_ = none; }
    // Decides per call whether QVA_GetSource delivers the mail's source (default: always).
    void SetSourceFilter(std::function<bool(const std::string& id)> filter) { sourceFilter_ = std::move(filter); }

    // The symbol lookup over this host's table, for qv::platform::SetModules.
    qv::platform::ModuleServices& Modules();
    int ModuleReleases() const;

    // ---- Accounting of host strings
    std::size_t Outstanding() const { return outstanding_.size(); }
    // Every fault seen so far: leaks (strings still outstanding), double frees, frees of
    // strings never handed out, frees of null. Empty when the plug-in behaved.
    std::vector<std::string> Problems() const;
    int StringsHandedOut() const { return handedOut_; }

    // ---- What the plug-in did, for tests: one entry per call, e.g. "GetText", "GetHeader 02.eml".
    std::vector<std::string> Calls;
    std::vector<std::string> RegisteredCommands;
    TQVCommandProc LastCommand = nullptr;

    TMailFolder& Folder() { return folder_; }

    // ---- Implementation of the QVA_ functions (called through the plain functions above).
    const char* GetVersion();
    int RegisterCommand(const char* description, int menuTarget, TQVCommandProc callback);
    const char* GetCurrentFolder();
    const char* GetFolderDisplayName(const char* folder);
    int SetCurrentMail(const char* mailId);
    int GetNextMail(int start, char* mailId, int size, int selectedOnly);
    int GetStatus(const char* mailId);
    int SetStatus(const char* mailId, int setFlags, int clearFlags);
    char* GetSource(const char* mailId);
    char* GetHeader(const char* mailId);
    char* GetText();
    void Free(char* text);

private:
    class Lookup;

    char* HandOut(const std::string& text);

    TMailFolder& folder_;
    TStandInHost* previous_;
    std::string version_ = "2.00.06";
    std::string folderId_ = "stand-in-folder";
    std::set<std::string> omitted_;
    bool noMainModule_ = false;
    std::function<bool(const std::string&)> sourceFilter_;
    std::unique_ptr<Lookup> modules_;
    std::string currentMail_;
    std::map<const char*, std::unique_ptr<char[]>> outstanding_;
    std::set<const char*> freed_;
    std::vector<std::string> freeFaults_;
    int handedOut_ = 0;
};
