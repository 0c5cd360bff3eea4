#pragma once
// Text from outside (the update server) placed into rich-text labels.

#include <QString>

namespace Common {

// HTML-escaped, quotes included, so the result may also stand inside a
// single- or double-quoted attribute.
QString escapeHtml(const QString &text);

// At most maxChars characters of text, a longer one cut and ended with an
// ellipsis: text widgets lay out a long line in time that grows with the
// square of its length.
QString boundedText(const QString &text, int maxChars);

// Whether text is an absolute http or https address.
bool isWebAddress(const QString &text);

// "<a href='address'>text</a>" with both parts escaped; empty when address is
// not an http or https address, so that no other scheme becomes clickable.
QString linkLabelText(const QString &address, const QString &text);

} // namespace Common
