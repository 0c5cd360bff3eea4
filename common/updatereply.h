#pragma once
// The reply of the update server, read as it arrives. QtCore only, so that
// its fuzz target links nothing else.

#include <QByteArray>
#include <QString>

#include <array>

namespace Common {

// The tags of an update reply, in the order they are searched.
enum class UpdateTag { Update, FileBin, UrlBin, FileSrc, UrlSrc, Version, Changelog, Response, Build };
constexpr int updateTagCount = 9;

// Accumulates the reply and finds each tag's value: the text from the end of
// the first "<TAG>" to the start of the last "</TAG>" after it, trimmed (the
// greedy "<TAG>(.*)</TAG>" over the whole reply), empty when there is none.
//
// Each chunk is scanned once, with a few bytes of overlap for tags cut at a
// chunk boundary, so a reply costs time linear in its size however it is
// split. Tags are ASCII, so they are found in the raw bytes; only a value is
// decoded, as UTF-8, when it is asked for.
class UpdateReplyParser
{
public:
    void append(const QByteArray &chunk);
    void clear();
    // Forgets the tags but keeps the bytes: for replies that ended in an
    // error, whose text is not an answer.
    void dropValues();

    const QByteArray &received() const { return m_received; }
    QString value(UpdateTag tag) const;

private:
    struct Marks
    {
        int firstOpen = -1; // offset of the first "<TAG>"
        int lastClose = -1; // offset of the last "</TAG>"
    };

    void scanFrom(int from);

    QByteArray m_received;
    std::array<Marks, updateTagCount> m_marks{};
    bool m_valuesDropped = false;
};

} // namespace Common
