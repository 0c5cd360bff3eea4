#include "logdialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace LibTarnCommon {

LogDialog::LogDialog(const QString &title, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_title(title.isEmpty() ? tr("Log") : title)
{
    setWindowTitle(m_title);
    if (flags == Qt::WindowFlags())
        setWindowFlags(Qt::Tool);

    m_browser = new QTextBrowser(this);
    m_browser->setLineWrapMode(QTextEdit::NoWrap);
    m_browser->setReadOnly(true);
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    QFont font = m_browser->font();
    font.setFixedPitch(true);
    m_browser->setFont(font);

    m_clearButton = new QPushButton(tr("Clear"), this);
    m_clearButton->setToolTip(tr("Clear all log messages"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_clearButton);
    buttons->addStretch(4);
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addLayout(buttons);

    // Clear button -> browser; Close button -> this; browser links -> this
    connect(m_clearButton, &QPushButton::clicked, m_browser, &QTextBrowser::clear);
    connect(m_closeButton, &QPushButton::clicked, this, &LogDialog::close);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &LogDialog::handleAnchorClicked);
    // screens added, removed or resized -> default geometry
    auto watchScreen = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &LogDialog::restoreWindow);
    };
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        watchScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watchScreen](QScreen *screen) {
        watchScreen(screen);
        restoreWindow();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &LogDialog::restoreWindow);

    QSettings settings;
    settings.beginGroup(QStringLiteral("Layout"));
    settings.beginGroup(layoutKey());
    if (settings.contains(QStringLiteral("size"))) {
        move(settings.value(QStringLiteral("position")).toPoint());
        resize(settings.value(QStringLiteral("size")).toSize());
    } else {
        restoreWindow();
    }
}

QString LogDialog::layoutKey() const
{
    QString key = m_title;
    return key.replace(QLatin1Char('/'), QLatin1Char('-'));
}

void LogDialog::attachSender(QObject *sender)
{
    connect(sender, SIGNAL(messageError(QString)), this, SLOT(addError(QString)));
    connect(sender, SIGNAL(messageNotice(QString)), this, SLOT(addNotice(QString)));
    connect(sender, SIGNAL(messageWarning(QString)), this, SLOT(addWarning(QString)));
}

QString LogDialog::plainText() const
{
    return m_browser->toPlainText();
}

void LogDialog::append(const QString &style, const QString &message)
{
    m_browser->append(QStringLiteral("<span style='") + style + QStringLiteral("'>") + message + QStringLiteral("</span>"));
}

void LogDialog::addError(const QString &message)
{
    append(m_errorStyle, message);
}

void LogDialog::addNotice(const QString &message)
{
    append(m_noticeStyle, message);
}

void LogDialog::addWarning(const QString &message)
{
    append(m_warningStyle, message);
}

void LogDialog::clear()
{
    m_browser->clear();
}

void LogDialog::restoreWindow()
{
    const QFontMetrics metrics(m_browser->font());
    setMinimumWidth(80 * metrics.averageCharWidth());
    resize(60 * metrics.averageCharWidth(), 33 * metrics.lineSpacing());
    move(0, 0);
}

void LogDialog::handleAnchorClicked(const QUrl &url)
{
    emit gotoUrl(url.toString());
}

void LogDialog::layoutSaveSettings()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("Layout"));
    settings.beginGroup(layoutKey());
    settings.setValue(QStringLiteral("position"), pos());
    settings.setValue(QStringLiteral("size"), size());
}

void LogDialog::moveEvent(QMoveEvent *event)
{
    event->accept();
    QTimer::singleShot(0, this, &LogDialog::layoutSaveSettings);
}

void LogDialog::resizeEvent(QResizeEvent *event)
{
    event->accept();
    QTimer::singleShot(0, this, &LogDialog::layoutSaveSettings);
}

void LogDialog::closeEvent(QCloseEvent *event)
{
    emit aboutToClose();
    event->accept();
}

} // namespace LibTarnCommon
