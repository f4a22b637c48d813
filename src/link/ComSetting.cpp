// The communication settings and the automatic port detection.
#include "link/ComSetting.h"

#include "app/Tavix.h"
#include "app/panels.h"
#include "local/Texts.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

int Get_ComPort() {
    // 1. the user confirms, then the logger gets three seconds to settle
    MessagePopup(warn28, warn29);
    for (int i = 0; i < 3; ++i) Delay(1.0);

    // 2. port 1 stands for "none found yet"
    portNo = 1;
    SetCtrlAttribute(idSetting, SETTING_PORT, ATTR_TEXT_COLOR, VAL_RED);

    // 3. try every port; the window shows the one being tried
    for (int p = 1; p <= MAX_COM_PORT; ++p) {
        SetCtrlVal(idSetting, SETTING_PORT, p);
        ProcessDrawEvents();
        if (OpenComConfig(p, "", baudRate, parity, dataBits, stopBits, 256, 256) >= 0 && portNo == 1) portNo = p;
        Delay(0.2);
        CloseCom(p);
    }

    // 4. show and keep the choice
    SetCtrlAttribute(idSetting, SETTING_PORT, ATTR_TEXT_COLOR, VAL_BLACK);
    SetCtrlVal(idSetting, SETTING_PORT, portNo);
    SavePanelState(idSetting, TAVIX_STATE_FILE, 1);
    return portNo;
}
