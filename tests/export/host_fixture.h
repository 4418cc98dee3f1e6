// A stand-in host over a fresh mail folder, bound through its own symbol table, with a
// headless toolkit; at the end of every test the host's string accounting must be clean.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "export/export_param.h"
#include "export/quarvel_api.h"
#include "mail_folder.h"
#include "platform/platform.h"
#include "stand_in_host.h"
#include "ui/form_export.h"
#include "ui/headless/headless_toolkit.h"
#include "ui/temp_dir.h"

class HostFixture : public ::testing::Test {
protected:
    HostFixture()
    {
        std::filesystem::create_directory(tmp / "mails");
        std::filesystem::create_directory(tmp / "out");
    }
    ~HostFixture() override
    {
        api.reset();
        qv::platform::SetModules(nullptr);
    }

    // A mail file with its flags ("R" read, "S" selected); call before Open().
    void AddMail(const std::string& id, const std::string& source, const std::string& flags = "")
    {
        TempDir::WriteFile(tmp / ("mails/" + id), source);
        state += id + " " + (flags.empty() ? "-" : flags) + "\n";
    }
    // Loads the folder, starts the host and binds it.
    void Open(const std::string& displayName = "Inbox", bool bind = true)
    {
        TempDir::WriteFile(tmp / "mails/folder.state", "name=" + displayName + "\n" + state);
        folder = std::make_unique<TMailFolder>(tmp / "mails");
        host = std::make_unique<TStandInHost>(*folder);
        qv::platform::SetModules(&host->Modules());
        api = std::make_unique<CQuarvelAPI>();
        if (bind) {
            ASSERT_TRUE(api->BindHost());
        }
    }
    void TearDown() override
    {
        if (host) {
            EXPECT_EQ(host->Problems(), std::vector<std::string>{});
        }
    }

    // Answers the dialog with `answers` and OK, then runs the export.
    void Export(const std::function<void(TFormExport&)>& answers)
    {
        toolkit.EnterValues([&, answers](TFormExport& form) {
            form.ComboBoxDir.Text = OutDir();
            answers(form);
        });
        toolkit.PressOK();
        Execute();
    }
    void Execute()
    {
        TExportParam param(api.get(), Ini().c_str(), toolkit);
        param.Execute();
    }

    std::string OutDir() const { return tmp / "out"; }
    std::string Out(const std::string& name) const { return tmp / ("out/" + name); }
    std::string Ini() const { return tmp / "settings.ini"; }
    std::vector<std::string> OutFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(OutDir())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    int CountCalls(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& call : host->Calls) n += call.compare(0, prefix.size(), prefix) == 0;
        return n;
    }

    TempDir tmp;
    std::string state;
    std::unique_ptr<TMailFolder> folder;
    std::unique_ptr<TStandInHost> host;
    std::unique_ptr<CQuarvelAPI> api;
    THeadlessToolkit toolkit;
};
