// What the layout builders of the windows share: small helpers that make a control, put it
// into a grid and fill a ring, and the builders each file defines. A control that cannot be
// made or placed marks the panel being built as failed; finishPanel reports it and clears
// the mark. Only the panels*.cpp files include this header.
#pragma once

#include <initializer_list>
#include <utility>

#include "runtime/ui.h"

namespace layout {

// Make a control (the pixel size is its minimum in the grid) and attach its callback.
void ctrl(int panel, CtrlKind kind, int id, const char *label, int width, int height,
          CtrlCallbackPtr callback = nullptr);
// Put a made control into a grid: group 0 is the panel, or a frame's id.
void place(int panel, int id, int group, int row, int column, int rowSpan = 1, int columnSpan = 1);
// A frame holding a group of controls, placed in the panel's grid.
void frame(int panel, int id, int row, int column, int rowSpan = 1, int columnSpan = 1);
// A heading in the dialog font at the top of a group.
void heading(int panel, int id, const char *text, int group, int row, int columnSpan);
// A read-only field (indicator).
void indicator(int panel, int id);
void ring(int panel, int id, std::initializer_list<std::pair<const char *, int>> items, int selected);
// The share of the extra room of columns or rows of a grid, one stretch per index from 0.
void stretch(int panel, int group, int direction, std::initializer_list<int> stretches);
// 0, or -1 when a control of the panel could not be made or placed.
int finishPanel();

// The builders, one per window.
int buildMonitor(int panel);
int buildMonitors(int panel);
int buildSetLogger(int panel);
int buildSetting(int panel);
int buildStatistic(int panel);
int buildTable(int panel);
int buildTripReport(int panel);

}   // namespace layout
