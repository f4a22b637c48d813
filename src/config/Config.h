// Logger configuration: the logging settings window, its per-model settings file, the clock,
// identifier and sleep mode, and calibration.
#pragma once

#include "config/Calibration.h"
#include "config/ClockSetting.h"
#include "config/LogSetting.h"

// The settings file, in the program's folder: one section "#<model index>" per model ever
// configured, holding what the logging section last sent to such a logger.
#define TAVIX_SETTING_FILE "TavixSetting.ini"

// Fill the logger-settings window for the model currDeviceId.
void updatePanelLogSetting();
// A logger of another model has been identified (installed as the notification
// loggerModelChanged): the window is filled for it and its remembered settings recalled.
void logSettingsFollowModel();
// Restore the current model's remembered settings into the logger-settings window. A missing
// file or section restores nothing; a key that is missing or does not hold a value the field
// can show keeps the window's default.
void RecallLogSetting();
// Remember the logging section's values for the current model in the settings file. A file
// that cannot be written is not reported (the settings still go to the logger).
void SaveLogSetting2File();
