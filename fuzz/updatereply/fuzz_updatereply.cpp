// Feeds arbitrary bytes to the update-reply parser in chunks cut at arbitrary
// points. Every split must give the values of the reply parsed at once, and,
// for valid UTF-8, those of the greedy pattern "<TAG>(.*)</TAG>" run over
// the decoded text.
//
// Input: one byte n (number of cuts, n % 8), n little-endian 16-bit cut
// positions, then the reply.

#include "updatereply.h"

#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

const char *const names[Common::updateTagCount] = {"UPDATE",  "FILEBIN",   "URLBIN",   "FILESRC", "URLSRC",
                                                   "VERSION", "CHANGELOG", "RESPONSE", "BUILD"};

bool isValidUtf8(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

QString patternValue(const QString &text, int tag)
{
    const QString name = QLatin1String(names[tag]);
    const QRegularExpression pattern(QStringLiteral("<%1>(.*)</%1>").arg(name),
                                     QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > (1 << 16))
        return 0;
    const std::size_t cutCount = data[0] % 8;
    if (size < 1 + 2 * cutCount)
        return 0;
    const QByteArray reply(reinterpret_cast<const char *>(data + 1 + 2 * cutCount),
                           int(size - 1 - 2 * cutCount));
    std::vector<int> cuts;
    for (std::size_t i = 0; i < cutCount; ++i)
        cuts.push_back(int((data[1 + 2 * i] | (data[2 + 2 * i] << 8)) % (reply.size() + 1)));
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(reply.size());

    Common::UpdateReplyParser whole;
    whole.append(reply);
    Common::UpdateReplyParser chunked;
    int from = 0;
    for (int cut : cuts) {
        chunked.append(reply.mid(from, cut - from));
        from = cut;
    }
    if (chunked.received() != reply)
        __builtin_trap();

    const bool comparable = isValidUtf8(reply) && !reply.contains('\0');
    const QString text = QString::fromUtf8(reply);
    for (int tag = 0; tag < Common::updateTagCount; ++tag) {
        const QString value = chunked.value(Common::UpdateTag(tag));
        if (value != whole.value(Common::UpdateTag(tag)))
            __builtin_trap();
        if (comparable && value != patternValue(text, tag))
            __builtin_trap();
    }
    return 0;
}
