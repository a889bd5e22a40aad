#include "translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

using namespace Qt::StringLiterals;

void installTranslators(QCoreApplication &app)
{
    const QLocale locale;
    // The translator installed last is asked first, so ours wins over the toolkit's.
    const std::pair<QString, QString> catalogues[] = {
        {u"qtbase"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {u"olvanti"_s, u":/i18n"_s},
    };
    for (const auto &[name, folder] : catalogues) {
        auto *translator = new QTranslator(&app);
        if (translator->load(locale, name, u"_"_s, folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}
