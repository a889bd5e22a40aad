#include "ui/aboutdialog.h"

#include "ui/updatecheck.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(AboutDialog)
};

const char *const kNoticesName = "THIRD-PARTY-NOTICES.txt";

QLabel *centredLabel(const QString &text, const char *objectName)
{
    auto *label = new QLabel(text);
    label->setObjectName(QLatin1String(objectName));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QString detailsLine()
{
    const QString separator = QStringLiteral("  \u00B7  ");
    return Texts::tr("Version %1").arg(UpdateCheck::currentVersion()) + separator + QStringLiteral("2026")
        + separator + QStringLiteral("olvanti.example");
}

// The notices viewer; null when the file cannot be read.
QDialog *createNoticesDialog(QWidget *parent, const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return nullptr;
    const QString text = QString::fromUtf8(file.readAll());

    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("noticesDialog"));
    dialog->setWindowTitle(Texts::tr("Third-party notices"));
    dialog->resize(760, 560);
    auto *layout = new QVBoxLayout(dialog);
    auto *view = new QPlainTextEdit;
    view->setObjectName(QStringLiteral("noticesText"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setPlainText(text);
    layout->addWidget(view);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return dialog;
}

} // namespace

QDialog *createAboutDialog(QWidget *parent)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("aboutDialog"));
    dialog->setWindowTitle(Texts::tr("About OlvantiVIVuderidazi"));
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(10);

    QLabel *logo = centredLabel(QString(), "aboutLogo");
    const QPixmap pixmap(QStringLiteral(":/logo.png"));
    if (!pixmap.isNull())
        logo->setPixmap(pixmap.scaledToWidth(220, Qt::SmoothTransformation));
    layout->addWidget(logo);

    QLabel *name = centredLabel(QStringLiteral("OlvantiVIVuderidazi"), "aboutName");
    name->setStyleSheet(QStringLiteral("QLabel#aboutName { font-size: 18pt; font-weight: 600; }"));
    layout->addWidget(name);

    QLabel *text = centredLabel(
        Texts::tr("PDF reader and presentation system with a playlist, a presenter view and a countdown timer."),
        "aboutText");
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    layout->addWidget(text);

    layout->addWidget(centredLabel(detailsLine(), "aboutDetails"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton *notices = buttons->addButton(Texts::tr("Third-party notices"), QDialogButtonBox::ActionRole);
    notices->setObjectName(QStringLiteral("aboutNotices"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(notices, &QPushButton::clicked, dialog, [dialog] {
        // The viewer belongs to the main window, like the about dialog itself.
        showNotices(dialog->parentWidget() ? dialog->parentWidget() : dialog);
    });
    layout->addWidget(buttons);
    return dialog;
}

void showAboutDialog(QWidget *parent)
{
    QPointer<QDialog> dialog = createAboutDialog(parent);
    dialog->exec();
    delete dialog.data();
}

QString locateNoticesFile(const QString &applicationDir)
{
    const QString explicitPath = qEnvironmentVariable("OLVANTI_NOTICES_FILE");
    if (!explicitPath.isEmpty())
        return explicitPath;
    const QString name = QLatin1String(kNoticesName);
    const QDir dir(applicationDir);
    const QStringList candidates{QStringLiteral("../Resources/") + name, QStringLiteral("../") + name, name,
                                 QStringLiteral("../share/doc/olvanti-vivuderidazi/") + name};
    for (const QString &candidate : candidates) {
        const QString path = dir.filePath(candidate);
        if (QFileInfo::exists(path))
            return QDir::cleanPath(path);
    }
    return QString();
}

QString locateNoticesFile()
{
    return locateNoticesFile(QCoreApplication::applicationDirPath());
}

void showNotices(QWidget *parent)
{
    QPointer<QDialog> viewer = createNoticesDialog(parent, locateNoticesFile());
    if (!viewer) {
        QMessageBox::information(parent, Texts::tr("Third-party notices"),
                                 Texts::tr("The file THIRD-PARTY-NOTICES.txt was not found next to the application."),
                                 QMessageBox::Ok);
        return;
    }
    viewer->exec();
    delete viewer.data();
}
