#include "logdialog.h"
#include "logsettingskeys.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace LibTarnCommon {

namespace {

// The lines' font: the view's, in the monospace family the lines' style asks for.
QFont lineFont(QFont font)
{
    font.setFamily(QStringLiteral("monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// A rich line laid out as the view shows it, at its row's top left.
void layOutRichLine(QTextDocument &document, const QString &html, const QFont &font)
{
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setHtml(html);
}

// Draws the log's rows: plain ones as the standard delegate does, in their
// colour, rich ones through a text document. Every row has the height of a
// line and the width of the longest line, so that the view scrolls
// sideways instead of eliding.
class LineDelegate : public QStyledItemDelegate
{
public:
    LineDelegate(const LogLines *lines, QObject *parent)
        : QStyledItemDelegate(parent)
        , lines(lines)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem line = option;
        line.font = lineFont(option.font);
        const QString html = index.data(LogLines::RichTextRole).toString();
        if (html.isEmpty()) {
            QStyledItemDelegate::paint(painter, line, index);
            return;
        }
        QStyleOptionViewItem plain = line;
        initStyleOption(&plain, index);
        plain.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
        QTextDocument document;
        layOutRichLine(document, html, line.font);
        painter->save();
        painter->translate(option.rect.topLeft() + QPoint(textMargin(widget), 0));
        document.drawContents(painter, QRectF(QPointF(0, 0), option.rect.size()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        const QFontMetrics metrics(lineFont(option.font));
        const int width = metrics.horizontalAdvance(QLatin1Char('M')) * (lines->widestLine() + 1);
        return QSize(width + 2 * textMargin(option.widget), metrics.lineSpacing());
    }

    // Where a rich line's text starts within its row, as the style draws
    // plain ones.
    static int textMargin(const QWidget *widget)
    {
        QStyle *style = widget ? widget->style() : QApplication::style();
        return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    }

private:
    const LogLines *lines;
};

} // namespace

LogDialog::LogDialog(const QString &title, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_title(title.isEmpty() ? tr("Log") : title)
{
    setWindowTitle(m_title);
    if (flags == Qt::WindowFlags())
        setWindowFlags(Qt::Tool);

    m_lines = new LogLines(this);
    m_view = new QListView(this);
    QFont font = m_view->font();
    font.setFixedPitch(true);
    m_view->setFont(font);
    m_view->setModel(m_lines);
    m_view->setItemDelegate(new LineDelegate(m_lines, m_view));
    m_view->setUniformItemSizes(true);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideNone);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Clicks on links; the copy key (the view alone would copy only its current row).
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);

    m_clearButton = new QPushButton(tr("Clear"), this);
    m_clearButton->setToolTip(tr("Clear all log messages"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_clearButton);
    buttons->addStretch(4);
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    // Clear button -> this; Close button -> this; new rows -> view
    connect(m_clearButton, &QPushButton::clicked, this, &LogDialog::clear);
    connect(m_closeButton, &QPushButton::clicked, this, &LogDialog::close);
    connect(m_lines, &LogLines::flushed, this, &LogDialog::showNewLines);
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
    return m_lines->plainText();
}

void LogDialog::showNewLines()
{
    QScrollBar *scroll = m_view->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    // The rows' common width follows the longest line.
    m_view->doItemsLayout();
    if (atEnd)
        m_view->scrollToBottom();
}

void LogDialog::copySelection()
{
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList texts;
    for (const QModelIndex &row : qAsConst(rows))
        texts << row.data().toString();
    if (!texts.isEmpty())
        QGuiApplication::clipboard()->setText(texts.join(QLatin1Char('\n')));
}

bool LogDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex index = m_view->indexAt(mouse->pos());
        const QString html = index.data(LogLines::RichTextRole).toString();
        if (mouse->button() == Qt::LeftButton && !html.isEmpty()) {
            QTextDocument document;
            layOutRichLine(document, html, lineFont(m_view->font()));
            const QRect row = m_view->visualRect(index);
            const QPoint at = mouse->pos() - row.topLeft() - QPoint(LineDelegate::textMargin(m_view), 0);
            const QString anchor = document.documentLayout()->anchorAt(at);
            if (!anchor.isEmpty())
                handleAnchorClicked(QUrl(anchor));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LogDialog::addError(const QString &message)
{
    m_lines->append(LogLines::Level::Error, message);
}

void LogDialog::addNotice(const QString &message)
{
    m_lines->append(LogLines::Level::Notice, message);
}

void LogDialog::addWarning(const QString &message)
{
    m_lines->append(LogLines::Level::Warning, message);
}

void LogDialog::clear()
{
    m_lines->clear();
}

void LogDialog::restoreWindow()
{
    const QFontMetrics metrics(m_view->font());
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
