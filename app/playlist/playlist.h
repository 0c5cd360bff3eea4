#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The current playlist: items numbered from 1 in the order they were added,
// each a location text ("file:///..." for local files, any other URL as
// given), and a cursor. The playlist is either empty, or of one kind (audio or
// video). A plain value; the window keeps one.
//
// The cursor names the current item (the one playing, or last played); the
// next item is the first one numbered above it. Before the first step there
// is no current item and the next item is item 1.
class Playlist
{
public:
    enum class Kind { None, Audio, Video };

    // None while there are no items.
    Kind kind() const { return items.isEmpty() ? Kind::None : listKind; }
    bool isEmpty() const { return items.isEmpty(); }
    int size() const { return items.size(); }
    const QMap<int, QString> &entries() const { return items; }
    QStringList locations() const { return items.values(); }
    QString location(int number) const { return items.value(number); }

    // Forgets every item and the cursor; the kind becomes None.
    void clear();
    // Starts a new, empty playlist of that kind; the items appended next are
    // numbered from 1 and the cursor stands before item 1.
    void create(Kind kind);
    // Adds the locations after the highest number; returns the numbers given.
    // The cursor keeps its current item.
    QList<int> append(const QStringList &locations);

    // Number of the current item, 0 before the first step.
    int current() const { return currentNumber; }
    bool hasNext() const;
    bool hasPrevious() const;
    // Moves to the next (previous) item and returns its number, 0 when there
    // is none (the cursor then stays).
    int next();
    int previous();
    // Makes item number the current one; false (nothing changes) when there
    // is no such item.
    bool setCurrent(int number);

private:
    Kind listKind = Kind::None;
    QMap<int, QString> items;
    int currentNumber = 0;
};
