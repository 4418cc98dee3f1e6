// Binding the host: lookup order, the two optional functions, the version rule, the main
// module query and the release of the module handle.
#include "export/host_fixture.h"

namespace {

class Binding : public HostFixture {
protected:
    void SetUp() override { Open("Inbox", false); }
};

}  // namespace

TEST_F(Binding, VersionRuleWithAndWithoutSetStatus)
{
    struct Case {
        const char* version;
        bool withSetStatus, bound;
    } cases[] = {
        {"2.00.05", false, true},  {"2.00.06", false, false}, {"2.00.06", true, true},
        {"2.00.06a", false, false}, {"10.00.00", false, false}, {"", false, true},
        {"1.99", false, true},     {"2.00.07", false, false}, {"2.00.05", true, true},
    };
    for (const Case& c : cases) {
        TMailFolder folderCopy(tmp / "mails");
        TStandInHost variant(folderCopy);
        variant.SetVersion(c.version);
        if (!c.withSetStatus) variant.OmitFunction("QVA_SetStatus");
        qv::platform::SetModules(&variant.Modules());
        {
            CQuarvelAPI binding;
            EXPECT_EQ(binding.BindHost(), c.bound) << c.version << " " << c.withSetStatus;
            EXPECT_EQ(binding.HostModule != nullptr, c.bound);
            if (c.bound) {
                EXPECT_EQ(binding.QVA_SetStatus != nullptr, c.withSetStatus);
            }
        }
        EXPECT_EQ(variant.ModuleReleases(), 1);  // at the failure, or by the destructor
        qv::platform::SetModules(&host->Modules());
    }
}

TEST_F(Binding, EveryFieldBoundInTableOrder)
{
    ASSERT_TRUE(api->BindHost());
    const void* const* fields = reinterpret_cast<const void* const*>(api.get());
    const auto& symbols = HostSymbols();
    ASSERT_EQ(symbols.size(), 56u);
    for (std::size_t i = 0; i < symbols.size(); ++i) EXPECT_EQ(fields[i], symbols[i].Address) << symbols[i].Name;
    EXPECT_EQ(fields[56], api->HostModule);
    EXPECT_EQ(sizeof(CQuarvelAPI), 57 * sizeof(void*));
}

TEST_F(Binding, MissingFunctions)
{
    struct Case {
        const char* omitted;
        bool bound;
    } cases[] = {{"QVA_Connect", false}, {"QVA_GetVersion", false}, {"QVA_Free", false},
                 {"QVA_NextUnread", true}};
    for (const Case& c : cases) {
        TMailFolder folderCopy(tmp / "mails");
        TStandInHost variant(folderCopy);
        variant.OmitFunction(c.omitted);
        qv::platform::SetModules(&variant.Modules());
        CQuarvelAPI binding;
        EXPECT_EQ(binding.BindHost(), c.bound) << c.omitted;
        EXPECT_EQ(binding.HostModule != nullptr, c.bound) << c.omitted;
        if (c.bound) {
            EXPECT_EQ(binding.QVA_NextUnread, nullptr);
        }
        qv::platform::SetModules(&host->Modules());
    }
}

TEST_F(Binding, MissingRequiredFunctionStopsTheLookups)
{
    host->OmitFunction("QVA_GetCurrentFolder");
    EXPECT_FALSE(api->BindHost());
    EXPECT_EQ(api->QVA_GetFolderDisplayName, nullptr);  // not looked up
    EXPECT_NE(api->QVA_SetCurrentMailBox, nullptr);  // looked up before the missing one
    EXPECT_EQ(CountCalls("GetVersion"), 0);           // the version rule never ran
}

TEST_F(Binding, NoMainModule)
{
    host->SetNoMainModule(true);
    EXPECT_FALSE(api->BindHost());
    EXPECT_EQ(api->HostModule, nullptr);
    EXPECT_EQ(api->QVA_GetVersion, nullptr);
}

TEST_F(Binding, SecondBindLooksNothingUp)
{
    ASSERT_TRUE(api->BindHost());
    EXPECT_EQ(CountCalls("GetVersion"), 1);
    host->OmitFunction("QVA_Connect");  // would fail a fresh binding
    EXPECT_TRUE(api->BindHost());
    EXPECT_EQ(CountCalls("GetVersion"), 1);
    api.reset();
    EXPECT_EQ(host->ModuleReleases(), 1);
}
