// Logger configuration: the logging settings window, its per-model settings file, the clock,
// identifier and sleep mode, and calibration.
#pragma once

#include "config/Calibration.h"
#include "config/ClockSetting.h"
#include "config/LogSetting.h"

// Fill the logger-settings window for the model currDeviceId.
void updatePanelLogSetting();
// Restore the current model's remembered settings into the logger-settings window.
void RecallLogSetting();
