#pragma once

#include <QString>

#include <optional>
#include <sys/types.h>

// The folder that holds the channel's socket and lock. It must be one no other user can write:
// whoever can create files there can listen in the user's place and receive the user's memo lines.
namespace instance {

// The user id the channel counts as its own (the real uid). Tests pretend to be another user to
// see their own files and peers as foreign; nullopt goes back to the real one.
uid_t ownUserId();
void setOwnUserIdForTesting(std::optional<uid_t> uid);

// A folder (not a symbolic link) owned by the user, with no access for group or others.
bool isPrivateFolder(const QString& path);

// `xdgRuntimeDir` when it is private; else `<tempBase>/runtime-<user>` when it is the user's (made
// with mode 0700 when missing); else a folder of our own `<tempBase>/runtime-<user>-XXXXXX`, made
// with mkdtemp and found again by later starts through its prefix, owner and mode. Empty when none
// can be had: the program then runs without the channel.
QString chooseRuntimeFolder(const QString& xdgRuntimeDir, const QString& tempBase,
                            const QString& user);

} // namespace instance
