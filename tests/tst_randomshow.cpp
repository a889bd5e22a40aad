#include "pdfgen.h"
#include "pdfsupport.h"
#include "screens.h"
#include "windowtest.h"

#include "app/startup.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/scrollview.h"
#include "timer/countdown.h"
#include "ui/commands.h"
#include "ui/playlistcontrol.h"
#include "ui/setupdialog.h"

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <malloc.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A short show for every run; `--actions N` and the show's number on the command line (see
// main) for long ones. The same number plays the same actions.
int s_actions = 1500;
quint32 s_show = 20261206;

const QJsonObject Laptop = TestScreens::screen(u"Laptop"_s, 0, 1024, 640);
const QJsonObject Projector = TestScreens::screen(u"Projector"_s, 1024, 1280, 720);
const QString Password = u"secret"_s;

// Resident memory once the allocator has given its free pages back.
qint64 residentKiB()
{
    malloc_trim(0);
    QFile status(u"/proc/self/status"_s);
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("\nVmRSS:");
    return at < 0 ? 0 : text.mid(at + 8).trimmed().split(' ').value(0).toLongLong();
}

// A fingerprint of an image's size and pixels.
QByteArray fingerprint(const QImage &image)
{
    const QByteArrayView pixels(image.constBits(), image.sizeInBytes());
    return QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()) + ' '
           + QByteArray::number(qHash(pixels), 16);
}

// Renders pages with a service of its own, so the driver knows what the audience should see.
// Reads copies of the files, which stay when the operator's go missing, and keeps only
// fingerprints, so that it adds nothing to the memory the show is measured by.
class Reference final
{
public:
    void keepCopies(const QStringList &paths)
    {
        for (const QString &path : paths)
            QFile::copy(path, path + u".reference"_s);
    }

    // With `cutHeight`, a page taller than that keeps only its middle, as fit width shows it.
    QByteArray page(const QString &path, int page, const QSize &box, int cutHeight = 0)
    {
        const QString key = u"%1|%2|%3x%4|%5"_s.arg(path).arg(page).arg(box.width()).arg(box.height()).arg(cutHeight);
        if (const auto it = m_prints.constFind(key); it != m_prints.constEnd())
            return it.value();
        QSignalSpy loaded(&m_service, &PdfService::loaded);
        m_service.load(path + u".reference"_s, Password);
        if (!loaded.wait(10000))
            return QByteArray();
        QSignalSpy rendered(&m_service, &PdfService::rendered);
        // On the output's channel, so the picture is made as the audience's is: whole, not in bands.
        m_service.render(Presentation::outputChannel(), page, box, 0, RenderPriority::Output, RenderShape::Whole);
        QImage image = rendered.wait(10000) ? rendered.constFirst().at(2).value<QImage>() : QImage();
        if (cutHeight > 0 && image.height() > cutHeight)
            image = image.copy(0, (image.height() - cutHeight) / 2, image.width(), cutHeight);
        const QByteArray print = image.isNull() ? QByteArray() : fingerprint(image);
        m_service.close(); // and with it the service's cache
        m_prints.insert(key, print);
        return print;
    }

private:
    PdfService m_service;
    QHash<QString, QByteArray> m_prints;
};

// One operator at the real main window with a three-file playlist.
struct Session
{
    MainWindow window;
    QStringList files; // every file the operator may add
    QRandomGenerator random;
    Reference reference;
    QStringList unexpectedBoxes;
    QStringList faults; // what an action itself saw go wrong
    QMessageBox::StandardButton stopAnswer = QMessageBox::Yes;
    QTimer responder;
    bool loading = false;
    bool passwordGiven = false;
    QImage shownFrame; // the frame of the last look

