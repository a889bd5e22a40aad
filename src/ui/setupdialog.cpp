#include "ui/setupdialog.h"

#include "presentation/displaychoice.h"
#include "presentation/pagecanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ShortestTransitionMs = 100;

QLabel *heading(const QString &text)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

SetupDialog::SetupDialog(AppSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("setupDialog"));
    setWindowTitle(tr("Setup"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading(tr("External screen")));
    layout->addLayout(buildScreenSection());
    layout->addWidget(heading(tr("Page transition")));
    layout->addLayout(buildTransitionSection());
    layout->addWidget(heading(tr("Timer")));
    m_autoStart = new QCheckBox(tr("Start timer when output opens"));
    m_autoStart->setObjectName(QStringLiteral("timerAutoStart"));
    m_autoStart->setChecked(m_settings.timerAutoStart());
    layout->addWidget(m_autoStart);
    layout->addStretch();

    connect(m_displayChoice, &QComboBox::activated, this, [this](int index) {
        const QString identity = m_displayChoice->itemData(index).toString();
        m_settings.setOutputDisplay(identity);
        Q_EMIT displayChosen(identity);
    });
    connect(m_placement, &QComboBox::activated, this, [this](int index) {
        m_settings.setOutputWindowed(index == 1);
        m_windowSize->setEnabled(index == 1);
        Q_EMIT placementChosen(index == 1);
    });
    connect(m_windowSize, &QComboBox::activated, this, [this](int index) {
        m_settings.setOutputWindowSize(index);
        Q_EMIT windowSizeChosen(index);
    });
    connect(m_outputToggle, &QPushButton::clicked, this, &SetupDialog::outputToggleClicked);
    connect(m_scaling, &QComboBox::currentIndexChanged, this, [this](int index) {
        const bool fitWidth = index == 1;
        m_settings.setOutputFitWidth(fitWidth);
        Q_EMIT fitWidthChanged(fitWidth);
    });
    connect(m_effect, &QComboBox::currentIndexChanged, this, &SetupDialog::applyTransition);
    connect(m_duration, &QSpinBox::valueChanged, this, &SetupDialog::applyTransition);
    connect(m_autoStart, &QCheckBox::toggled, this, [this](bool on) { m_settings.setTimerAutoStart(on); });

    refillDisplays();
    // The stored transition, limited to what the controls offer, is written back once.
    applyTransition();
}

SetupDialog::~SetupDialog() = default;

QFormLayout *SetupDialog::buildScreenSection()
{
    auto *form = new QFormLayout;
    m_placement = new QComboBox;
    m_placement->setObjectName(QStringLiteral("outputPlacement"));
    m_placement->addItems({tr("Full screen on a display"), tr("In a window (for screen sharing)")});
    m_placement->setCurrentIndex(m_settings.outputWindowed() ? 1 : 0);
    form->addRow(tr("Show output"), m_placement);

    m_displayChoice = new QComboBox;
    m_displayChoice->setObjectName(QStringLiteral("displayChoice"));
    form->addRow(tr("Display"), m_displayChoice);

    m_windowSize = new QComboBox;
    m_windowSize->setObjectName(QStringLiteral("windowSizeChoice"));
    m_windowSize->addItems({tr("1280 × 720"), tr("1920 × 1080"), tr("Free (drag the window's edges)")});
    m_windowSize->setCurrentIndex(m_settings.outputWindowSize());
    m_windowSize->setEnabled(m_settings.outputWindowed());
    form->addRow(tr("Window size"), m_windowSize);

    m_outputToggle = new QPushButton;
    m_outputToggle->setObjectName(QStringLiteral("outputToggle"));
    m_outputToggle->setCheckable(true);
    setOutputShown(false);
    form->addRow(tr("Output"), m_outputToggle);

    m_scaling = new QComboBox;
    m_scaling->setObjectName(QStringLiteral("scalingChoice"));
    m_scaling->addItems({tr("Fit page (preserve all content)"), tr("Fit width (may crop vertically)")});
    m_scaling->setCurrentIndex(m_settings.outputFitWidth() ? 1 : 0);
    form->addRow(tr("Scaling"), m_scaling);
    return form;
}

QFormLayout *SetupDialog::buildTransitionSection()
{
    auto *form = new QFormLayout;
    m_effect = new QComboBox;
    m_effect->setObjectName(QStringLiteral("transitionChoice"));
    m_effect->addItems(PageCanvas::transitionNames());
    m_effect->setCurrentIndex(std::clamp(m_settings.transitionEffect(), 0, m_effect->count() - 1));
    form->addRow(tr("Effect"), m_effect);

    m_duration = new QSpinBox;
    m_duration->setObjectName(QStringLiteral("transitionDuration"));
    m_duration->setRange(ShortestTransitionMs, PageCanvas::MaxTransitionMs);
    m_duration->setSingleStep(50);
    m_duration->setSuffix(tr(" ms"));
    m_duration->setValue(m_settings.transitionMs());
    form->addRow(tr("Duration"), m_duration);
    return form;
}

bool SetupDialog::preferredDisplayMissing(const AppSettings &settings)
{
    bool missing = false;
    chosenDisplayIndex(settings.outputDisplay(), &missing);
    return missing;
}

QString SetupDialog::missingDisplayNotice()
{
    return tr("Preferred output display unavailable; choose a replacement before opening output.");
}

int SetupDialog::offeredTransitionMs(int ms)
{
    return std::clamp(ms, ShortestTransitionMs, int(PageCanvas::MaxTransitionMs));
}

void SetupDialog::refillDisplays()
{
    if (fillDisplayChoice(m_displayChoice, m_settings.outputDisplay()))
        Q_EMIT statusMessage(missingDisplayNotice(), MissingDisplayNoticeMs);
}

void SetupDialog::applyTransition()
{
    const int effect = m_effect->currentIndex();
    const int ms = m_duration->value();
    m_settings.setTransition(effect, ms);
    Q_EMIT transitionChanged(effect, ms);
}

void SetupDialog::setOutputShown(bool shown)
{
    const QSignalBlocker blocker(m_outputToggle);
    m_outputToggle->setChecked(shown);
    m_outputToggle->setText(shown ? tr("Output ON") : tr("Output OFF"));
}

void SetupDialog::showPlacement(bool windowed)
{
    const QSignalBlocker blocker(m_placement);
    m_placement->setCurrentIndex(windowed ? 1 : 0);
    m_windowSize->setEnabled(windowed);
}

int SetupDialog::selectedScreenIndex() const
{
    return m_displayChoice->currentIndex();
}

bool SetupDialog::autoStartTimer() const
{
    return m_autoStart->isChecked();
}

int SetupDialog::transitionEffect() const
{
    return m_effect->currentIndex();
}

int SetupDialog::transitionMs() const
{
    return m_duration->value();
}
