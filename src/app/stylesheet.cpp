#include "stylesheet.h"

#include <QApplication>
#include <QFont>
#include <QString>
#include <QStringView>

namespace {

struct Rule
{
    QStringView selector;
    QStringView declarations;
};

// Later rules win over earlier ones of equal specificity, so the order matters.
constexpr Rule rules[] = {
    {u"QWidget", u"background:#1B2C3D; color:#FFFFFF;"},
    {u"QToolBar,QMenuBar,QStatusBar", u"background:#152331; spacing:5px; padding:4px;"},
    // The tool bar's overflow button, should a narrow window need it, is plain to see.
    {u"QToolButton#qt_toolbar_ext_button", u"background:#293F54; border:1px solid #FF9C45; border-radius:4px;"},
    {u"QPushButton,QComboBox,QSpinBox,QLineEdit,QKeySequenceEdit", u"background:#293F54; border:1px solid #486075; border-radius:4px; padding:6px;"},
    {u"QPushButton:hover", u"border-color:#FF9C45;"},
    // Light arrows and boxes: the style's own are dark on the dark background.
    {u"QAbstractSpinBox::up-button,QAbstractSpinBox::down-button", u"subcontrol-origin:border; width:16px; background:#3A5470; border-left:1px solid #486075;"},
    {u"QAbstractSpinBox::up-button", u"subcontrol-position:top right; border-top-right-radius:4px;"},
    {u"QAbstractSpinBox::down-button", u"subcontrol-position:bottom right; border-bottom-right-radius:4px;"},
    {u"QAbstractSpinBox::up-button:hover,QAbstractSpinBox::down-button:hover", u"background:#FF9C45;"},
    {u"QAbstractSpinBox::up-arrow", u"image:url(:/spin-up.png); width:8px; height:5px;"},
    {u"QAbstractSpinBox::down-arrow", u"image:url(:/spin-down.png); width:8px; height:5px;"},
    {u"QComboBox::drop-down", u"subcontrol-origin:padding; subcontrol-position:center right; width:18px; border:0;"},
    {u"QComboBox::down-arrow", u"image:url(:/spin-down.png); width:8px; height:5px;"},
    {u"QCheckBox::indicator", u"width:14px; height:14px; border:1px solid #9FB3C8; border-radius:3px; background:#0E1924;"},
    {u"QCheckBox::indicator:hover", u"border-color:#FF9C45;"},
    {u"QCheckBox::indicator:checked", u"background:#FF9C45; border-color:#FF9C45; image:url(:/tick.png);"},
    {u"QPushButton:pressed,QToolButton:pressed", u"background:#3E6A94; border-color:#FF9C45;"},
    {u"QLabel#shortcutHint", u"background:#FF9C45; color:#152331; border:1px solid #152331; border-radius:5px; padding:1px 6px; font-weight:bold; font-size:12px;"},
    {u"QPushButton#modeReader,QPushButton#modePresenter", u"background:transparent; border:0; border-radius:15px; padding:6px 20px; color:#9FB3C8; font-weight:bold;"},
    {u"QPushButton#modeReader:hover,QPushButton#modePresenter:hover", u"background:#243A50; color:#FFFFFF;"},
    {u"QPushButton#modeReader:checked,QPushButton#modePresenter:checked", u"background:qlineargradient(x1:0,y1:0,x2:0,y2:1,stop:0 #FFB36B,stop:1 #FF8A24); color:#152331;"},
    {u"QWidget#modeSwitch", u"background:#0E1924; border:1px solid #2F4256; border-radius:19px;"},
    {u"QLabel#headerLogo", u"background:transparent;"},
    {u"QLabel#versionLabel", u"color:#6F869C; padding-right:6px;"},
    {u"QPushButton#readerBlackout:checked", u"background:#111111; border-color:#FF9C45; color:#FFFFFF;"},
    // Bold in both states, so the button is sized for the text it shows when on.
    {u"QPushButton#outputToggle,QPushButton#outputHeaderButton", u"font-weight:bold;"},
    {u"QPushButton#outputToggle:checked,QPushButton#outputHeaderButton:checked", u"background:#2E7D32; border-color:#66BB6A;"},
    {u"QPushButton#fullscreenButton", u"font-weight:bold; padding:6px 14px;"},
    {u"QPushButton#fullscreenButton:checked", u"background:#FF9C45; color:#152331; border-color:#FF9C45;"},
    {u"QToolButton#playlistToggle", u"background:#293F54; border:1px solid #486075; border-radius:4px; padding:2px;"},
    {u"QToolButton#playlistToggle:hover", u"border-color:#FF9C45;"},
    {u"QLabel#playlistTitle", u"color:#FF9C45; font-weight:bold;"},
    {u"IconButton", u"padding:4px;"},
    {u"IconButton:disabled", u"background:#1F3144; border-color:#2F4256;"},
    {u"QWidget#timerBar", u"background:#152331; border:1px solid #486075; border-radius:6px;"},
    {u"QWidget#timerBar[overtime=\"true\"]", u"background:#C62828; border-color:#FF8A80;"},
    {u"QWidget#timerBar[overtime=\"true\"] TimerButton", u"background:#8E1B1B; border-color:#FF8A80;"},
    {u"QWidget#timerBar[overtime=\"true\"] TimerButton:pressed", u"background:#3E6A94; border-color:#FF9C45;"},
    {u"QLabel#timer", u"background:transparent; font-weight:bold;"},
    {u"QWidget#timerBar[overtime=\"true\"] QLabel#timer", u"color:#FFEB3B;"},
    {u"QWidget#timerBar[warning=\"90\"] QLabel#timer", u"color:#FFD54F;"},
    {u"QWidget#timerBar[warning=\"60\"] QLabel#timer", u"color:#FF9C45;"},
    {u"QWidget#timerBar[warning=\"30\"] QLabel#timer", u"color:#FF5252;"},
    {u"QLabel#liveLabel", u"color:#FF9C45; font-weight:bold; font-size:36px;"},
    {u"QLabel#preparedLabel", u"color:#56D6C9; font-weight:bold; font-size:36px;"},
    {u"QLabel#fileLabel", u"color:#9FB3C8; font-size:13px;"},
    {u"QLabel#liveCaption", u"color:#FF9C45; font-weight:bold; font-size:13px;"},
    {u"QLabel#liveCaption[outputOff=\"true\"]", u"color:#1B1B1B; background:#FFD54F; padding:1px 6px;"},
    {u"QLabel#nextCaption", u"color:#56D6C9; font-weight:bold; font-size:13px;"},
    {u"QLabel#clockStrip", u"color:#E3ECF4; font-weight:bold; font-size:20px;"},
    {u"ControlButton", u"padding:8px 18px; font-size:15px; font-weight:bold;"},
    {u"QPushButton#blackoutButton:checked", u"background:#C62828; border-color:#FF8A80; color:white;"},
    {u"QListView", u"background:#152331; border:0;"},
    {u"QListView::item:selected", u"background:#365269;"},
    {u"QToolButton#pagesToggle", u"background:#293F54; border:1px solid #486075; border-radius:4px; padding:2px;"},
    {u"QToolButton#pagesToggle:hover", u"border-color:#FF9C45;"},
    {u"QSplitter::handle", u"background:#0E1924;"},
    {u"QSplitter::handle:horizontal", u"width:7px;"},
    {u"QSplitter::handle:vertical", u"height:7px;"},
    {u"QSplitter::handle:hover", u"background:#FF9C45;"},
    {u"QScrollBar:horizontal", u"background:#0E1924; height:12px; margin:0;"},
    {u"QScrollBar:vertical", u"background:#0E1924; width:12px; margin:0;"},
    {u"QScrollBar::handle", u"background:#486075; border-radius:5px; min-width:30px; min-height:30px;"},
    {u"QScrollBar::handle:hover", u"background:#FF9C45;"},
    {u"QScrollBar::add-line,QScrollBar::sub-line", u"width:0; height:0;"},
    {u"QScrollBar::add-page,QScrollBar::sub-page", u"background:transparent;"},
};

} // namespace

QString applicationStyleSheet()
{
    QString sheet;
    for (const Rule &rule : rules)
        sheet += rule.selector + QStringView(u" { ") + rule.declarations + QStringView(u" }");
    return sheet;
}

void applyApplicationLook()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The common text size as the application font rather than a style rule: the same text,
    // without the sheet resolving a font for each widget as it is polished.
    QFont font = QApplication::font();
    font.setPixelSize(13);
    QApplication::setFont(font);
}

void applyApplicationStyle(QApplication &app)
{
    applyApplicationLook();
    app.setStyleSheet(applicationStyleSheet());
}
