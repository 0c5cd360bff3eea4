#include "logdialog.h"
#include "logsettingskeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>

#include <algorithm>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace LibTarnCommon {

namespace {

// Lines shown per turn of the event loop.
constexpr int FlushBatch = 4000;

// The text of a line that is plain text with HTML escapes (most are).
bool isEscapedText(const QString &html)
{
    return !html.contains(QLatin1Char('<'));
}

QString unescaped(QString text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&#39;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QTextCharFormat lineFormat(const QColor &colour)
{
    QTextCharFormat format;
    format.setFontFamily(QStringLiteral("monospace"));
    format.setFontFixedPitch(true);
    format.setForeground(colour);
    return format;
}

} // namespace

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
    m_flushTimer = new QTimer(this);
    m_flushTimer->setSingleShot(true);
    m_flushTimer->setInterval(0);
    connect(m_flushTimer, &QTimer::timeout, this, [this] { flushPending(FlushBatch); });

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
    connect(m_clearButton, &QPushButton::clicked, this, &LogDialog::clear);
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
    settings.beginGroup(LogSettingsKey::layoutGroup);
    settings.beginGroup(layoutKey());
    if (settings.contains(LogSettingsKey::size)) {
        move(settings.value(LogSettingsKey::position).toPoint());
        resize(settings.value(LogSettingsKey::size).toSize());
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
    flushPending();
    return m_browser->toPlainText();
}


QString LogDialog::styleOf(Kind kind) const
{
    switch (kind) {
    case Kind::Error: return m_errorStyle;
    case Kind::Warning: return m_warningStyle;
    case Kind::Notice: break;
    }
    return m_noticeStyle;
}

void LogDialog::append(Kind kind, const QString &message)
{
    m_pending.append(Line{kind, message});
    if (!m_flushTimer->isActive())
        m_flushTimer->start();
}

void LogDialog::flushPending(int limit) const
{
    if (m_pending.isEmpty())
        return;
    static const QTextCharFormat formats[] = {lineFormat(Qt::red), lineFormat(Qt::black),
                                              lineFormat(QColor(255, 165, 0))};
    QScrollBar *scroll = m_browser->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    QTextDocument *document = m_browser->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    const int count = limit < 0 ? m_pending.size() : std::min(limit, m_pending.size());
    // One edit block: the document is laid out once for the whole batch.
    cursor.beginEditBlock();
    bool first = document->isEmpty();
    for (int i = 0; i < count; ++i) {
        const Line &line = m_pending.at(i);
        if (!first)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        first = false;
        // Plain lines skip the HTML parser, which costs far more than the text.
        if (isEscapedText(line.html))
            cursor.insertText(unescaped(line.html), formats[int(line.kind)]);
        else
            cursor.insertHtml(QStringLiteral("<span style='") + styleOf(line.kind) + QStringLiteral("'>") + line.html
                              + QStringLiteral("</span>"));
    }
    cursor.endEditBlock();
    m_pending.erase(m_pending.begin(), m_pending.begin() + count);
    if (atEnd)
        scroll->setValue(scroll->maximum());
    if (!m_pending.isEmpty())
        m_flushTimer->start();
}

void LogDialog::addError(const QString &message)
{
    append(Kind::Error, message);
}

void LogDialog::addNotice(const QString &message)
{
    append(Kind::Notice, message);
}

void LogDialog::addWarning(const QString &message)
{
    append(Kind::Warning, message);
}

void LogDialog::clear()
{
    m_pending.clear();
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
    settings.beginGroup(LogSettingsKey::layoutGroup);
    settings.beginGroup(layoutKey());
    settings.setValue(LogSettingsKey::position, pos());
    settings.setValue(LogSettingsKey::size, size());
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
