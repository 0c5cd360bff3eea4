#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QString>
#include <QVector>

namespace LibTarnCommon {

// The lines of the log window as a list model, one row per message. A
// message without markup (no '<') is kept as plain text, its HTML escapes
// resolved, and shown as it is; any other message is HTML, shown rich and
// kept as given. Appending costs a row, not a layout: a burst of many
// thousands of lines stays cheap. GUI thread only.
//
// Roles: Qt::DisplayRole the line's plain text, Qt::ForegroundRole its
// level's colour, RichTextRole the whole HTML of a rich line (the message in
// a span of its level's style), empty for a plain line.
class LogLines : public QAbstractListModel
{
    Q_OBJECT

public:
    enum class Level { Error, Notice, Warning };
    static constexpr int RichTextRole = Qt::UserRole + 1;

    explicit LogLines(QObject *parent = nullptr);

    // The colour and the style of a level's lines.
    static QColor colour(Level level);
    static QString style(Level level);

    // Queues a line; the queued lines become rows together, from the event
    // loop (or at the next call that reads the rows).
    void append(Level level, const QString &message);
    // Rows for every queued line, at once.
    void flush();
    void clear();
    // Every line's plain text, one per line.
    QString plainText();
    // Characters in the longest plain line so far.
    int widestLine() const { return m_widest; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // Rows were added from queued lines.
    void flushed();

private:
    struct Line
    {
        Level level = Level::Notice;
        bool rich = false;
        QString text; // plain text, or the message's HTML
    };
    QString plainTextOf(const Line &line) const;

    QVector<Line> m_lines;
    QVector<Line> m_queued;
    bool m_flushScheduled = false;
    int m_widest = 0;
};

} // namespace LibTarnCommon
