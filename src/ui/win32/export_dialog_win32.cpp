#include "ui/win32/export_dialog_win32.h"

#include <commctrl.h>

#include <optional>

#include "ui/form_export.h"
#include "ui/win32/win32_control_ids.h"
#include "ui/win32/win32_toolkit.h"

namespace qv::ui {
namespace {

constexpr int kClientWidth = 409;
constexpr int kClientHeight = 228;
constexpr int kGlyphSize = 18;
constexpr int kComboDropHeight = 160;  // the drop-down list below the 20-pixel field

TWin32ExportDialog* Self(HWND window)
{
    return reinterpret_cast<TWin32ExportDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void FillCombo(HWND combo, const std::vector<std::string>& items)
{
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

// Gives a drop-down combo box its closed height by sizing its selection field: the natural
// height follows the font's metrics, which differ between fonts of the same pixel size.
void FitComboHeight(HWND combo, int height)
{
    // Systems differ in what the field height reported and the one set include, so step from
    // the height set last by the difference measured.
    LRESULT field = ::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (field == CB_ERR) return;
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT rect;
        ::GetWindowRect(combo, &rect);
        const LRESULT excess = (rect.bottom - rect.top) - height;
        if (excess == 0 || field - excess <= 0) return;
        field -= excess;
        ::SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

// The check mark of the OK button and the cross of the Cancel button, drawn in an 18 by 18 cell.
void DrawGlyph(HDC dc, int left, int top, bool okGlyph, bool enabled)
{
    const COLORREF colour = !enabled ? ::GetSysColor(COLOR_GRAYTEXT) : okGlyph ? RGB(0, 128, 0) : RGB(192, 0, 0);
    HPEN pen = ::CreatePen(PS_SOLID, ScaleToScreen(okGlyph ? 3 : 2) , colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    auto point = [&](int x, int y) { return POINT{left + ScaleToScreen(x), top + ScaleToScreen(y)}; };
    if (okGlyph) {
        const POINT mark[] = {point(3, 9), point(7, 13), point(15, 4)};
        ::Polyline(dc, mark, 3);
    } else {
        const POINT a[] = {point(4, 4), point(14, 14)};
        const POINT b[] = {point(14, 4), point(4, 14)};
        ::Polyline(dc, a, 2);
        ::Polyline(dc, b, 2);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

}  // namespace

TWin32ExportDialog::TWin32ExportDialog(TFormExport& form, TWin32Toolkit& toolkit) : form_(form), toolkit_(toolkit)
{
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
}

TWin32ExportDialog::~TWin32ExportDialog()
{
    if (window_) ::DestroyWindow(window_);
}

void TWin32ExportDialog::CreateControls()
{
    HFONT font = font_.Handle();
    ::SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    // Tab order on the form: OK, Cancel, the page control (then the active page's controls).
    HWND ok = CreateControl(window_, "BUTTON", form_.BtnOK.Caption.c_str(), BS_OWNERDRAW | WS_TABSTOP, ids::BtnOK,
                            224, 192, 83, 25, font);
    HWND cancel = CreateControl(window_, "BUTTON", form_.BitBtn1.Caption.c_str(), BS_OWNERDRAW | WS_TABSTOP,
                                ids::BitBtn1, 312, 192, 81, 25, font);
    ::SetWindowSubclass(ok, GlyphButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    ::SetWindowSubclass(cancel, GlyphButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageA(window_, DM_SETDEFID, ids::BtnOK, 0);

    tabs_ = CreateControl(window_, WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS, ids::PageControl1, 8, 8, 393,
                          169, font);
    for (std::size_t i = 0; i < form_.PageControl1.PageCaptions.size() && i < 2; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(form_.PageControl1.PageCaptions[i].c_str());
        ::SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }

    // The pages fill the page control's display area and lie above it.
    RECT area;
    ::GetWindowRect(tabs_, &area);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    ::SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < 2; ++i) {
        pages_[i] = CreateEmptyDialog(WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, window_, PageProc,
                                      reinterpret_cast<LPARAM>(this));
        ::SetWindowLongPtrA(pages_[i], GWLP_ID, i == 0 ? ids::TabSheet1 : ids::TabSheet2);
        ::SetWindowPos(pages_[i], HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_NOACTIVATE);
    }
    ::SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // First page. A label's accelerator focuses the control created right after it.
    HWND page = pages_[0];
    CreateLabel(page, form_.LabelDir.Caption, ids::LabelDir, 8, 8, 147, 12);
    CreateControl(page, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, ids::ComboBoxDir, 8,
                  24, 297, 20 + kComboDropHeight, font);
    HWND browse = CreateControl(page, "BUTTON", form_.BtnDir.Caption.c_str(), BS_PUSHBUTTON, ids::BtnDir, 312, 24, 57,
                                22, font);
    ::SetWindowSubclass(browse, SpeedButtonProc, 0, 0);
    CreateControl(page, "BUTTON", form_.CheckBoxCloseMailOnly.Caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                  ids::CheckBoxCloseMailOnly, 8, 56, 225, 17, font);
    CreateControl(page, "BUTTON", form_.CheckBoxMailOpen.Caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                  ids::CheckBoxMailOpen, 8, 80, 249, 17, font);
    CreateControl(page, "BUTTON", form_.CheckBoxSelectMail.Caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                  ids::CheckBoxSelectMail, 8, 104, 249, 17, font);

    // Second page.
    page = pages_[1];
    CreateLabel(page, form_.Label1.Caption, ids::Label1, 8, 8, 76, 12);
    CreateControl(page, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                  ids::ComboBoxFindStr, 8, 24, 361, 20 + kComboDropHeight, font);
    CreateControl(page, "BUTTON", form_.RadioGroupFindPos.Caption.c_str(), BS_GROUPBOX | WS_GROUP,
                  ids::RadioGroupFindPos, 8, 56, 161, 73, font);
    // The radio group's items share its client area below the caption, one row each.
    const int rows = static_cast<int>(form_.RadioGroupFindPos.Items.size());
    for (int i = 0; i < rows && i < 3; ++i) {
        CreateControl(page, "BUTTON", form_.RadioGroupFindPos.Items[static_cast<std::size_t>(i)].c_str(),
                      BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), ids::RadioFindPos0 + i, 16,
                      56 + 16 + i * 17, 145, 17, font);
    }
    CreateControl(page, "BUTTON", form_.CheckBoxUpperCase.Caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                  ids::CheckBoxUpperCase, 176, 64, 161, 17, font);
    CreateControl(page, "BUTTON", form_.CheckBoxRegexp.Caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                  ids::CheckBoxRegexp, 176, 88, 97, 17, font);
    for (int id : {ids::ComboBoxDir, ids::ComboBoxFindStr}) {
        HWND combo = ::GetDlgItem(id == ids::ComboBoxDir ? pages_[0] : pages_[1], id);
        ::SendMessageA(combo, CB_SETITEMHEIGHT, 0, ScaleToScreen(12));
        FitComboHeight(combo, ScaleToScreen(20));
    }
}

HWND TWin32ExportDialog::CreateLabel(HWND page, const std::string& caption, int id, int left, int top, int width,
                                     int height)
{
    HWND label = CreateControl(page, "STATIC", caption.c_str(), SS_LEFTNOWORDWRAP, id, left, top, width, height,
                               font_.Handle());
    // Labels size themselves to their text: with a font wider than the design font, the text
    // still shows whole rather than being wrapped away.
    HDC dc = ::GetDC(label);
    HGDIOBJ old = ::SelectObject(dc, font_.Handle());
    RECT text{0, 0, 0, 0};
    ::DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    if (text.right > ScaleToScreen(width))
        ::SetWindowPos(label, nullptr, 0, 0, text.right, ScaleToScreen(height), SWP_NOMOVE | SWP_NOZORDER);
    return label;
}

void TWin32ExportDialog::SelectPage(int index)
{
    if (index < 0 || index > 1) index = 0;
    ::SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    HWND focus = ::GetFocus();
    const bool focusOnHidden = focus && ::IsChild(pages_[1 - index], focus);
    ::ShowWindow(pages_[index], SW_SHOW);
    ::ShowWindow(pages_[1 - index], SW_HIDE);
    if (focusOnHidden) ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs_), TRUE);
    form_.PageControl1.ActivePageIndex = index;
}

void TWin32ExportDialog::PushToControls()
{
    HWND dir = ::GetDlgItem(pages_[0], ids::ComboBoxDir);
    HWND find = ::GetDlgItem(pages_[1], ids::ComboBoxFindStr);
    if (form_.ComboBoxDir.Items != dirItems_) {
        dirItems_ = form_.ComboBoxDir.Items;
        FillCombo(dir, dirItems_);
    }
    if (form_.ComboBoxFindStr.Items != findItems_) {
        findItems_ = form_.ComboBoxFindStr.Items;
        FillCombo(find, findItems_);
    }
    for (auto [combo, text] : {std::pair<HWND, const std::string*>{dir, &form_.ComboBoxDir.Text},
                               std::pair<HWND, const std::string*>{find, &form_.ComboBoxFindStr.Text}}) {
        if (WindowText(combo) == *text) continue;
        ::SetWindowTextA(combo, text->c_str());
        // A field without the focus shows no selection.
        HWND focus = ::GetFocus();
        if (focus != combo && !::IsChild(combo, focus)) ::SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
    }
    auto check = [](HWND page, int id, bool on) { ::CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); };
    check(pages_[0], ids::CheckBoxCloseMailOnly, form_.CheckBoxCloseMailOnly.Checked);
    check(pages_[0], ids::CheckBoxMailOpen, form_.CheckBoxMailOpen.Checked);
    check(pages_[0], ids::CheckBoxSelectMail, form_.CheckBoxSelectMail.Checked);
    for (int i = 0; i < 3; ++i) check(pages_[1], ids::RadioFindPos0 + i, form_.RadioGroupFindPos.ItemIndex == i);
    check(pages_[1], ids::CheckBoxUpperCase, form_.CheckBoxUpperCase.Checked);
    check(pages_[1], ids::CheckBoxRegexp, form_.CheckBoxRegexp.Checked);
    ::SetWindowTextA(window_, form_.Caption.c_str());
}

void TWin32ExportDialog::PullFromControls()
{
    if (!window_) return;
    form_.ComboBoxDir.Text = WindowText(::GetDlgItem(pages_[0], ids::ComboBoxDir));
    form_.ComboBoxFindStr.Text = WindowText(::GetDlgItem(pages_[1], ids::ComboBoxFindStr));
    auto checked = [](HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; };
    form_.CheckBoxCloseMailOnly.Checked = checked(pages_[0], ids::CheckBoxCloseMailOnly);
    form_.CheckBoxMailOpen.Checked = checked(pages_[0], ids::CheckBoxMailOpen);
    form_.CheckBoxSelectMail.Checked = checked(pages_[0], ids::CheckBoxSelectMail);
    form_.RadioGroupFindPos.ItemIndex = -1;
    for (int i = 0; i < 3; ++i)
        if (checked(pages_[1], ids::RadioFindPos0 + i)) form_.RadioGroupFindPos.ItemIndex = i;
    form_.CheckBoxUpperCase.Checked = checked(pages_[1], ids::CheckBoxUpperCase);
    form_.CheckBoxRegexp.Checked = checked(pages_[1], ids::CheckBoxRegexp);
    form_.PageControl1.ActivePageIndex = static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
}

void TWin32ExportDialog::RunHandler(bool okButton)
{
    PullFromControls();
    form_.Click(okButton ? TFormExport::Button::OK : TFormExport::Button::Browse);
    if (window_) PushToControls();
}

void TWin32ExportDialog::ShowModal()
{
    window_ = CreateEmptyDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN,
                                WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, nullptr, DialogProc,
                                reinterpret_cast<LPARAM>(this));
    if (!window_) return;
    SetClientSize(window_, ScaleToScreen(kClientWidth), ScaleToScreen(kClientHeight), false);
    CenterOnScreen(window_);
    PushToControls();
    SelectPage(form_.PageControl1.ActivePageIndex);

    closing_ = false;
    std::optional<TDisabledThreadWindows> disabled(std::in_place, window_);
    toolkit_.SetModalWindow(window_);
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(window_, ids::BtnOK)), TRUE);
    // Activation may have passed through the first field and selected its text on the way.
    ::SendDlgItemMessageA(pages_[0], ids::ComboBoxDir, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
    ::SendDlgItemMessageA(pages_[1], ids::ComboBoxFindStr, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));

