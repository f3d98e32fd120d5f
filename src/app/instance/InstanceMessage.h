#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The texts that travel between a later start and the running instance, and their framing on the
// local socket. Qt Core only, so the console companion can speak it too.
namespace instance {

// The request to show the window: "PREVINSTANCE:" and the sender's window id in upper-case hex
// without leading zeros; then, when the sender was started with a Wayland activation token, a
// line feed and the token, which the receiver spends to get the focus. An invalid token is left
// out.
QString prevInstanceMessage(quint32 windowId, const QString& activationToken = QString());

// The receiver's rule for a show request. Returns nothing when the text does not start with
// "PREVINSTANCE:" (case-sensitive): such a text is dropped. Otherwise the rest converted as a
// 32-bit hexadecimal number; a rest that does not convert gives 0.
std::optional<qint32> parsePrevInstanceMessage(const QString& text);
// The activation token of a show request; "" when it has none, or one that is not a valid token
// (too long, spaces, control characters), which is dropped without harm.
QString activationTokenOf(const QString& text);

// A memo line handed over by scrivlet-cli, with the memo file the sender would have written to.
// A sender that asks again after a lost reply sends the same request id, so that the receiver can
// tell the repeat from a new line (empty: no id, every request is new).
// `memoTitle` names the memo the line is for; "" (or left out) for the current one.
struct MemoLineMessage {
    QString memoFile;
    QString line;
    QString requestId;
    QString memoTitle;
};
// A fresh request id, unique across processes.
QString newRequestId();
QString memoLineMessage(const MemoLineMessage& message);
std::optional<MemoLineMessage> parseMemoLineMessage(const QString& text);

// Replies of the receiver.
inline constexpr QLatin1StringView kReplyDone{"OK"};
inline constexpr QLatin1StringView kReplyOtherMemoFile{"OTHER"}; // memo line not taken: not my file
inline constexpr QLatin1StringView kReplyRefused{"REFUSED"};     // memo line not taken: no taker
inline constexpr QLatin1StringView kReplyPending{"PENDING"}; // the same request is being filed now
// The window holds the memo file but could not file the line; the reason follows the prefix.
inline constexpr QLatin1StringView kReplyFailedPrefix{"FAILED:"};

// Frames: a 32-bit big-endian byte count, then the text in UTF-8. Larger frames are refused so a
// stray client cannot make the receiver buffer without end.
inline constexpr qsizetype kMaxFrameBytes = 1 << 20;
QByteArray encodeFrame(const QString& text);

// Takes one complete frame off the front of `buffer`. Returns nothing while the frame is
// incomplete; sets `broken` when the length is out of range (the connection should be dropped).
std::optional<QString> takeFrame(QByteArray& buffer, bool& broken);

} // namespace instance
