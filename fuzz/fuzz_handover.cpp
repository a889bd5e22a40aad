// A hand-over line from a later start, or from anyone who can reach the socket: any bytes read
// without harm into at most the allowed number of absolute paths, and what is read goes back
// and forth unchanged.
#include "fuzzsupport.h"

#include "app/singleinstance.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::start();
    const QByteArray line(reinterpret_cast<const char *>(data), qsizetype(size));
    const SingleInstance::Message message = SingleInstance::readMessage(line);
    FUZZ_CHECK(message.valid || (message.paths.isEmpty() && message.ignored == 0));
    FUZZ_CHECK(message.paths.size() <= SingleInstance::MaxPaths);
    FUZZ_CHECK(message.ignored == 0 || message.paths.size() == SingleInstance::MaxPaths);
    for (const QString &path : message.paths)
        FUZZ_CHECK(QDir::isAbsolutePath(path) && !path.contains(QChar::Null));

    const QByteArray again = SingleInstance::writeMessage(message.paths);
    FUZZ_CHECK(again.endsWith('\n') && again.count('\n') == 1);
    const SingleInstance::Message reread = SingleInstance::readMessage(again);
    FUZZ_CHECK(reread.valid && reread.paths == message.paths && reread.ignored == 0);
    return 0;
}
