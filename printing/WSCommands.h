#pragma once

#include <QByteArray>

// The fixed printer commands that the notice layouts write between encoder blocks.
namespace WSCommands {

inline QByteArray pageMode() {
    return QByteArray("\x1b\x4c", 2);
} // ESC L
inline QByteArray printPage() {
    return QByteArray("\x1b\x0c", 2);
} // ESC FF
inline QByteArray standardMode() {
    return QByteArray("\x1b\x53", 2);
} // ESC S

// GS L: left margin in printer motion units (dots), low byte first.
inline QByteArray leftMargin(int units) {
    QByteArray b("\x1d\x4c", 2);
    b.append(char(units & 0xff));
    b.append(char((units >> 8) & 0xff));
    return b;
}

// GS !: character size; 1 is double height, 0 normal.
inline QByteArray characterSize(int n) {
    QByteArray b("\x1d\x21", 2);
    b.append(char(n & 0xff));
    return b;
}

} // namespace WSCommands
