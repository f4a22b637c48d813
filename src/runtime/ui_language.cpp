// The language of the toolkit's own texts: the standard buttons of the pop-ups (Yes, No, Save,
// Cancel, ...) and the file dialogs come from the toolkit's translation files, installed beside
// it (on Debian by qt6-translations-l10n).
#include "runtime/ui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// The translation in use, owned by the application object (it goes with it); null for English.
QPointer<QTranslator> g_toolkitTranslation;

void dropTranslation() {
    if (g_toolkitTranslation.isNull()) return;
    QCoreApplication::removeTranslator(g_toolkitTranslation);
    delete g_toolkitTranslation.data();
}

}   // namespace

int SetUiLanguage(const char *language) {
    if (QCoreApplication::instance() == nullptr) return -1;
    dropTranslation();
    const QString name = QString::fromUtf8(language ? language : "");
    if (name.isEmpty() || name == QStringLiteral("en")) return 0;
    auto *translation = new QTranslator(QCoreApplication::instance());
    if (!translation->load(QStringLiteral("qtbase_") + name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translation;
        return -1;
    }
    QCoreApplication::installTranslator(translation);
    g_toolkitTranslation = translation;
    return 0;
}
