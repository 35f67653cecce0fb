#include "app/HeldKeys.h"

#include <QKeyEvent>

namespace sortilo {

namespace {

// Sooner than a person presses a key again after letting it go.
constexpr ulong RepeatGapMs = 80;

bool countsOnce(int key) {
    switch (key) {
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_F11:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool HeldKeyFilter::isRepeat(int key, ulong timestamp, bool flaggedRepeat) const {
    if (flaggedRepeat) {
        return true;
    }
    const auto release = lastRelease_.constFind(key);
    return timestamp != 0 && release != lastRelease_.constEnd() && timestamp >= *release &&
           timestamp - *release < RepeatGapMs;
}

// Keys reach a window first and its widgets after: judged there once, before any widget.
bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWindowType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyRelease) {
        lastRelease_.insert(key->key(), key->timestamp());
        return false;
    }
    return countsOnce(key->key()) && isRepeat(key->key(), key->timestamp(), key->isAutoRepeat());
}

}  // namespace sortilo
