// Install page: the options summary before the installation, then the progress log, bar and
// text that the install sequence drives through the InstallView interface.
#pragma once

#include "engine/install_view.hpp"
#include "wizard/wizard_page.hpp"

namespace zu {

class CDlgInstall : public WizardPageDialog, public InstallView {
public:
    explicit CDlgInstall(CInstallApp& app);
    void Relabel() override;
    void Layout(int w, int h) override;

    void AppendLog(const std::wstring& text, bool separator) override;
    void ClearLog() override;
    void SetProgressText(const std::wstring& text) override;
    void SetProgressPathText(const std::wstring& path) override;
    void ShowProgressBar(bool visible) override;
    void SetProgressPosition(int percent) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void PumpMessages() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void WriteOptionsSummary();

    HWND log_ = nullptr;
    HWND progress_ = nullptr;
    HCURSOR savedCursor_ = nullptr;
    int waitDepth_ = 0;
};

}  // namespace zu
