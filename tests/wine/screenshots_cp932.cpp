// Takes the documentation's pictures of the two dialog pages and the progress window under
// Wine: shows each window with sample values, copies it from the screen and writes it as a
// BMP file (scripts/wine-screenshots.sh turns them into PNG files).
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/form_export.h"
#include "ui/form_message.h"
#include "ui/win32/win32_toolkit.h"
#include "win_host.h"
#include "wine_support.h"

namespace {

bool SaveWindowImage(HWND window, const std::string& path)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageSize);
    qvtest::WriteFile(path, bytes);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return qvtest::Exists(path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: wine_screenshots OUTPUT_DIR\n", stderr);
        return 1;
    }
    const std::string out = ToWindowsPath(argv[1]);
    qv::ui::TWin32Toolkit toolkit;
    int failures = 0;
    {
        TFormExport form(toolkit);
        form.Caption += "受信箱";
        form.ComboBoxDir.Items = {"C:\\Mail\\Export\\", "D:\\Backup\\メール\\"};
        form.ComboBoxDir.Text = form.ComboBoxDir.Items.front();
        form.ComboBoxFindStr.Items = {"請求書"};
        form.ComboBoxFindStr.Text = "請求書";
        form.CheckBoxCloseMailOnly.Checked = true;
        form.CheckBoxMailOpen.Checked = true;
        form.RadioGroupFindPos.ItemIndex = 1;
        qvtest::TDriver driver([&](qvtest::TDriver& d) {
            HWND dialog = qvtest::WaitForWindow([](HWND w) { return qvtest::WindowText(w) == "エクスポート受信箱"; });
            if (!d.Check(dialog != nullptr, "no dialog")) return;
            ::Sleep(500);
            d.Check(SaveWindowImage(dialog, out + "\\export-dialog-page1.bmp"), "page 1 not saved");
            ::PostMessageA(qvtest::FocusOf(dialog), WM_SYSCHAR, '2', 1 << 29);
            ::Sleep(500);
            d.Check(SaveWindowImage(dialog, out + "\\export-dialog-page2.bmp"), "page 2 not saved");
            ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        form.ShowModal();
        driver.Join();
        failures += static_cast<int>(driver.Problems().size());
        std::fputs(driver.Report().c_str(), stderr);
    }
    {
        TFormMessage form(toolkit);
        form.Show();
        form.SetMessage("メールをエクスポートしています。");
        HWND window = nullptr;
        for (HWND w : qvtest::TopLevelWindows())
            if (qvtest::WindowText(w) == "エクスポート") window = w;
        for (int i = 0; i < 25; ++i) {
            ::Sleep(20);
            toolkit.ProcessMessages();
        }
        if (!window || !SaveWindowImage(window, out + "\\progress-window.bmp")) ++failures;
    }
    std::printf("screenshots: %d failure(s)\n", failures);
    return failures ? 1 : 0;
}
