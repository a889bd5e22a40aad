#pragma once

#include <QStringList>
#include <QTemporaryDir>

class QWidget;

// A build with the address sanitizer runs several times slower: bounds on time widen by this.
#if defined(__SANITIZE_ADDRESS__)
#define OLVANTI_TEST_TIME_FACTOR 10
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OLVANTI_TEST_TIME_FACTOR 10
#endif
#endif
#ifndef OLVANTI_TEST_TIME_FACTOR
#define OLVANTI_TEST_TIME_FACTOR 1
#endif

// Gives a test process its own home for settings, data and logs, so tests never touch the
// operator's files and can run in parallel. Create it before the application object
// (see OLVANTI_TEST_MAIN), it stays for the whole run.
class TestEnvironment final
{
public:
    TestEnvironment();
    ~TestEnvironment();

    static TestEnvironment &instance();

    // Scratch folder for fixture files, removed at exit.
    QString path(const QString &name) const;

    // Writes (once per process) a generated PDF and returns its path.
    QString textDocument(int pageCount);  // "Page N" and "pagemarkerN" on page N
    QString deck(int slideCount);         // 16:9 slides
    QString zeroPageDocument();
    QString encryptedDocument(const QString &password = QStringLiteral("secret"));
    QString damagedDocument();            // a file with a PDF name and garbage inside
    QString brokenPageDocument();         // three pages, the second cannot be rendered

private:
    QTemporaryDir m_home;
};

// Shows `widget` and waits until the window system has exposed it.
bool showAndWait(QWidget *widget);

// A program run to its end: exit code (-1: crashed or still running after two minutes) and output.
struct ProgramRun
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs `program` in this process's environment changed by `changes` ("NAME=VALUE" sets, "NAME" removes).
ProgramRun runProgram(const QString &program, const QStringList &arguments, const QStringList &changes = {});

// QTEST_MAIN with an isolated environment and, optionally, an offscreen screen layout.
// `screens` is a JSON "screens" array text or empty for the default single screen.
int runIsolatedTest(int argc, char **argv, QObject *(*makeTest)(), const char *screensJson = nullptr);

#define OLVANTI_TEST_MAIN_WITH_SCREENS(TestClass, screensJson) \
    int main(int argc, char **argv) \
    { \
        return runIsolatedTest(argc, argv, []() -> QObject * { return new TestClass; }, screensJson); \
    }
#define OLVANTI_TEST_MAIN(TestClass) OLVANTI_TEST_MAIN_WITH_SCREENS(TestClass, nullptr)
