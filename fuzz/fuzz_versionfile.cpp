// The version file of the update check: any body parses without harm into trimmed single lines,
// the comparison with the running version is consistent, and only web addresses are opened.
#include "fuzzsupport.h"

#include "ui/updatecheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const UpdateCheck::VersionFile file = UpdateCheck::parseVersionFile(body);
    for (const QString &line : {file.version, file.downloadText}) {
        FUZZ_CHECK(line == line.trimmed());
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')));
    }
    FUZZ_CHECK(!file.version.isEmpty() || file.downloadText.isEmpty());

    const QString current = UpdateCheck::currentVersion();
    const bool newer = UpdateCheck::isNewer(file.version, current);
    FUZZ_CHECK(!newer || UpdateCheck::isValidVersion(file.version));
    FUZZ_CHECK(!(newer && UpdateCheck::isNewer(current, file.version)));
    FUZZ_CHECK(!UpdateCheck::isNewer(file.version, file.version));
    if (newer) {
        // Whatever line 2 says, only a web address on a real host is ever opened.
        const QUrl url = UpdateCheck::downloadUrl(file, QUrl(QStringLiteral("https://updates.test/version.txt")));
        FUZZ_CHECK(url.isValid() && !url.host().isEmpty());
        FUZZ_CHECK(url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
    }
    return 0;
}
