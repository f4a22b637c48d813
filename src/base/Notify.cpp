#include "base/Notify.h"

Notifications notifications;

void notifyRecordsToDraw() {
    if (notifications.recordsToDraw != nullptr) notifications.recordsToDraw();
}

void notifyChartClearForDownload() {
    if (notifications.chartClearForDownload != nullptr) notifications.chartClearForDownload();
}

void notifyLoggerModelIdentified() {
    if (notifications.loggerModelIdentified != nullptr) notifications.loggerModelIdentified();
}

void notifyLoggerModelChanged() {
    if (notifications.loggerModelChanged != nullptr) notifications.loggerModelChanged();
}

void notifyTablePage(TablePage when) {
    if (notifications.tablePage != nullptr) notifications.tablePage(when);
}

void notifyCalibrationArrived(CalibrationAnswer answer) {
    if (notifications.calibrationArrived != nullptr) notifications.calibrationArrived(answer);
}

void notifySaveRecords() {
    if (notifications.saveRecords != nullptr) notifications.saveRecords();
}

void notifyDownloadEnded(bool complete) {
    if (notifications.downloadEnded != nullptr) notifications.downloadEnded(complete);
}