    MSG msg;
    while (!closing_ && ::IsWindow(window_)) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The host's quit request belongs to its own loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslate(msg)) continue;
        if (::IsDialogMessageA(window_, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }

    if (::IsWindow(window_)) PullFromControls();
    else window_ = nullptr;  // destroyed from outside: nothing left to read
    toolkit_.SetModalWindow(nullptr);
    disabled.reset();  // the host's windows take the activation back before the dialog goes
    if (window_) {
        ::ShowWindow(window_, SW_HIDE);
        ::DestroyWindow(window_);
        window_ = nullptr;
    }
}

void TWin32ExportDialog::Close()
{
    closing_ = true;
    if (window_) ::PostMessageA(window_, WM_NULL, 0, 0);  // wakes the loop if it waits
}

void TWin32ExportDialog::BringToFront()
{
    if (!window_) return;
    ::ShowWindow(window_, SW_SHOW);
    ::SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window_);
}

namespace {

bool IsRadio(HWND window) { return (::SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0; }

}  // namespace

std::vector<HWND> TWin32ExportDialog::TabOrder() const
{
    // OK, Cancel, the page control, then the visible page's controls. The pages lie above the
    // page control so that they paint over it, so the window order cannot give this order.
    std::vector<HWND> order{::GetDlgItem(window_, ids::BtnOK), ::GetDlgItem(window_, ids::BitBtn1), tabs_};
    HWND page = pages_[::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0) == 1 ? 1 : 0];
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
        if (!(style & WS_TABSTOP) || !(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        if (!IsRadio(child)) {
            order.push_back(child);
            continue;
        }
        // A radio group is one stop: its checked item, else its first.
        HWND stop = child;
        for (HWND item = child;;) {
            if (::SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED) stop = item;
            HWND next = ::GetWindow(item, GW_HWNDNEXT);
            if (!next || (::GetWindowLongPtrA(next, GWL_STYLE) & WS_GROUP)) break;
            item = next;
            child = next;
        }
        order.push_back(stop);
    }
    return order;
}

bool TWin32ExportDialog::PreTranslate(MSG& msg)
{
    if (msg.hwnd != window_ && !::IsChild(window_, msg.hwnd)) return false;
    // Alt+1 and Alt+2 select the pages.
    if (msg.message == WM_SYSCHAR && (msg.wParam == '1' || msg.wParam == '2')) {
        SelectPage(static_cast<int>(msg.wParam - '1'));
        ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs_), TRUE);
        return true;
    }
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (::GetKeyState(VK_CONTROL) < 0) {
        SelectPage(1 - static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
        return true;
    }
    const std::vector<HWND> order = TabOrder();
    HWND focus = ::GetFocus();
    std::size_t current = order.size();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool sameRadioGroup = focus && IsRadio(focus) && IsRadio(order[i]) &&
                                    ::GetParent(focus) == ::GetParent(order[i]);
        if (order[i] == focus || ::IsChild(order[i], focus) || sameRadioGroup) current = i;
    }
    const std::size_t n = order.size();
    const bool back = ::GetKeyState(VK_SHIFT) < 0;
    const std::size_t next = current == n ? (back ? n - 1 : 0) : (back ? current + n - 1 : current + 1) % n;
    ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(order[next]), TRUE);
    return true;
}

