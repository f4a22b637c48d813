#include <QCryptographicHash>

#include "datafile/DataFileText.h"
#include "store/Fingerprint.h"

std::string sha256Hex(const void *data, std::size_t length) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(static_cast<const char *>(data), static_cast<qsizetype>(length)));
    return hash.result().toHex().toStdString();
}

std::string sha256Hex(const std::string &bytes) { return sha256Hex(bytes.data(), bytes.size()); }

std::string recordsFingerprint() {
    std::string text;
    if (!formatFixedDataFile(text)) return {};
    return sha256Hex(text);
}
