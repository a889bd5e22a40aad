#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

const QString VerifyOption = u"verify"_s;

} // namespace

void configureParser(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QCoreApplication::translate("CommandLine", "Olvanti PDF reader and presentation system"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(u"document"_s, QCoreApplication::translate("CommandLine", "PDF document to open."),
                                 u"[document]"_s);
    parser.addOption(QCommandLineOption(
        VerifyOption,
        QCoreApplication::translate("CommandLine", "Open PDF, render the first live frame and exit (diagnostic check)."),
        u"pdf"_s));
}

LaunchOptions launchOptions(const QCommandLineParser &parser)
{
    LaunchOptions options;
    options.verify = parser.isSet(VerifyOption);
    options.verifyPath = parser.value(VerifyOption);
    options.documents = parser.positionalArguments();
    return options;
}

QString documentToOpen(const LaunchOptions &options, const QString &pendingOpenPath)
{
    if (options.verify)
        return options.verifyPath;
    if (!pendingOpenPath.isEmpty())
        return pendingOpenPath;
    return options.documents.value(0);
}