    int below(int bound) { return bound > 0 ? int(random.bounded(bound)) : 0; }
    bool coin() { return random.bounded(2) == 0; }
    template<typename T> T *child(const QString &name) { return window.findChild<T *>(name); }
    // The operator reaches only what the window shows.
    void click(const QString &name)
    {
        auto *button = child<QAbstractButton>(name);
        QVERIFY2(button, qPrintable(name));
        if (button->isVisible())
            button->click();
    }
    bool reading() const { return !window.presenterMode(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&window, key, modifiers); }
    void selectRow() { window.playlistPanel()->selectRow(below(window.playlist()->count())); }
    QString anyFile() { return files.at(below(int(files.size()))); }
    static QString hidden(const QString &path) { return path + u".away"_s; }

    // A document is loading from the "Loading PDF..." notice until the service answers or
    // closes; a password prompt that was answered starts the next attempt.
    void followLoading()
    {
        QObject::connect(window.statusBar(), &QStatusBar::messageChanged, &window, [this](const QString &message) {
            if (message == u"Loading PDF..."_s)
                loading = true;
        });
        QObject::connect(window.pdfService(), &PdfService::loaded, &window, [this] { loading = false; });
        QObject::connect(window.pdfService(), &PdfService::closed, &window, [this] { loading = false; });
        QObject::connect(window.pdfService(), &PdfService::failed, &window,
                         [this](const QString &, bool passwordRequired) { loading = passwordRequired && passwordGiven; });
    }

    // Answers the boxes an operator expects, as the operator would; any other box is a fault,
    // recorded and dismissed so that the show goes on.
    void answerBoxes()
    {
        responder.setInterval(10);
        QObject::connect(&responder, &QTimer::timeout, &window, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto *input = qobject_cast<QInputDialog *>(modal); input && input->windowTitle() == u"Encrypted PDF"_s) {
                // Now and then the operator gives up.
                passwordGiven = random.bounded(4) != 0;
                input->setTextValue(Password);
                passwordGiven ? input->accept() : input->reject();
                return;
            }
            auto *box = qobject_cast<QMessageBox *>(modal);
            const QString title = box ? box->windowTitle() : modal->windowTitle();
            if (box && title == u"Stop presentation"_s)
                box->button(stopAnswer)->click();
            else if (box && title == u"Remove file"_s)
                box->button(QMessageBox::Yes)->click();
            else if (box && QStringList{u"Output display"_s, u"Missing document"_s, u"Cannot open PDF"_s}.contains(title))
                box->button(QMessageBox::Ok)->click(); // an unplugged projector, a file gone or damaged
            else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                unexpectedBoxes << title + u": "_s + (box ? box->text() : QString());
                dialog->reject();
            }
        });
        responder.start();
    }
};

struct Step
{
    const char *name;
    void (*act)(Session &);
};

