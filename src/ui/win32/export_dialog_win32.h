// The Win32 window of the export dialog: a fixed dialog frame with a two-page tab control, the
// controls of both pages laid out in 96-dpi pixels, OK (default, Enter) and Cancel (Esc, close
// box) with glyphs, and a modal loop of its own that also handles the page accelerators.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/toolkit.h"
#include "ui/win32/win32_common.h"

class TFormExport;

namespace qv::ui {

class TWin32Toolkit;

class TWin32ExportDialog final : public TExportDialogView {
public:
    TWin32ExportDialog(TFormExport& form, TWin32Toolkit& toolkit);
    ~TWin32ExportDialog() override;
    TWin32ExportDialog(const TWin32ExportDialog&) = delete;
    TWin32ExportDialog& operator=(const TWin32ExportDialog&) = delete;

    void ShowModal() override;
    void Close() override;
    void BringToFront() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GlyphButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK SpeedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data);

    void CreateControls();
    HWND CreateLabel(HWND page, const std::string& caption, int id, int left, int top, int width, int height);
    void SelectPage(int index);
    void PushToControls();
    void PullFromControls();
    void RunHandler(bool okButton);
    void DrawGlyphButton(const DRAWITEMSTRUCT& item);
    bool PreTranslate(MSG& msg);
    std::vector<HWND> TabOrder() const;

    TFormExport& form_;
    TWin32Toolkit& toolkit_;
    TFormFont font_;
    HWND window_ = nullptr;
    HWND tabs_ = nullptr;
    HWND pages_[2] = {nullptr, nullptr};
    bool closing_ = false;
    bool defaultIsOk_ = true;  // which glyph button the dialog manager made the default
    std::vector<std::string> dirItems_;
    std::vector<std::string> findItems_;
};

}  // namespace qv::ui
