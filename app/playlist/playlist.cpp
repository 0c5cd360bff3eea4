#include "playlist.h"

void Playlist::clear()
{
    listKind = Kind::None;
    items.clear();
    currentNumber = 0;
}

void Playlist::create(Kind kind)
{
    clear();
    listKind = kind;
}

QList<int> Playlist::append(const QStringList &locations)
{
    QList<int> numbers;
    int number = items.isEmpty() ? 0 : items.lastKey();
    for (const QString &location : locations) {
        items.insert(++number, location);
        numbers.append(number);
    }
    return numbers;
}

bool Playlist::hasNext() const
{
    return items.upperBound(currentNumber) != items.cend();
}

bool Playlist::hasPrevious() const
{
    return items.lowerBound(currentNumber) != items.cbegin();
}

int Playlist::next()
{
    const auto it = items.upperBound(currentNumber);
    if (it == items.cend())
        return 0;
    currentNumber = it.key();
    return currentNumber;
}

int Playlist::previous()
{
    auto it = items.lowerBound(currentNumber);
    if (it == items.cbegin())
        return 0;
    --it;
    currentNumber = it.key();
    return currentNumber;
}

bool Playlist::setCurrent(int number)
{
    if (!items.contains(number))
        return false;
    currentNumber = number;
    return true;
}