// The operator's repertoire.
const Step Steps[] = {
    {"next slide key", [](Session &s) { s.key(s.coin() ? Qt::Key_PageDown : Qt::Key_Right); }},
    {"previous slide key", [](Session &s) { s.key(s.coin() ? Qt::Key_PageUp : Qt::Key_Left); }},
    {"next slide button", [](Session &s) { s.click(u"nextButton"_s); }},
    {"previous slide button", [](Session &s) { s.click(u"previousButton"_s); }},
    {"first or last slide key", [](Session &s) { s.key(s.coin() ? Qt::Key_Home : Qt::Key_End); }},
    {"reader page key", [](Session &s) { s.key(s.coin() ? Qt::Key_Right : Qt::Key_Left, Qt::ControlModifier); }},
    {"arrow key", [](Session &s) { s.key(s.coin() ? Qt::Key_Down : Qt::Key_Up); }},
    {"blackout key", [](Session &s) { s.key(Qt::Key_B); }},
    {"blackout button", [](Session &s) { s.click(s.coin() ? u"blackoutButton"_s : u"readerBlackout"_s); }},
    {"reader mode", [](Session &s) { s.click(u"modeReader"_s); }},
    {"presenter mode", [](Session &s) { s.click(u"modePresenter"_s); }},
    {"zoom", [](Session &s) { if (s.reading()) s.coin() ? s.window.reader()->zoomIn() : s.window.reader()->zoomOut(); }},
    {"fit", [](Session &s) { if (s.reading()) s.window.reader()->zoomModeBox()->setCurrentIndex(s.below(3)); }},
    {"rotate", [](Session &s) { if (s.reading()) s.window.reader()->rotate(); }},
    {"two pages", [](Session &s) { if (s.reading()) s.window.reader()->twoPagesBox()->click(); }},
    {"scroll mode", [](Session &s) { if (s.reading()) s.window.reader()->scrollBox()->click(); }},
    {"scroll", [](Session &s) { if (s.reading()) s.window.reader()->scrollView()->stepScreen(s.coin() ? 1 : -1); }},
    {"fit width on the output",
     [](Session &s) { s.window.setupDialog()->findChild<QComboBox *>(u"scalingChoice"_s)->setCurrentIndex(s.below(2)); }},
    {"add file", [](Session &s) { s.window.playlistControl()->addFiles({s.anyFile()}); }},
    {"move file", [](Session &s) { s.selectRow(), s.window.playlistControl()->moveSelected(s.coin() ? 1 : -1); }},
    {"remove file", [](Session &s) { s.selectRow(), s.window.playlistControl()->removeSelected(); }},
    {"back", [](Session &s) { s.click(u"playlistBack"_s); }},
    {"close document", [](Session &s) { WindowTest::menuAction(s.window, u"Close document"_s)->trigger(); }},
    {"a file goes missing",
     [](Session &s) { const QString path = s.anyFile(); QFile::rename(path, Session::hidden(path)); }},
    {"missing files come back",
     [](Session &s) { for (const QString &path : std::as_const(s.files)) QFile::rename(Session::hidden(path), path); }},
    {"open a playlist file", [](Session &s) { s.window.showModel()->activateEntry(s.below(s.window.playlist()->count())); }},
    {"output switch",
     [](Session &s) { s.stopAnswer = s.coin() ? QMessageBox::Yes : QMessageBox::No, s.click(u"outputHeaderButton"_s); }},
    {"exit presentation key", [](Session &s) { s.key(Qt::Key_Escape); }},
    {"full screen", [](Session &s) { s.click(u"fullscreenButton"_s); }},
    {"unplug the projector", [](Session &) { TestScreens::apply({Laptop}); }},
    {"display comes back",
     [](Session &s) {
         // Gone and back: the full-screen output returns by itself and the countdown never stops.
         const OutputWindow *output = s.window.outputWindow();
         const bool returns = output->isVisible() && !output->windowed() && output->screen()->name() == u"Projector"_s;
         const bool running = s.window.countdown()->isRunning();
         TestScreens::apply({Laptop});
         TestScreens::apply({Laptop, Projector});
         if ((returns && !output->isVisible()) || (running && !s.window.countdown()->isRunning()))
             s.faults << u"the output did not come back, or the countdown stopped"_s;
     }},
    {"output as a window or full screen", [](Session &s) { s.window.choosePlacement(s.coin()); }},
    {"windowed output resized",
     [](Session &s) {
         OutputWindow *output = s.window.outputWindow();
         for (int step = s.below(5); step >= 0 && output->isVisible() && output->windowed(); --step) {
             output->resize(320 + s.below(900), 180 + s.below(500));
             QCoreApplication::processEvents();
         }
     }},
    {"swap the display", [](Session &s) { s.window.commands()->action(Action::SwapDisplay)->trigger(); }},
    {"plug the projector back", [](Session &) { TestScreens::apply({Laptop, Projector}); }},
    {"timer key",
     [](Session &s) {
         // Start/pause and reset, then the shifted arrows that add or take minutes and seconds.
         const Qt::Key keys[] = {Qt::Key_T, Qt::Key_R, Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
         const int which = s.below(6);
         s.key(keys[which], which < 2 ? Qt::NoModifier : Qt::ShiftModifier);
     }},
    {"type a page number",
     [](Session &s) { s.key(Qt::Key(Qt::Key_1 + s.below(5))), s.key(s.coin() ? Qt::Key_Return : Qt::Key_Escape); }},
    {"return from a jump", [](Session &s) { s.key(Qt::Key_Backspace); }},
    {"overview",
     [](Session &s) { s.key(Qt::Key_O), s.key(Qt::Key_Right), s.key(s.coin() ? Qt::Key_Return : Qt::Key_Escape); }},
    {"a talk ends before its last page",
     [](Session &s) {
         const QString path = s.anyFile();
         s.window.playlistControl()->setEntrySettings(path, s.window.playlist()->minutesFor(path), s.below(4));
     }},
    {"timer preset", [](Session &s) { s.click(u"timerPreset%1"_s.arg(QList<int>{5, 10, 15, 20, 30, 40, 60}.at(s.below(7)))); }},
};

// What the show still waits for: a box, a file switch, an output render or a load; empty
// when it has settled.
QString awaited(Session &s)
{
    if (QApplication::activeModalWidget())
        return u"a box: "_s + QApplication::activeModalWidget()->windowTitle();
    if (s.window.showModel()->switching())
        return u"a file switch"_s;
    const OutputWindow *output = s.window.outputWindow();
    if (output->isVisible() && s.window.presentation()->outputSize() != output->renderSize())
        return u"the output's size to rest"_s;
    if (s.window.presentation()->pendingPage() >= 0)
        return u"page %1 for the output"_s.arg(s.window.presentation()->pendingPage() + 1);
    return s.loading ? u"a document to load"_s : QString();
}

// Resident memory once the document is closed: the render cache and the pictures of the
// moment (which follow the page sizes and the reader zoom) are gone, what the show has
// gathered stays. A render or search still under way on the worker would hold up to a
// 16-megapixel picture, so the worker is drained first and its late replies dropped.
qint64 memoryWithoutDocument(Session &s)
{
    s.window.closeDocument();
    if (!QTest::qWaitFor([&] { return awaited(s).isEmpty(); }, 10000))
        return 0;
    for (int round = 0; round < 2; ++round) {
        if (!PdfTest::drainWorker(*s.window.pdfService()))
            return 0;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return residentKiB();
}

// Everything the operator and the audience see agrees with the state; empty when it does.
QString violation(Session &s)
{
    MainWindow &w = s.window;
    const Presentation *presentation = w.presentation();
    const PdfService *pdf = w.pdfService();
    const OutputWindow *output = w.outputWindow();
    const int pages = pdf->pageCount();
    const int live = presentation->livePage();
    const bool blackout = w.showModel()->blackout();
    if (!s.unexpectedBoxes.isEmpty())
        return u"a box was shown: "_s + s.unexpectedBoxes.join(u"; "_s);
    if (!s.faults.isEmpty())
        return s.faults.join(u"; "_s);

    // The output shows a page of the current document, the frame it kept, or black.
    const QImage frame = presentation->frame();
    const QImage kept = std::exchange(s.shownFrame, frame);
    if (pages == 0) {
        if (!frame.isNull() && frame != kept)
            return u"a new frame while no document is open"_s;
    } else {
        if (!s.files.contains(pdf->filePath()))
            return u"an unknown document is open: "_s + pdf->filePath();
        if (live < 0 || live >= pages)
            return u"live page %1 of %2"_s.arg(live).arg(pages);
        const bool twoPages = presentation->twoPageOutput() && live + 1 < pages;
        const QSize size = presentation->outputSize();
        const bool fitWidth = presentation->fitWidth();
        const QSize box = twoPages ? QSize(qMax(size.width() / 2, 1), size.height())
                          : fitWidth ? QSize(size.width(), PdfService::MaxRenderSide) : size;
        if (twoPages ? frame.size() != size
                     : fingerprint(frame) != s.reference.page(pdf->filePath(), live, box, fitWidth ? size.height() : 0))
            return u"the frame is not page %1 of %2"_s.arg(live + 1).arg(QFileInfo(pdf->filePath()).fileName());
    }
    if (output->isVisible() && !output->windowed() && output->geometry() != output->screen()->geometry())
        return u"the full-screen output does not cover its display"_s;
    // LIVE is what the audience sees.
    if (output->isVisible() && output->image() != frame)
        return u"the output window does not show the frame"_s;
    if (output->blackout() != blackout)
        return u"the output's blackout differs"_s;
    if (w.findChild<PageCanvas *>(u"liveCanvas"_s)->image() != frame)
        return u"LIVE does not show the frame"_s;

    // The labels and buttons tell the state.
    const auto text = [&](const QString &name) { return s.child<QLabel>(name)->text(); };
    const auto button = [&](const QString &name) { return s.child<QPushButton>(name); };
    if (!text(u"liveLabel"_s).endsWith(u"</p>%1 / %2"_s.arg(live + 1).arg(pages))
        || text(u"liveLabel"_s).contains(u"BLACKOUT"_s) != blackout)
        return u"the LIVE label reads "_s + text(u"liveLabel"_s);
    if (button(u"outputHeaderButton"_s)->text() != (output->isVisible() ? u"Output ON"_s : u"Output OFF"_s)
        || button(u"outputHeaderButton"_s)->isChecked() != output->isVisible())
        return u"the output switch reads "_s + button(u"outputHeaderButton"_s)->text();
    if (button(u"blackoutButton"_s)->text() != (blackout ? u"Resume"_s : u"Blackout"_s)
        || button(u"blackoutButton"_s)->isChecked() != blackout)
        return u"the blackout button reads "_s + button(u"blackoutButton"_s)->text();
    const QStringList playlist = w.playlist()->files();
    const int index = w.playlist()->currentIndex();
    if (pages > 0 && index != playlist.indexOf(pdf->filePath()))
        return u"the playlist marks file %1"_s.arg(index + 1);
    const QString name = QFileInfo(pdf->filePath()).fileName();
    const QString file = pages == 0 ? QString()
                         : index < 0 ? name
                                     : u"FILE %1 / %2  -  %3"_s.arg(index + 1).arg(playlist.size()).arg(name);
    if (text(u"fileLabel"_s) != file)
        return u"the file label reads "_s + text(u"fileLabel"_s);
    // NEXT names the next page, or at the end of a file the entry that Next will open.
    const int nextPage = presentation->previewPage();
    const int nextEntry = w.showModel()->entryBeside(1);
    const QString next = nextPage >= 0 ? QString::number(nextPage + 1)
                         : nextEntry >= 0 ? u"FILE %1"_s.arg(nextEntry + 1)
                         : pages > 0 ? u"END"_s
                                     : u"-"_s;
    // A file that comes back on disk is noticed through the file system's own notice.
    if (!QTest::qWaitFor([&] { return text(u"preparedLabel"_s).endsWith(u"</p>"_s + next); }, 2000))
        return u"the NEXT label reads "_s + text(u"preparedLabel"_s);
    if (button(u"timerStart"_s)->text() != w.countdown()->startText())
        return u"the timer button reads "_s + button(u"timerStart"_s)->text();
    return QString();
}

} // namespace

// A long show of random operator actions, each followed by a look at everything shown.
class RandomShowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { WindowTest::useProductSettings(); }

    void everyActionLeavesAConsistentShow()
    {
        TestEnvironment &environment = TestEnvironment::instance();
        const QString mixed = PdfTest::fixture(u"mixed.pdf"_s, [](const QString &path) {
            return PdfGen::writeBarePages(path, {{QSizeF(960, 540), 0, "wide"},
                                                 {QSizeF(612, 792), 90, "turned"},
                                                 {QSizeF(300, 300), 180, "square"},
                                                 {QSizeF(842, 595), 270, "landscape"},
                                                 {QSizeF(100, 400), 0, "narrow"}});
        });
        Session s;
        s.random = QRandomGenerator(s_show);
        s.files = {WindowTest::copyOf(environment.deck(4), u"deck.pdf"_s), mixed,
                   WindowTest::copyOf(environment.encryptedDocument(Password), u"locked.pdf"_s)};
        s.reference.keepCopies(s.files);
        s.answerBoxes();
        s.followLoading();
        s.window.playlistControl()->addFiles(s.files);
        // The operator may add a damaged file later.
        s.files.append(WindowTest::copyOf(environment.damagedDocument(), u"damaged.pdf"_s));
        s.window.playlistPanel()->setCollapsed(false, false);
        s.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.window.showModel()->activateEntry(0);

        qInfo("show %u, %d actions", s_show, s_actions);
        // Memory is sampled with the document closed at every twentieth of the show once a tenth
        // has warmed it up. A sample may still catch what a moment holds (a picture on its way,
        // a style or font cache filling), so the floors are compared: the least of the first
        // three samples against the least of the last three. A leak raises the floor.
        const int warmUp = std::max(1, s_actions / 10);
        const int sampleEvery = std::max(1, s_actions / 20);
        const auto samplePoint = [&](int done) { return done >= warmUp && (done - warmUp) % sampleEvery == 0; };
        QList<qint64> memory;
        QStringList recent;
        for (int i = 0; i < s_actions; ++i) {
            const Step &step = Steps[s.below(int(std::size(Steps)))];
            recent.append(QString::fromLatin1(step.name));
            if (recent.size() > 12)
                recent.removeFirst();
            step.act(s);
            QCoreApplication::processEvents();
            // Some actions follow at once, while a file loads or a page renders.
            if (s.below(4) == 0 && i + 1 < s_actions && !samplePoint(i + 1))
                continue;
            const QString where = u"show %1, action %2 (%3); last actions: %4"_s.arg(s_show).arg(i + 1).arg(
                QString::fromLatin1(step.name), recent.join(u", "_s));
            QVERIFY2(QTest::qWaitFor([&] { return awaited(s).isEmpty(); }, 10000),
                     qPrintable(u"the show waits for ever for "_s + awaited(s) + u"; "_s + where));
            const QString broken = violation(s);
            QVERIFY2(broken.isEmpty(), qPrintable(broken + u"; "_s + where));
            if (samplePoint(i + 1)) {
                memory.append(memoryWithoutDocument(s));
                QVERIFY2(memory.constLast() > 0, qPrintable(u"the worker did not come to rest; "_s + where));
            }
        }
        QVERIFY(memory.size() >= 6);
        QStringList figures;
        for (const qint64 kib : std::as_const(memory))
            figures.append(QString::number(kib));
        const qint64 first = *std::min_element(memory.cbegin(), memory.cbegin() + 3);
        const qint64 last = *std::min_element(memory.cend() - 3, memory.cend());
        qInfo("resident memory without a document (KiB), every %d actions from action %d: %s; floor %lld, then %lld",
              sampleEvery, warmUp, qPrintable(figures.join(u' ')), first, last);
        if (s_actions >= 10000)
            QVERIFY2(last <= first * 11 / 10, "memory grew by more than a tenth");
    }
};

int main(int argc, char **argv)
{
    // Our options first; QTest sees the rest.
    QList<char *> rest;
    for (int i = 0; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--actions") == 0)
            s_actions = QByteArray(argv[++i]).toInt();
        else if (i + 1 < argc && std::strcmp(argv[i], "--seed") == 0)
            s_show = QByteArray(argv[++i]).toUInt();
        else
            rest.append(argv[i]);
    }
    // The product's log and the offscreen platform's notes (one per full-screen window) would
    // fill QTest's message limit long before a long show ends; the driver checks what is seen.
    QLoggingCategory::setFilterRules(u"olvanti.*=false\ndefault.warning=false"_s);
    // The memory measured is the product's as it starts.
    keepPicturesOutOfTheHeap();
    rest.append(nullptr);
    return runIsolatedTest(int(rest.size() - 1), rest.data(), []() -> QObject * { return new RandomShowTest; },
                           R"([{"name":"Laptop","x":0,"y":0,"width":1024,"height":640,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
                               {"name":"Projector","x":1024,"y":0,"width":1280,"height":720,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])");
}

#include "tst_randomshow.moc"
