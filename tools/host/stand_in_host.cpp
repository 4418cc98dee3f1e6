#include "stand_in_host.h"

#include <cstring>

#include "mail_folder.h"

namespace {

TStandInHost* g_active = nullptr;

TStandInHost& Host() { return *g_active; }

template <typename F>
void* AddressOf(F function)
{
    void* address;
    static_assert(sizeof function == sizeof address, "function and data pointers differ in size");
    std::memcpy(&address, &function, sizeof address);
    return address;
}

}  // namespace

// ---- The plain host functions ---------------------------------------------------------------

extern "C" {
const char* QV_HOSTAPI QVA_GetVersion() { return Host().GetVersion(); }
int QV_HOSTAPI QVA_RegisterCommand(const char* description, int menuTarget, TQVCommandProc callback)
{
    return Host().RegisterCommand(description, menuTarget, callback);
}
const char* QV_HOSTAPI QVA_GetCurrentFolder() { return Host().GetCurrentFolder(); }
const char* QV_HOSTAPI QVA_GetFolderDisplayName(const char* folder) { return Host().GetFolderDisplayName(folder); }
int QV_HOSTAPI QVA_SetCurrentMail(const char* mailId) { return Host().SetCurrentMail(mailId); }
int QV_HOSTAPI QVA_GetNextMail(int start, char* mailId, int size, int selectedOnly)
{
    return Host().GetNextMail(start, mailId, size, selectedOnly);
}
int QV_HOSTAPI QVA_GetStatus(const char* mailId) { return Host().GetStatus(mailId); }
int QV_HOSTAPI QVA_SetStatus(const char* mailId, int setFlags, int clearFlags)
{
    return Host().SetStatus(mailId, setFlags, clearFlags);
}
char* QV_HOSTAPI QVA_GetSource(const char* mailId) { return Host().GetSource(mailId); }
char* QV_HOSTAPI QVA_GetHeader(const char* mailId) { return Host().GetHeader(mailId); }
char* QV_HOSTAPI QVA_GetText(char*, int) { return Host().GetText(); }
void QV_HOSTAPI QVA_Free(char* text) { Host().Free(text); }

// Bound by the plug-in, never called: they only need to exist.
#define QV_UNUSED_HOST_FUNCTIONS(X)                                                                     \
    X(QVA_Command) X(QVA_GetWindowHandles) X(QVA_RegisterUICallback) X(QVA_GetDataFolder)               \
    X(QVA_GetTempFolder) X(QVA_GetTempFileName) X(QVA_GetCurrentMailBox) X(QVA_SetCurrentMailBox)       \
    X(QVA_SetCurrentFolder) X(QVA_SetMessageText) X(QVA_GetCurrentMail) X(QVA_SetSel)                   \
    X(QVA_AppendMessage) X(QVA_MoveSelectedMessages) X(QVA_ComposeMail) X(QVA_GetCharSet)               \
    X(QVA_SetSource) X(QVA_SetText) X(QVA_GetSpecifiedHeader) X(QVA_SetSpecifiedHeader)                 \
    X(QVA_CompGetCharSet) X(QVA_CompGetSource) X(QVA_CompSetSource) X(QVA_CompGetHeader)                \
    X(QVA_CompGetSpecifiedHeader) X(QVA_CompSetSpecifiedHeader) X(QVA_CompGetText) X(QVA_CompSetText)   \
    X(QVA_CompAttachFile) X(QVA_Alloc) X(QVA_ReAlloc) X(QVA_ISO_2022_JP) X(QVA_ISO_2022_KR)             \
    X(QVA_HZ_GB2312) X(QVA_ISO_8859_2) X(QVA_EUC_JP) X(QVA_UTF_7) X(QVA_UTF_8) X(QVA_B64Convert)        \
    X(QVA_QPConvert) X(QVA_MIMEHeader) X(QVA_SerializeRcpts) X(QVA_Connect) X(QVA_NextUnread)
#define QV_DEFINE_UNUSED(name) int QV_HOSTAPI name() { return 0; }
QV_UNUSED_HOST_FUNCTIONS(QV_DEFINE_UNUSED)
#undef QV_DEFINE_UNUSED
}

const std::vector<THostSymbol>& HostSymbols()
{
    static const std::vector<THostSymbol> symbols = {
#define QV_SYMBOL(name, required) {#name, AddressOf(&::name)},
        QV_HOST_FUNCTIONS(QV_SYMBOL)
#undef QV_SYMBOL
    };
    return symbols;
}

// ---- Symbol lookup over the table -------------------------------------------------------------

class TStandInHost::Lookup final : public qv::platform::ModuleServices {
public:
    explicit Lookup(TStandInHost& host) : host_(host) {}
    void* MainModule() override { return host_.noMainModule_ ? nullptr : static_cast<void*>(&host_); }
    void* Symbol(void* module, const char* name) override
    {
        if (module != &host_ || host_.omitted_.count(name)) return nullptr;
        for (const THostSymbol& symbol : HostSymbols())
            if (std::strcmp(symbol.Name, name) == 0) return symbol.Address;
        return nullptr;
    }
    void Release(void* module) override
    {
        if (module == &host_) ++releases;
    }
    int releases = 0;

private:
    TStandInHost& host_;
};

