#include "loglines.h"

#include <QTextDocumentFragment>
#include <QTimer>

namespace LibTarnCommon {

namespace {

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

} // namespace

LogLines::LogLines(QObject *parent)
    : QAbstractListModel(parent)
{
}

QColor LogLines::colour(Level level)
{
    switch (level) {
    case Level::Error: return QColor(Qt::red);
    case Level::Warning: return QColor(255, 165, 0); // orange
    case Level::Notice: break;
    }
    return QColor(Qt::black);
}

QString LogLines::style(Level level)
{
    const char *colourName = level == Level::Error ? "red" : level == Level::Warning ? "orange" : "black";
    return QStringLiteral("font-family:monospace,courier new,courier; white-space:pre; color:%1;")
        .arg(QLatin1String(colourName));
}

void LogLines::append(Level level, const QString &message)
{
    Line line;
    line.level = level;
    line.rich = message.contains(QLatin1Char('<'));
    line.text = line.rich ? message : unescaped(message);
    m_queued.append(line);
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        QTimer::singleShot(0, this, &LogLines::flush);
    }
}

void LogLines::flush()
{
    m_flushScheduled = false;
    if (m_queued.isEmpty())
        return;
    for (const Line &line : qAsConst(m_queued)) {
        if (!line.rich)
            m_widest = std::max(m_widest, line.text.size());
    }
    beginInsertRows(QModelIndex(), m_lines.size(), m_lines.size() + m_queued.size() - 1);
    m_lines += m_queued;
    m_queued.clear();
    endInsertRows();
    emit flushed();
}

void LogLines::clear()
{
    beginResetModel();
    m_lines.clear();
    m_queued.clear();
    m_widest = 0;
    endResetModel();
}

QString LogLines::plainTextOf(const Line &line) const
{
    return line.rich ? QTextDocumentFragment::fromHtml(line.text).toPlainText() : line.text;
}

QString LogLines::plainText()
{
    flush();
    QStringList texts;
    texts.reserve(m_lines.size());
    for (const Line &line : qAsConst(m_lines))
        texts << plainTextOf(line);
    return texts.join(QLatin1Char('\n'));
}

int LogLines::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_lines.size();
}

QVariant LogLines::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return QVariant();
    const Line &line = m_lines.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return plainTextOf(line);
    case Qt::ForegroundRole:
        return colour(line.level);
    case RichTextRole:
        return line.rich ? QStringLiteral("<span style='") + style(line.level) + QStringLiteral("'>") + line.text
                               + QStringLiteral("</span>")
                         : QString();
    default:
        return QVariant();
    }
}

} // namespace LibTarnCommon
