// Read-back of how a laid-out window shows its controls, for the tests that check that
// nothing is cut or overlaps: the group that holds a control, and every text a control
// shows with the width the text needs in its font and the width the widget gives it.
#pragma once

#include <string>
#include <vector>

namespace rt {

// The frame (a decoration's id) whose grid holds the control; 0 for the panel's own grid
// and for a control with a pixel position; negative when there is no such control.
int CtrlGroup(int panel, int ctrl);

struct ShownText {
    std::string what;   // "caption", "text" (a button's, a switch's, a text message's), "item" (a ring's), "title"
    std::string text;
    int needed = 0;                                 // pixels the text needs in its font (its widest line)
    int room = 0;                                   // pixels the widget gives the text
    int left = 0, top = 0, width = 0, height = 0;   // the widget showing it, in panel coordinates
};
// The texts a control shows now: its caption, the text on it and a ring's chosen item.
// Empty texts and hidden widgets are left out.
std::vector<ShownText> CtrlTexts(int panel, int ctrl);

}   // namespace rt