// ---- The host ---------------------------------------------------------------------------------

TStandInHost::TStandInHost(TMailFolder& folder)
    : folder_(folder), previous_(g_active), modules_(std::make_unique<Lookup>(*this))
{
    g_active = this;
}

TStandInHost::~TStandInHost() { g_active = previous_; }

TStandInHost* TStandInHost::Active() { return g_active; }

int TStandInHost::ModuleReleases() const { return modules_->releases; }

qv::platform::ModuleServices& TStandInHost::Modules() { return *modules_; }

std::vector<std::string> TStandInHost::Problems() const
{
    std::vector<std::string> problems = freeFaults_;
    for (const auto& entry : outstanding_) problems.push_back("host string never given back: \"" + std::string(entry.first).substr(0, 40) + "\"");
    return problems;
}

char* TStandInHost::HandOut(const std::string& text)
{
    auto buffer = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
    char* address = buffer.get();
    freed_.erase(address);
    outstanding_.emplace(address, std::move(buffer));
    ++handedOut_;
    return address;
}

void TStandInHost::Free(char* text)
{
    Calls.push_back("Free");
    if (!text) {
        freeFaults_.push_back("QVA_Free called with null");
        return;
    }
    const auto it = outstanding_.find(text);
    if (it != outstanding_.end()) {
        outstanding_.erase(it);
        freed_.insert(text);
    } else if (freed_.count(text)) {
        freeFaults_.push_back("host string given back twice");
    } else {
        freeFaults_.push_back("QVA_Free called with a string the host never handed out");
    }
}

const char* TStandInHost::GetVersion()
{
    Calls.push_back("GetVersion");
    return version_.c_str();
}

int TStandInHost::RegisterCommand(const char* description, int, TQVCommandProc callback)
{
    Calls.push_back("RegisterCommand");
    RegisteredCommands.push_back(description ? description : "");
    LastCommand = callback;
    return 40000 + static_cast<int>(RegisteredCommands.size());
}

const char* TStandInHost::GetCurrentFolder()
{
    Calls.push_back("GetCurrentFolder");
    return folderId_.c_str();
}

const char* TStandInHost::GetFolderDisplayName(const char* folder)
{
    Calls.push_back("GetFolderDisplayName");
    if (!folder || folderId_ != folder) return nullptr;
    return folder_.DisplayName().c_str();
}

int TStandInHost::SetCurrentMail(const char* mailId)
{
    Calls.push_back(std::string("SetCurrentMail ") + (mailId ? mailId : ""));
    currentMail_ = mailId ? mailId : "";
    return 0;
}

int TStandInHost::GetNextMail(int start, char* mailId, int size, int selectedOnly)
{
    Calls.push_back("GetNextMail " + std::to_string(start));
    std::vector<const TMail*> walk;
    for (const TMail& mail : folder_.Mails())
        if (!selectedOnly || mail.Selected) walk.push_back(&mail);
    const long index = static_cast<long>(start) + 1;
    std::string id;
    int next = -1;
    if (index >= 0 && index < static_cast<long>(walk.size())) {
        id = walk[static_cast<std::size_t>(index)]->Id;
        if (index + 1 < static_cast<long>(walk.size())) next = static_cast<int>(index);
    }
    if (mailId && size > 0) {
        const std::size_t length = std::min(id.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(mailId, id.data(), length);
        mailId[length] = '\0';
    }
    return next;
}

int TStandInHost::GetStatus(const char* mailId)
{
    Calls.push_back(std::string("GetStatus ") + (mailId ? mailId : ""));
    const TMail* mail = mailId ? folder_.Find(mailId) : nullptr;
    return mail && mail->Read ? 1 : 0;
}

int TStandInHost::SetStatus(const char* mailId, int setFlags, int clearFlags)
{
    Calls.push_back(std::string("SetStatus ") + (mailId ? mailId : ""));
    TMail* mail = mailId ? folder_.Find(mailId) : nullptr;
    if (!mail) return 0;
    if (setFlags & 1) mail->Read = true;
    if (clearFlags & 1) mail->Read = false;
    folder_.SaveState();
    return 0;
}

char* TStandInHost::GetSource(const char* mailId)
{
    Calls.push_back(std::string("GetSource ") + (mailId ? mailId : ""));
    const TMail* mail = mailId ? folder_.Find(mailId) : nullptr;
    if (!mail || (sourceFilter_ && !sourceFilter_(mail->Id))) return nullptr;
    return HandOut(mail->Source);
}

char* TStandInHost::GetHeader(const char* mailId)
{
    Calls.push_back(std::string("GetHeader ") + (mailId ? mailId : ""));
    const TMail* mail = mailId ? folder_.Find(mailId) : nullptr;
    return mail ? HandOut(TMailFolder::HeaderOf(mail->Source)) : nullptr;
}

char* TStandInHost::GetText()
{
    Calls.push_back("GetText");
    const TMail* mail = folder_.Find(currentMail_);
    return mail ? HandOut(TMailFolder::BodyOf(mail->Source)) : nullptr;
}
