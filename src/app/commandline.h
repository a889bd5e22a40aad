#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the command line asked for.
struct LaunchOptions
{
    bool verify = false;
    QString verifyPath;
    QStringList documents;
};

// Description, help, version, the "document" argument and the "verify" option.
void configureParser(QCommandLineParser &parser);

// Reads a parser that has processed the arguments.
LaunchOptions launchOptions(const QCommandLineParser &parser);

// The document to open once the event loop runs; empty for none. A verify run opens only its
// own PDF; otherwise a file the platform asked to open wins over the command line.
QString documentToOpen(const LaunchOptions &options, const QString &pendingOpenPath);
