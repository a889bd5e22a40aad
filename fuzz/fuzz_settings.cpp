// The settings file as the program finds it: any bytes read without harm into preferences
// within their limits, and the checked write of the store never takes the file Qt writes for
// a failure, whatever keys and values it holds.
#include "fuzzsupport.h"

#include "base/appsettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    // The store keeps what it read by file name: a fresh name for every input.
    QTemporaryDir root(Fuzz::scratch() + QStringLiteral("/run-XXXXXX"));
    FUZZ_CHECK(root.isValid());
    const QString path = root.filePath(QStringLiteral("settings.ini"));
    Fuzz::writeFile(path, data, size);

    int seconds = 0;
    {
        QSettings store(path, QSettings::IniFormat);
        AppSettings settings(store);
        seconds = settings.timerSeconds();
        FUZZ_CHECK(seconds >= 0 && seconds <= Limits::MaxTimerSeconds);
        FUZZ_CHECK(settings.transitionEffect() >= 0 && settings.transitionEffect() < Limits::TransitionCount);
        FUZZ_CHECK(settings.transitionMs() >= 0 && settings.transitionMs() <= Limits::MaxTransitionMs);
        const QStringList recent = settings.recent();
        FUZZ_CHECK(recent.size() <= Limits::MaxRecent && QStringList(recent).removeDuplicates() == 0);
        const QMap<QString, int> times = settings.playlistTimes();
        for (const int minutes : times)
            FUZZ_CHECK(minutes >= 1 && minutes <= Limits::MaxEntryMinutes);
        for (const int page : settings.playlistEndPages())
            FUZZ_CHECK(page >= 1);
        FUZZ_CHECK(settings.position(QStringLiteral("/a.pdf")) >= 0);
        FUZZ_CHECK(settings.inputDebounceMs() >= 0 && settings.inputDebounceMs() <= Limits::MaxDebounceMs);

        seconds = seconds == 0 ? 1 : seconds - 1;
        settings.setTimerSeconds(seconds);
        FUZZ_CHECK(settings.syncAndCheck().isEmpty());
    }
    // Read again under another name, so nothing comes from what the store kept.
    const QString copy = root.filePath(QStringLiteral("copy.ini"));
    FUZZ_CHECK(QFile::copy(path, copy));
    QSettings again(copy, QSettings::IniFormat);
    FUZZ_CHECK(again.status() == QSettings::NoError);
    FUZZ_CHECK(AppSettings(again).timerSeconds() == seconds);
    return 0;
}
