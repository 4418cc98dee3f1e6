// The state of the form controls that the portable form logic reads and writes. A view mirrors
// these into real controls and back (see toolkit.h); the headless toolkit edits them directly.
#pragma once

#include <string>
#include <vector>

struct TComboBox {
    std::string Text;                // the edit text
    std::vector<std::string> Items;  // the drop-down list, in order
};

struct TCheckBox {
    std::string Caption;
    bool Checked = false;
};

struct TRadioGroup {
    std::string Caption;
    std::vector<std::string> Items;
    int ItemIndex = 0;  // -1: no item selected
};

struct TLabel {
    std::string Caption;
};

struct TButton {
    std::string Caption;
};

struct TPageControl {
    std::vector<std::string> PageCaptions;
    int ActivePageIndex = 0;
};
