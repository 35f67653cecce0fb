#pragma once

#include <QHash>
#include <QObject>

namespace sortilo {

// A key held down repeats, but a press of a key that runs the draw or a window (the clicker's
// PageDown/PageUp, Return, Space, F11, Esc) counts once however long it is held. On X11 a held
// key arrives as a release and a press for every repeat, and Qt's repeat flag misses some under
// load; so a press is judged by the events' own time stamps: a repeat's release and press carry
// the same stamp, while a person's next press comes well after the release. Installed on the
// application, it judges every key of every window of the program, so a held key that closed a
// message never goes on into the window behind it.
class HeldKeyFilter : public QObject {
public:
    using QObject::QObject;

    // A press of `key` at `timestamp` (ms; 0: unknown) repeats the one held down.
    bool isRepeat(int key, ulong timestamp, bool flaggedRepeat) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<int, ulong> lastRelease_;  // per key, the time stamp of its last release
};

}  // namespace sortilo