void TWin32ExportDialog::DrawGlyphButton(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const bool isDefault = (item.CtlID == static_cast<UINT>(ids::BtnOK)) == defaultIsOk_;
    if (isDefault) {
        ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(&rect, -1, -1);
    }
    ::DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pressed) {
        ::FrameRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNSHADOW));
    }

    char text[64] = {};
    ::GetWindowTextA(item.hwndItem, text, sizeof text);
    HGDIOBJ oldFont = ::SelectObject(dc, font_.Handle());
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    const int glyph = ScaleToScreen(kGlyphSize);
    const int spacing = ScaleToScreen(4);
    const int shift = pressed ? 1 : 0;
    const int left = item.rcItem.left + (item.rcItem.right - item.rcItem.left - glyph - spacing - extent.cx) / 2 + shift;
    const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;
    DrawGlyph(dc, left, middle - glyph / 2, item.CtlID == static_cast<UINT>(ids::BtnOK), enabled);
    RECT textRect{left + glyph + spacing, middle - extent.cy / 2, left + glyph + spacing + extent.cx,
                  middle - extent.cy / 2 + extent.cy};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    ::DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
    ::SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) {
        RECT focusRect = rect;
        ::InflateRect(&focusRect, -ScaleToScreen(3), -ScaleToScreen(3));
        ::DrawFocusRect(dc, &focusRect);
    }
}

