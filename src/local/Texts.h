// The texts of the chosen language that the system shows: messages and warnings, the
// button captions and the window texts that several windows share. All start empty and
// are filled from the language file when the windows get their texts.
#pragma once

enum { MSG_TEXT_SIZE = 100, WINDOW_TEXT_SIZE = 30, COMMAND_TEXT_SIZE = 16 };

extern char msg1[MSG_TEXT_SIZE], msg2[MSG_TEXT_SIZE], msg3[MSG_TEXT_SIZE], msg4[MSG_TEXT_SIZE], msg5[MSG_TEXT_SIZE],
    msg6[MSG_TEXT_SIZE], msg7[MSG_TEXT_SIZE], msg8[MSG_TEXT_SIZE], msg9[MSG_TEXT_SIZE], msg10[MSG_TEXT_SIZE],
    msg11[MSG_TEXT_SIZE], msg12[MSG_TEXT_SIZE], msg13[MSG_TEXT_SIZE], msg14[MSG_TEXT_SIZE], msg15[MSG_TEXT_SIZE],
    msg16[MSG_TEXT_SIZE];
extern char warn1[MSG_TEXT_SIZE], warn2[MSG_TEXT_SIZE], warn3[MSG_TEXT_SIZE], warn4[MSG_TEXT_SIZE],
    warn5[MSG_TEXT_SIZE], warn6[MSG_TEXT_SIZE], warn7[MSG_TEXT_SIZE], warn8[MSG_TEXT_SIZE], warn9[MSG_TEXT_SIZE],
    warn10[MSG_TEXT_SIZE], warn11[MSG_TEXT_SIZE], warn12[MSG_TEXT_SIZE], warn13[MSG_TEXT_SIZE], warn14[MSG_TEXT_SIZE],
    warn15[MSG_TEXT_SIZE], warn16[MSG_TEXT_SIZE], warn17[MSG_TEXT_SIZE], warn18[MSG_TEXT_SIZE], warn19[MSG_TEXT_SIZE],
    warn20[MSG_TEXT_SIZE], warn21[MSG_TEXT_SIZE], warn22[MSG_TEXT_SIZE], warn23[MSG_TEXT_SIZE], warn28[MSG_TEXT_SIZE],
    warn29[MSG_TEXT_SIZE], warn30[MSG_TEXT_SIZE], warn31[MSG_TEXT_SIZE];

extern char wRetrieveFile[WINDOW_TEXT_SIZE], wSaveFile[WINDOW_TEXT_SIZE], wDate[WINDOW_TEXT_SIZE],
    wTime[WINDOW_TEXT_SIZE], wTemperature[WINDOW_TEXT_SIZE], wTemperature2[WINDOW_TEXT_SIZE], wTemp1C[WINDOW_TEXT_SIZE],
    wTemp1F[WINDOW_TEXT_SIZE], wTemp2C[WINDOW_TEXT_SIZE], wTemp2F[WINDOW_TEXT_SIZE],
    wTemperature_41670[WINDOW_TEXT_SIZE], wTemperature2_41670[WINDOW_TEXT_SIZE], wTemp1C_41670[WINDOW_TEXT_SIZE],
    wTemp1F_41670[WINDOW_TEXT_SIZE], wTemp2C_41670[WINDOW_TEXT_SIZE], wTemp2F_41670[WINDOW_TEXT_SIZE],
    wHumidity[WINDOW_TEXT_SIZE], wTempC[WINDOW_TEXT_SIZE], wTempF[WINDOW_TEXT_SIZE], wRh[WINDOW_TEXT_SIZE];
extern char wNotes[WINDOW_TEXT_SIZE], wRecords[WINDOW_TEXT_SIZE], wPoints[WINDOW_TEXT_SIZE], wVersion[WINDOW_TEXT_SIZE],
    wDegree[2][WINDOW_TEXT_SIZE], wRhUnit[WINDOW_TEXT_SIZE], wStatistic[WINDOW_TEXT_SIZE], wUnit[WINDOW_TEXT_SIZE],
    wRate[WINDOW_TEXT_SIZE];
extern char wStartMode0[WINDOW_TEXT_SIZE], wStartMode1[WINDOW_TEXT_SIZE], wStartMode2[WINDOW_TEXT_SIZE],
    wStartMode3[WINDOW_TEXT_SIZE], wStartMode4[WINDOW_TEXT_SIZE], wStartMode20[WINDOW_TEXT_SIZE],
    wUnit1[WINDOW_TEXT_SIZE], wUnit3[WINDOW_TEXT_SIZE];
extern char wHistogramT[WINDOW_TEXT_SIZE], wHistogramT2[WINDOW_TEXT_SIZE], wHistogramR[WINDOW_TEXT_SIZE];
extern char cmdOk[COMMAND_TEXT_SIZE], cmdCancel[COMMAND_TEXT_SIZE], cmdGo[COMMAND_TEXT_SIZE], cmdSet[COMMAND_TEXT_SIZE],
    cmdRecall[COMMAND_TEXT_SIZE];

// Texts of the logger's port, in [Message] as msgPortClosed and msgPortReopened. They start
// with their English wording, so a language file made before they existed still shows them.
extern char msgPortClosed[MSG_TEXT_SIZE], msgPortReopened[MSG_TEXT_SIZE];

// Empty every text again (tests start from a clean state); the port texts go back to their English wording.
void clearTexts();
