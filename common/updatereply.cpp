#include "updatereply.h"

#include <cstring>

namespace Common {

namespace {

const char *const tagNames[updateTagCount] = {"UPDATE",  "FILEBIN", "URLBIN",    "FILESRC", "URLSRC",
                                              "VERSION", "CHANGELOG", "RESPONSE", "BUILD"};

// The longest tag, "</CHANGELOG>", less one: a tag cut by the end of the
// bytes scanned so far starts within this many bytes of that end.
constexpr int scanOverlap = 11;

// The tag named at name (up to and including its '>'), or -1.
int tagAt(const char *name, const char *end)
{
    for (int tag = 0; tag < updateTagCount; ++tag) {
        const std::size_t length = std::strlen(tagNames[tag]);
        if (std::size_t(end - name) > length && std::memcmp(name, tagNames[tag], length) == 0 && name[length] == '>')
            return tag;
    }
    return -1;
}

} // namespace

void UpdateReplyParser::append(const QByteArray &chunk)
{
    if (chunk.isEmpty())
        return;
    const int scanned = m_received.size();
    m_received.append(chunk);
    scanFrom(qMax(0, scanned - scanOverlap));
}

void UpdateReplyParser::scanFrom(int from)
{
    const char *const begin = m_received.constData();
    const char *const end = begin + m_received.size();
    const char *at = begin + from;
    while (at < end) {
        at = static_cast<const char *>(std::memchr(at, '<', std::size_t(end - at)));
        if (!at)
            break;
        const bool closing = at + 1 < end && at[1] == '/';
        const int tag = tagAt(at + (closing ? 2 : 1), end);
        if (tag >= 0) {
            Marks &marks = m_marks[std::size_t(tag)];
            const int offset = int(at - begin);
            if (closing)
                marks.lastClose = qMax(marks.lastClose, offset);
            else if (marks.firstOpen < 0)
                marks.firstOpen = offset;
        }
        ++at;
    }
}

void UpdateReplyParser::clear()
{
    m_received.clear();
    m_marks = {};
    m_valuesDropped = false;
}

void UpdateReplyParser::dropValues()
{
    m_valuesDropped = true;
}

QString UpdateReplyParser::value(UpdateTag tag) const
{
    if (m_valuesDropped)
        return QString();
    const auto index = std::size_t(tag);
    const Marks &marks = m_marks[index];
    if (marks.firstOpen < 0)
        return QString();
    const int start = marks.firstOpen + int(std::strlen(tagNames[index])) + 2;
    if (marks.lastClose < start)
        return QString();
    // A value is part of a longer text: a leading U+FEFF is a character of
    // it, not a byte-order mark for fromUtf8 to drop.
    const char *const bytes = m_received.constData() + start;
    const int length = marks.lastClose - start;
    const bool leadingFeff = length >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
    const QString text = QString::fromUtf8(bytes, length);
    return (leadingFeff ? QChar(0xFEFF) + text : text).trimmed();
}

} // namespace Common
