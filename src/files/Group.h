// The group-files window: up to eight saved data files in one chart.
#pragma once

// Start-up: read the window's offset and range and set the default colours.
void getDefaultMSetting();