INT_PTR CALLBACK TWin32ExportDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<TWin32ExportDialog*>(lParam);
        self->window_ = window;
        self->CreateControls();
        return FALSE;
    }
    TWin32ExportDialog* self = Self(window);
    if (!self) return FALSE;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ids::BtnOK:
            if (HIWORD(wParam) == BN_CLICKED) self->RunHandler(true);
            return TRUE;
        case ids::BitBtn1:
            if (HIWORD(wParam) == BN_CLICKED) self->Close();
            return TRUE;
        case ids::BtnDir:
            if (HIWORD(wParam) == BN_CLICKED) self->RunHandler(false);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == self->tabs_ && header->code == TCN_SELCHANGE)
            self->SelectPage(static_cast<int>(::SendMessageA(self->tabs_, TCM_GETCURSEL, 0, 0)));
        return FALSE;
    }
    case WM_DRAWITEM:
        self->DrawGlyphButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK TWin32ExportDialog::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        return FALSE;
    }
    if (message == WM_COMMAND) {
        // The pages' buttons are handled by the dialog.
        ::SendMessageA(::GetParent(window), WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK TWin32ExportDialog::GlyphButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                     DWORD_PTR data)
{
    auto* self = reinterpret_cast<TWin32ExportDialog*>(data);
    const bool isOk = ::GetDlgCtrlID(window) == ids::BtnOK;
    switch (message) {
    case WM_GETDLGCODE:
        // Take part in the dialog manager's default-button handling like a push button.
        return DLGC_BUTTON | ((isOk == self->defaultIsOk_) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
        // The dialog manager moves the default here; keep the owner-drawn style.
        if ((wParam & 0x0F) == BS_DEFPUSHBUTTON) self->defaultIsOk_ = isOk;
        ::InvalidateRect(::GetDlgItem(self->window_, ids::BtnOK), nullptr, TRUE);
        ::InvalidateRect(::GetDlgItem(self->window_, ids::BitBtn1), nullptr, TRUE);
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK TWin32ExportDialog::SpeedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                     DWORD_PTR)
{
    // A speed button never takes the focus: hand it straight back.
    if (message == WM_SETFOCUS) {
        HWND previous = reinterpret_cast<HWND>(wParam);
        if (previous && ::IsWindow(previous)) ::SetFocus(previous);
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

std::unique_ptr<TExportDialogView> TWin32Toolkit::CreateExportDialog(TFormExport& form)
{
    return std::make_unique<TWin32ExportDialog>(form, *this);
}

}  // namespace qv::ui
